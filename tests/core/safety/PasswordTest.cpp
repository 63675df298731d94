#include "core/safety/Password.h"

#include "core/app/Messages.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

TEST(ScramblePassword, TransposesTheBitPlanesOfTheLowBytes) {
    EXPECT_EQ(ScramblePassword(u""), "");
    // "A" = 0x41: planes 0 and 6 set, one character: output bits 0 and 6.
    EXPECT_EQ(ScramblePassword(u"A"), "41");
    // "AB" = 0x41, 0x42: plane 0 gives bit 0 (A), plane 1 bit 3 (B), plane 6 bits 12 and 13.
    EXPECT_EQ(ScramblePassword(u"AB"), "0930");
    // "abcd": plane 0 of 0x61..0x64 is 1, 0, 1, 0 and plane 1 is 0, 1, 1, 0: byte 0 = 0x65.
    EXPECT_EQ(ScramblePassword(u"abcd"), "6508F00F");
    EXPECT_NE(ScramblePassword(u"Secret"), ScramblePassword(u"secret"));
    EXPECT_EQ(ScramblePassword(u"\u0141x"), ScramblePassword(u"Ax")); // 0x141 -> 0x41
    EXPECT_EQ(ScramblePassword(u"\u2041"), ScramblePassword(u"A"));
}

// Cheap and deterministic: a "hash" is the text behind a mark.
class MarkedHasher final : public PasswordHasher {
public:
    std::string Hash(std::string_view text) const override {
        return failing ? std::string() : "#" + std::string(text);
    }
    bool Verify(std::string_view text, std::string_view stored) const override {
        return stored == "#" + std::string(text);
    }
    bool failing = false;
};

const MarkedHasher Hasher;
const BuiltInCodes Codes = {"#service", "#factory"};
const std::string Stored = Hasher.Hash("secret");

PasswordVerdict Check(PasswordMode mode, const PasswordEntry& entry,
                      std::string_view stored = Stored, const PasswordHasher& hasher = Hasher) {
    return CheckPassword(mode, entry, stored, hasher, Codes);
}

PasswordEntry Only(std::u16string password) {
    return {std::move(password), {}, {}};
}

TEST(CheckPassword, UserPasswordServiceCodeFactoryCodeAndRefusal) {
    auto verdict = Check(PasswordMode::UserSettings, Only(u"secret"));
    EXPECT_EQ(verdict.result, 1);
    EXPECT_TRUE(verdict.close);
    EXPECT_EQ(verdict.message, 0U);
    EXPECT_TRUE(verdict.rehashedPassword.empty());
    verdict = Check(PasswordMode::UserSettings, Only(u"Secret"));
    EXPECT_EQ(verdict.result, 0);
    EXPECT_TRUE(verdict.close); // a wrong password closes the dialog
    EXPECT_EQ(verdict.message, msg::Warning | 153);
    verdict = Check(PasswordMode::UserSettings, Only(u""));
    EXPECT_FALSE(verdict.close);
    EXPECT_EQ(verdict.message, msg::Warning | 150);

    const auto result = [](PasswordMode mode, std::u16string password) {
        return Check(mode, Only(std::move(password))).result;
    };
    EXPECT_EQ(result(PasswordMode::UserSettings, u"service"), 2);
    EXPECT_EQ(result(PasswordMode::Factory, u"factory"), 1);
    EXPECT_EQ(result(PasswordMode::Factory, u"secret"), 2);
    EXPECT_EQ(result(PasswordMode::Factory, u"service"), 2);
    EXPECT_EQ(
        Check(PasswordMode::UserSettings, Only(u"\u00e9t\u00e9"), "#\xc3\xa9t\xc3\xa9").result, 1)
        << "the hash is of the UTF-8 text";
}

// A password stored scrambled by an earlier version opens once more and is then replaced by
// its hash; the scramble of another entry is no match.
TEST(CheckPassword, OldScrambledFormIsAcceptedAndRehashed) {
    const std::string old = ScramblePassword(u"secret");
    auto verdict = Check(PasswordMode::UserSettings, Only(u"secret"), old);
    EXPECT_EQ(verdict.result, 1);
    EXPECT_EQ(verdict.message, 0U);
    EXPECT_EQ(verdict.rehashedPassword, "#secret");
    EXPECT_TRUE(verdict.storePassword.empty());
    verdict = Check(PasswordMode::UserSettings, Only(u"Secret"), old);
    EXPECT_EQ(verdict.result, 0);
    EXPECT_TRUE(verdict.rehashedPassword.empty());
    EXPECT_EQ(Check(PasswordMode::UserSettings, Only(u"service"), old).result, 2);
    EXPECT_EQ(Check(PasswordMode::UserSettings, Only(u"secret"), "").result, 0);
    verdict = Check(PasswordMode::ChangePassword, {u"secret", u"abcd", u"abcd"}, old);
    EXPECT_EQ(verdict.result, 1);
    EXPECT_EQ(verdict.storePassword, "#abcd");
}

TEST(CheckPassword, ChangeRefusalsKeepTheDialogOpen) {
    struct Case {
        PasswordEntry entry;
        TextId message;
    };
    const Case cases[] = {
        {{u"wrong", u"abcd", u"abcd"}, 153},  {{u"secret", u"", u""}, 151},
        {{u"secret", u"abc", u"abc"}, 156},   {{u"secret", u"abcd", u""}, 152},
        {{u"secret", u"abcd", u"ABCD"}, 154},
    };
    for (const Case& c : cases) {
        const auto verdict = Check(PasswordMode::ChangePassword, c.entry);
        EXPECT_FALSE(verdict.close) << c.message;
        EXPECT_EQ(verdict.message, msg::Warning | c.message);
        EXPECT_TRUE(verdict.storePassword.empty());
    }
    auto verdict = Check(PasswordMode::ChangePassword, {u"service", u"abcd", u"abcd"});
    EXPECT_EQ(verdict.result, 1);
    EXPECT_TRUE(verdict.close);
    EXPECT_EQ(verdict.storePassword, "#abcd");

    MarkedHasher failing;
    failing.failing = true;
    verdict = Check(PasswordMode::ChangePassword, {u"secret", u"abcd", u"abcd"}, Stored, failing);
    EXPECT_EQ(verdict.result, 0) << "a password that cannot be hashed is no change";
    EXPECT_TRUE(verdict.close);
    EXPECT_EQ(verdict.message, msg::Fault | PasswordNotStored);
}

} // namespace
} // namespace lcdiag
