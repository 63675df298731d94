#include "core/app/Preferences.h"

#include "core/app/BuiltinTexts.h"

#include <array>
#include <charconv>
#include <utility>

namespace lcdiag {
namespace {

constexpr TextId KeyPathText = 99;

// In the order in which the key path is searched for them.
constexpr std::array<std::pair<RootKey, std::string_view>, 5> RootNames = {{
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER"},
    {RootKey::Users, "HKEY_USERS"},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG"},
}};

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string_view RootKeyName(RootKey root) {
    for (const auto& [key, name] : RootNames) {
        if (key == root) {
            return name;
        }
    }
    return {};
}

PreferenceKey SelectRootKey(std::string_view keyPath) {
    PreferenceKey key;
    std::string_view rest = keyPath;
    for (const auto& [root, name] : RootNames) {
        const auto at = rest.find(name);
        if (at == std::string_view::npos) {
            continue;
        }
        key.root = root;
        rest.remove_prefix(at + name.size());
        rest.remove_prefix(std::min(rest.find_first_not_of('\\'), rest.size()));
    }
    key.subKey = rest;
    return key;
}

std::int32_t RegReadInteger(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                            std::int32_t defaultValue) {
    const auto value = store.ReadValue(SelectRootKey(keyPath), name);
    return value ? ParseInteger(*value).value_or(defaultValue) : defaultValue;
}

std::string RegReadString(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                          std::string_view defaultValue) {
    return store.ReadValue(SelectRootKey(keyPath), name).value_or(std::string(defaultValue));
}

bool RegWriteInteger(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                     std::int32_t value) {
    return store.WriteValue(SelectRootKey(keyPath), name, std::to_string(value));
}

bool RegWriteString(PreferenceStore& store, std::string_view keyPath, std::string_view name,
                    std::string_view value) {
    return store.WriteValue(SelectRootKey(keyPath), name, value);
}

const std::string& PreferenceKeyPath() {
    return BuiltinText(KeyPathText);
}

} // namespace lcdiag
