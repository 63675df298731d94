#pragma once

#include "core/device/ControllerFirmware.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lcdiag {

struct BuildVariant;
struct ProductTexts;
class Texts;

// The program's file version: major, minor, release and build.
struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// The PC software version the program reports to the controller and writes into every
// record it builds: the file version's major and minor number, where 4.0 to 4.40 count as
// 3.99 (the controllers knew the program by that number). Numbers above 255 are written
// as 255.
PcSoftwareVersion PcSoftwareVersionOf(const FileVersion& version);

// "v4.30.2918": "v", the major number, the minor with at least 2 and the release with at
// least 4 digits, and "." and the build number unless it is 0.
std::string VersionText(const FileVersion& version);

// The main window's caption: the window title when the product label is the logo, else the
// device name and the label; " - Manufacturer version" (text 1002) in the manufacturer
// build; " - " and the comments when there are any.
std::string MainWindowCaption(const Texts& language, const ProductTexts& texts,
                              const BuildVariant& variant, const std::string& comments);

// The lines of the About dialog's copyright: the parts before and after the first "/",
// each trimmed, or the whole text as one line when it holds no "/".
std::vector<std::string> CopyrightLines(const std::string& copyright);

} // namespace lcdiag
