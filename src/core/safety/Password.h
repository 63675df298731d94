#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lcdiag {

// The bit-plane transposition under which passwords are stored and compared: bit p of
// character i (low 8 bits of each UTF-16 unit) becomes output bit p x n + i, and the output
// bytes are written as upper-case hexadecimal. It hides a password from a casual look at the
// preferences, nothing more: it is reversible.
std::string ScramblePassword(std::u16string_view password);

// The fixed codes, held only scrambled: the user settings password while none is stored
// (named in the user documentation), the service code accepted wherever the user password
// is, and the factory code of the manufacturer build (both in the maintainers' document).
inline constexpr std::string_view ScrambledDefaultUserPassword = "E68C28D6CA150C39FEFFF70700";
inline constexpr std::string_view ScrambledServiceCode = "3A0FD2D2AD8C0909D0F0F8FFF7070000";
inline constexpr std::string_view ScrambledFactoryCode = "6ADD52939D19090D80F6F8FFF7070000";

// What the password dialog asks for: 0 the user settings password, 1 a new user settings
// password, 8 the factory password.
enum class PasswordMode { UserSettings = 0, ChangePassword = 1, Factory = 8 };

struct PasswordEntry {
    std::u16string password;     // the old or only password
    std::u16string newPassword;  // mode 1
    std::u16string confirmation; // mode 1
};

// The dialog's verdict on "OK".
struct PasswordVerdict {
    // 0 refused, 1 the user password (or, in mode 8, the factory code), 2 the service code
    // (in mode 8: any other entry).
    int result = 0;
    bool close = true;         // false: the dialog stays open for a correction
    std::uint32_t message = 0; // the warning to show first (a message code), 0 for none
    std::string storePassword; // mode 1: the scrambled new password for the preferences
};

// Checks an entry against the stored scrambled user password (the scrambled default when
// the preferences hold none).
PasswordVerdict CheckPassword(PasswordMode mode, const PasswordEntry& entry,
                              std::string_view storedPassword);

} // namespace lcdiag
