#include "core/views/ScreenProfile.h"

namespace lcdiag {

namespace {

constexpr std::array<ScreenProfile, ScreenProfileCount> Profiles{{
    {"4:3 - 800x600", 800, 600, {18, 12, 8, 8, 16, 8, 6, 8, 14, 8, 8, 12}, 101, 23, 106, 105},
    {"4:3 - 1024x768",
     1024,
     768,
     {20, 16, 12, 12, 20, 12, 8, 12, 14, 12, 12, 14},
     102,
     28,
     107,
     106},
    {"16:10 - 1280x800",
     1280,
     800,
     {24, 16, 14, 14, 20, 12, 10, 12, 16, 12, 12, 16},
     102,
     28,
     107,
     106},
    {"5:4 - 1280x1024",
     1280,
     1024,
     {28, 24, 16, 14, 28, 16, 11, 12, 22, 16, 16, 20},
     103,
     34,
     108,
     107},
    {"16:10 - 1440x900",
     1440,
     900,
     {28, 24, 16, 14, 28, 16, 11, 12, 22, 16, 16, 20},
     103,
     34,
     108,
     107},
}};

} // namespace

FontSpec ScreenProfile::Font(int index) const {
    const int font = index >= 0 && index < ViewFontCount ? index : 0;
    const FontColour colour = font <= 1   ? FontColour::DarkBlue
                              : font == 7 ? FontColour::Black
                                          : FontColour::ButtonText;
    const bool bold = font <= 3 || font == 8;
    return {fontSizes[static_cast<std::size_t>(font)], colour, bold};
}

const ScreenProfile& GetScreenProfile(int index) {
    return Profiles[static_cast<std::size_t>(index >= 0 && index < ScreenProfileCount ? index : 0)];
}

int LedCellSize(int ledImage) {
    switch (ledImage) {
    case 105:
        return 19;
    case 106:
        return 23;
    case 107:
        return 26;
    case 108:
        return 35;
    default:
        return 0;
    }
}

int FontPixelSize(int pointSize) {
    return (pointSize * 96 + 36) / 72;
}

} // namespace lcdiag
