#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lcdiag {

class Texts;

// The build variant word, fixed when the program is built: bit 0 manufacturer functions
// (factory settings, factory connect), bit 1 extended functions (configuration files, the
// "Pro" title), the brand index from bit 4 up. The delivered build is 16: brand 1 alone.
struct BuildVariant {
    static constexpr std::uint32_t ManufacturerBit = 0x1;
    static constexpr std::uint32_t ExtendedBit = 0x2;
    static constexpr std::uint32_t Delivered = 16;

    std::uint32_t word = Delivered;

    bool ManufacturerFunctions() const { return (word & ManufacturerBit) != 0; }
    bool ExtendedFunctions() const { return (word & ExtendedBit) != 0; }
    int Brand() const { return static_cast<int>(word >> 4); }
};

// The product label that stands for the brand's logo.
inline constexpr std::string_view LogoLabel = "[logo]";

// The product texts, looked up once when the main window is created and kept for the run.
struct ProductTexts {
    std::string deviceName;      // text 10
    std::string shortDeviceName; // text 11
    std::string brandDeviceName; // brand x 10 + 20
    std::string brandShortName;  // brand x 10 + 21
    std::string windowTitle;     // brand x 10 + 22 with "Pro" (or nothing), trimmed
    std::string productLabel;    // brand x 10 + 23

    bool LabelIsLogo() const { return productLabel == LogoLabel; }
};

ProductTexts LookUpProductTexts(const Texts& language, const BuildVariant& variant);

} // namespace lcdiag
