#include "core/safety/Password.h"

#include "core/app/Messages.h"
#include "core/app/Utf16.h"

#include <cstdint>
#include <vector>

namespace lcdiag {

std::string ScramblePassword(std::u16string_view password) {
    const std::size_t n = password.size();
    std::vector<std::uint8_t> out(n, 0);
    for (std::size_t plane = 0; plane < 8; ++plane) {
        for (std::size_t i = 0; i < n; ++i) {
            if ((password[i] >> plane & 1U) != 0) {
                const std::size_t bit = plane * n + i;
                out[bit / 8] = static_cast<std::uint8_t>(out[bit / 8] | 1U << (bit % 8));
            }
        }
    }
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : out) {
        text += Hex[byte >> 4];
        text += Hex[byte & 0x0F];
    }
    return text;
}

namespace {

constexpr std::size_t ShortestNewPassword = 4;

PasswordVerdict StayOpen(TextId message) {
    return {0, false, msg::Warning | message, {}, {}};
}

// What an entry opens in modes 0 and 1.
struct UserPasswordMatch {
    int result = 0;       // 1 the user password, 2 the service code, 0 neither
    bool oldForm = false; // the stored password is of the old scrambled form
};

UserPasswordMatch MatchUserPassword(std::u16string_view entry, std::string_view storedPassword,
                                    const PasswordHasher& hasher, const BuiltInCodes& codes) {
    const std::string text = Utf16ToUtf8(entry);
    if (hasher.Verify(text, storedPassword)) {
        return {1, false};
    }
    if (ScramblePassword(entry) == storedPassword) {
        return {1, true};
    }
    return {hasher.Verify(text, codes.serviceCode) ? 2 : 0, false};
}

PasswordVerdict CheckNewPassword(const PasswordEntry& entry, const PasswordHasher& hasher) {
    if (entry.newPassword.empty()) {
        return StayOpen(151);
    }
    if (entry.newPassword.size() < ShortestNewPassword) {
        return StayOpen(156);
    }
    if (entry.confirmation.empty()) {
        return StayOpen(152);
    }
    if (entry.newPassword != entry.confirmation) {
        return StayOpen(154);
    }
    const std::string hash = hasher.Hash(Utf16ToUtf8(entry.newPassword));
    if (hash.empty()) {
        return {0, true, msg::Fault | PasswordNotStored, {}, {}};
    }
    return {1, true, 0, hash, {}};
}

} // namespace

PasswordVerdict CheckPassword(PasswordMode mode, const PasswordEntry& entry,
                              std::string_view storedPassword, const PasswordHasher& hasher,
                              const BuiltInCodes& codes) {
    if (entry.password.empty()) {
        return StayOpen(150);
    }
    if (mode == PasswordMode::Factory) {
        const bool factory = hasher.Verify(Utf16ToUtf8(entry.password), codes.factoryCode);
        return {factory ? 1 : 2, true, 0, {}, {}};
    }
    const UserPasswordMatch match =
        MatchUserPassword(entry.password, storedPassword, hasher, codes);
    if (mode == PasswordMode::UserSettings) {
        PasswordVerdict verdict{
            match.result, true, match.result == 0 ? msg::Warning | 153 : 0, {}, {}};
        if (match.oldForm) {
            verdict.rehashedPassword = hasher.Hash(Utf16ToUtf8(entry.password));
        }
        return verdict;
    }
    if (match.result == 0) {
        return StayOpen(153);
    }
    return CheckNewPassword(entry, hasher);
}

} // namespace lcdiag
