#include "core/safety/Password.h"

#include "core/app/Messages.h"

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
    return {0, false, msg::Warning | message, {}};
}

// 1 for the user password, 2 for the service code, 0 for anything else.
int UserPasswordResult(std::string_view scrambled, std::string_view storedPassword) {
    if (scrambled == storedPassword) {
        return 1;
    }
    return scrambled == ScrambledServiceCode ? 2 : 0;
}

} // namespace

PasswordVerdict CheckPassword(PasswordMode mode, const PasswordEntry& entry,
                              std::string_view storedPassword) {
    if (entry.password.empty()) {
        return StayOpen(150);
    }
    const std::string scrambled = ScramblePassword(entry.password);
    if (mode == PasswordMode::Factory) {
        return {scrambled == ScrambledFactoryCode ? 1 : 2, true, 0, {}};
    }
    const int result = UserPasswordResult(scrambled, storedPassword);
    if (mode == PasswordMode::UserSettings) {
        return {result, true, result == 0 ? msg::Warning | 153 : 0, {}};
    }
    if (result == 0) {
        return StayOpen(153);
    }
    if (entry.newPassword.empty()) {
        return StayOpen(151);
    }
    if (entry.newPassword.size() < ShortestNewPassword) {
        return StayOpen(156);
    }
    if (entry.confirmation.empty()) {
        return StayOpen(152);
    }
    const std::string scrambledNew = ScramblePassword(entry.newPassword);
    if (scrambledNew != ScramblePassword(entry.confirmation)) {
        return StayOpen(154);
    }
    return {1, true, 0, scrambledNew};
}

} // namespace lcdiag
