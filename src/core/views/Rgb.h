#pragma once

#include <cstdint>

namespace lcdiag {

// A colour of the live pictures as red, green and blue.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The fixed colours of the live pictures; the system colours (button face, shadow,
// highlight, text) come from the desktop.
namespace view_colour {
inline constexpr Rgb DarkBlue{43, 58, 127};      // headings and title lines
inline constexpr Rgb HousingYellow{255, 216, 0}; // the units' housings
inline constexpr Rgb UnitHead{32, 32, 32};       // the units' front caps
inline constexpr Rgb TitleShadow{0, 0, 127};     // the soft shadow under a text title
inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb IndicatorGreen{0, 128, 0}; // a lit function indicator
// The blend mask grey that dims a picture 75 % toward the button face.
inline constexpr int DimMask = 63;
} // namespace view_colour

} // namespace lcdiag
