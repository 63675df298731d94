#pragma once

#include <array>
#include <string_view>

namespace lcdiag {

// The colour of a view font: dark blue, the system's button-text colour, or black.
enum class FontColour { DarkBlue, ButtonText, Black };

struct FontSpec {
    int pointSize;
    FontColour colour;
    bool bold;
};

inline constexpr int ViewFontCount = 12;
// Every view font has this face; a desktop without it shows a metric-compatible one.
inline constexpr std::string_view ViewFontFace = "Arial Unicode MS";

// One of the five screen profiles (preference "Resolution"): the nominal window size, the
// sizes of the twelve view fonts and the images the live pictures are made of.
struct ScreenProfile {
    std::string_view caption;
    int windowWidth;
    int windowHeight;
    std::array<int, ViewFontCount> fontSizes; // points
    int tileImage;                            // 101-103
    int tileSize;                             // the beam tiles are square
    int largeLedImage;                        // status view
    int smallLedImage;                        // unit heads and legend

    // Font 0 to 11; an index outside that range gives font 0.
    FontSpec Font(int index) const;
};

inline constexpr int ScreenProfileCount = 5;

// Profile 0 to 4; any other value (a preference can hold anything) gives profile 0.
const ScreenProfile& GetScreenProfile(int index);

// The cell size of an LED image 105-108 (the LED pitch of its panel); 0 for another id.
int LedCellSize(int ledImage);

// The pixel height of a font of the given point size on a 96 dots-per-inch screen.
int FontPixelSize(int pointSize);

} // namespace lcdiag
