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

const std::string Stored = ScramblePassword(u"secret");

PasswordEntry Only(std::u16string password) {
    return {std::move(password), {}, {}};
}

TEST(CheckPassword, UserPasswordServiceCodeFactoryCodeAndRefusal) {
    auto verdict = CheckPassword(PasswordMode::UserSettings, Only(u"secret"), Stored);
    EXPECT_EQ(verdict.result, 1);
    EXPECT_TRUE(verdict.close);
    EXPECT_EQ(verdict.message, 0U);
    verdict = CheckPassword(PasswordMode::UserSettings, Only(u"Secret"), Stored);
    EXPECT_EQ(verdict.result, 0);
    EXPECT_TRUE(verdict.close); // a wrong password closes the dialog
    EXPECT_EQ(verdict.message, msg::Warning | 153);
    verdict = CheckPassword(PasswordMode::UserSettings, Only(u""), Stored);
    EXPECT_FALSE(verdict.close);
    EXPECT_EQ(verdict.message, msg::Warning | 150);

    const auto result = [](PasswordMode mode, std::u16string password, std::string_view stored) {
        return CheckPassword(mode, Only(std::move(password)), stored).result;
    };
    EXPECT_EQ(result(PasswordMode::UserSettings, u"LCD-service-2026", Stored), 2);
    EXPECT_EQ(result(PasswordMode::UserSettings, u"light-curtain", ScrambledDefaultUserPassword),
              1);
    EXPECT_EQ(result(PasswordMode::Factory, u"LCD-factory-7013", Stored), 1);
    EXPECT_EQ(result(PasswordMode::Factory, u"secret", Stored), 2);
    EXPECT_EQ(result(PasswordMode::Factory, u"LCD-service-2026", Stored), 2);
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
        const auto verdict = CheckPassword(PasswordMode::ChangePassword, c.entry, Stored);
        EXPECT_FALSE(verdict.close) << c.message;
        EXPECT_EQ(verdict.message, msg::Warning | c.message);
        EXPECT_TRUE(verdict.storePassword.empty());
    }
    const auto verdict =
        CheckPassword(PasswordMode::ChangePassword, {u"secret", u"abcd", u"abcd"}, Stored);
    EXPECT_EQ(verdict.result, 1);
    EXPECT_TRUE(verdict.close);
    EXPECT_EQ(verdict.storePassword, ScramblePassword(u"abcd"));
}

} // namespace
} // namespace lcdiag
