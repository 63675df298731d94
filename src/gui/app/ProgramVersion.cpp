#include "gui/app/ProgramVersion.h"

#include "gui/app/BuildInfo.h"

namespace lcdiag {

static_assert(build::VersionMajor <= 0xFFFF && build::VersionMinor <= 0xFFFF &&
                  build::VersionRelease <= 0xFFFF && build::VersionBuild <= 0xFFFF,
              "each part of the project version must fit 16 bits");

FileVersion ProgramFileVersion() {
    return {static_cast<std::uint16_t>(build::VersionMajor),
            static_cast<std::uint16_t>(build::VersionMinor),
            static_cast<std::uint16_t>(build::VersionRelease),
            static_cast<std::uint16_t>(build::VersionBuild)};
}

std::string GetVersionString(std::string_view name, std::string_view defaultValue) {
    if (name == "Comments") {
        return build::Comments;
    }
    if (name == "LegalCopyright") {
        return build::LegalCopyright;
    }
    return std::string(defaultValue);
}

} // namespace lcdiag
