#pragma once

#include "core/app/TextId.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lcdiag {

// Passwords are kept as slow salted hashes (argon2id, in the PHC string form
// "$argon2id$v=19$m=...,t=...,p=1$salt$hash"): the preferences and the program hold nothing
// from which a password can be read back. The hashing itself is outside the core.
class PasswordHasher {
public:
    virtual ~PasswordHasher() = default;
    // A fresh salted hash of the UTF-8 text; empty when it could not be made.
    virtual std::string Hash(std::string_view text) const = 0;
    // Whether the text is the one `stored` is a hash of; false for anything else stored.
    virtual bool Verify(std::string_view text, std::string_view stored) const = 0;
};

// The bit-plane transposition under which earlier versions stored the user's password: bit p
// of character i (low 8 bits of each UTF-16 unit) becomes output bit p x n + i, and the
// output bytes are written as upper-case hexadecimal. It is reversible: a stored value of
// this form is accepted once and then replaced by the password's hash.
std::string ScramblePassword(std::u16string_view password);

// The fixed codes, held only as hashes: the user settings password while none is stored
// (named in the user documentation), the service code accepted wherever the user password
// is, and the factory code of the manufacturer build (both in the maintainers' document).
inline constexpr std::string_view DefaultUserPasswordHash =
    "$argon2id$v=19$m=65536,t=2,p=1$42I0GylhPXZ2qFFdiBCNNw$"
    "c4jyBtEwTCnRQGlX1K+Oihnk6V+aJaeyUPvAhd0YoZk";
struct BuiltInCodes {
    std::string_view serviceCode;
    std::string_view factoryCode;
};
inline constexpr BuiltInCodes BuiltInCodeHashes = {
    "$argon2id$v=19$m=65536,t=2,p=1$DQ22dUzB2cTJ3lXTZVJ3aw$"
    "GLcPowDVW8s2IPsCIIYU3QaRb6dp9NgD5XhIdtR3TLw",
    "$argon2id$v=19$m=65536,t=2,p=1$iJx/2V/Q0dErP+nVwrS5Uw$"
    "1XxM4Z5pF2LMVWpeBogx77D7ZdqQ+0PC/RWnsAqj9WY",
};

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
    std::uint32_t message = 0; // the message to show first (a message code), 0 for none
    // Mode 1: the new password's hash for the preferences; if it cannot be stored, nothing
    // changes and the entry is refused.
    std::string storePassword;
    // The entry's hash to replace a stored password of the old scrambled form; if it cannot
    // be stored, the old form stays valid.
    std::string rehashedPassword;
};

// The message when a new password cannot be hashed or stored.
inline constexpr TextId PasswordNotStored = 9000;

// Checks an entry against the stored user password: a hash, or the old scrambled form
// (DefaultUserPasswordHash when the preferences hold none).
PasswordVerdict CheckPassword(PasswordMode mode, const PasswordEntry& entry,
                              std::string_view storedPassword, const PasswordHasher& hasher,
                              const BuiltInCodes& codes = BuiltInCodeHashes);

} // namespace lcdiag
