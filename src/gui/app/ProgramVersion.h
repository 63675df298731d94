#pragma once

#include "core/app/Version.h"

#include <string>
#include <string_view>

namespace lcdiag {

// The program's version information, fixed by the build: the project version as the file
// version, and the version strings.
FileVersion ProgramFileVersion();

// The named version string ("Comments", "LegalCopyright"), or the default for a name the
// program does not carry.
std::string GetVersionString(std::string_view name, std::string_view defaultValue = {});

} // namespace lcdiag
