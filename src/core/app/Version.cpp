#include "core/app/Version.h"

#include "core/app/BuildVariant.h"
#include "core/app/TextLines.h"
#include "core/app/Texts.h"

#include <algorithm>

namespace lcdiag {
namespace {

constexpr TextId ManufacturerVersion = 1002;

std::uint8_t Saturated(std::uint16_t value) {
    return static_cast<std::uint8_t>(std::min<std::uint16_t>(value, 255));
}

std::string ZeroPadded(std::uint16_t value, std::size_t digits) {
    std::string text = std::to_string(value);
    if (text.size() < digits) {
        text.insert(0, digits - text.size(), '0');
    }
    return text;
}

} // namespace

PcSoftwareVersion PcSoftwareVersionOf(const FileVersion& version) {
    if (version.major == 4 && version.minor < 41) {
        return {3, 99};
    }
    return {Saturated(version.major), Saturated(version.minor)};
}

std::string VersionText(const FileVersion& version) {
    // Appended piece by piece: GCC 12 warns wrongly about "literal" + std::string when it
    // optimises.
    std::string text = "v";
    text += std::to_string(version.major);
    text += '.';
    text += ZeroPadded(version.minor, 2);
    text += '.';
    text += ZeroPadded(version.release, 4);
    if (version.build != 0) {
        text += '.';
        text += std::to_string(version.build);
    }
    return text;
}

std::string MainWindowCaption(const Texts& language, const ProductTexts& texts,
                              const BuildVariant& variant, const std::string& comments) {
    std::string caption =
        texts.LabelIsLogo() ? texts.windowTitle : texts.deviceName + " " + texts.productLabel;
    if (variant.ManufacturerFunctions()) {
        caption += " - " + language.GetText(ManufacturerVersion);
    }
    if (!comments.empty()) {
        caption += " - " + comments;
    }
    return caption;
}

std::vector<std::string> CopyrightLines(const std::string& copyright) {
    const auto slash = copyright.find('/');
    if (slash == std::string::npos) {
        return {copyright};
    }
    const std::string_view text = copyright;
    return {std::string(TrimBlanks(text.substr(0, slash))),
            std::string(TrimBlanks(text.substr(slash + 1)))};
}

} // namespace lcdiag
