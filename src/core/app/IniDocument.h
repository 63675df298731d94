#pragma once

#include "core/app/Preferences.h"

#include <optional>
#include <string>
#include <string_view>

namespace lcdiag {

// The text of a per-user preference file in INI form, one section per key:
//
//   [HKEY_CURRENT_USER\Software\Kelberg\DVX7]
//   Lang=Deutsch.zna
//   Resolution=2
//
// Section and value names compare without regard to letter case, as registry keys do.
// Blanks around names and values are ignored; a value that needs them, or holds a control
// character or a backslash, is written in double quotes with the escapes of EscapeText.
// Lines starting with "#" or ";" are comments. Every line the program does not change is
// kept as it is.

// The section name of a key: the root's name, a backslash and the sub-key.
std::string IniSectionName(const PreferenceKey& key);

// The value of a name in a section, or nullopt when either is missing.
std::optional<std::string> IniReadValue(std::string_view document, std::string_view section,
                                        std::string_view name);

// The document with the value set, the section and the line added when missing. Nullopt
// when the section or the name cannot be written as a line (line breaks, a "=" or blanks
// at the ends of a name, an empty name).
std::optional<std::string> IniWriteValue(std::string_view document, std::string_view section,
                                         std::string_view name, std::string_view value);

} // namespace lcdiag
