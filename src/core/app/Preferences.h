#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lcdiag {

// The root keys a preference key path can name; the values are those of the registry.
enum class RootKey : std::uint32_t {
    ClassesRoot = 0x80000000,
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
    Users = 0x80000003,
    CurrentConfig = 0x80000005,
};

// "HKEY_CURRENT_USER" and so on.
std::string_view RootKeyName(RootKey root);

// A key path split into its root and its sub-key.
struct PreferenceKey {
    RootKey root = RootKey::CurrentUser;
    std::string subKey;
};

// The root is HKEY_CURRENT_USER unless the path names another. Each root name is looked for
// anywhere in the path (in the order classes root, local machine, current user, users,
// current config); a name found is cut off with everything before it, and so are the
// backslashes that follow; the last name found decides. What remains is the sub-key.
PreferenceKey SelectRootKey(std::string_view keyPath);

// The preferences seam: a per-user store of named values under keys. Every call opens and
// closes the store itself; nothing is cached. Values are kept as text: an integer as its
// decimal digits.
class PreferenceStore {
public:
    virtual ~PreferenceStore() = default;
    // The value, or nullopt when the key or the value does not exist.
    virtual std::optional<std::string> ReadValue(const PreferenceKey& key,
                                                 std::string_view name) = 0;
    // Creates the key when missing; true when the value was written.
    virtual bool WriteValue(const PreferenceKey& key, std::string_view name,
                            std::string_view value) = 0;
};

// Reading never fails: a missing key or value yields the default. An integer read of a
// value that is not a decimal 32-bit number (a string where an integer was expected) also
// yields the default; a string read of an integer value yields its digits.
std::int32_t RegReadInteger(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                            std::int32_t defaultValue);
std::string RegReadString(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                          std::string_view defaultValue);
// True when written; the callers may ignore a failure.
bool RegWriteInteger(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                     std::int32_t value);
bool RegWriteString(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                    std::string_view value);

// The key path of the program's preferences: built-in text 99, never a language's.
const std::string& PreferenceKeyPath();

// The names and defaults of the program's preferences.
namespace pref {
inline constexpr std::string_view Lang = "Lang";             // string, default ""
inline constexpr std::string_view Resolution = "Resolution"; // integer 0-4, default 0
inline constexpr std::string_view Dimensions = "Dimensions"; // integer 0 or 1, default 0
inline constexpr std::string_view ComPort = "ComPort";       // string, default "USB"
inline constexpr std::string_view Password = "Password";     // string, default by the dialog
inline constexpr std::string_view DefaultComPort = "USB";
} // namespace pref

} // namespace lcdiag
