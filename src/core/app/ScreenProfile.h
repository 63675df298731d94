#pragma once

#include <array>
#include <string_view>

namespace lcdiag {

inline constexpr int ScreenProfileCount = 5;
inline constexpr int ViewFontCount = 12;

// Colours of the view fonts: dark blue is RGB(43,58,127); button text is the system's.
enum class FontColour { DarkBlue, Black, ButtonText };

// One of the twelve view fonts, all of the face "Arial Unicode MS".
struct ViewFontStyle {
    int pointSize = 8;
    FontColour colour = FontColour::ButtonText;
    bool bold = false;
};

// A screen profile (preference "Resolution"): the nominal main window size and the sizes of
// the view fonts. A new profile takes effect at the next start.
struct ScreenProfile {
    std::string_view caption; // the item of the "Resolution" menu
    int width = 0;
    int height = 0;
    std::array<int, ViewFontCount> fontSizes{};
};

inline constexpr std::string_view ViewFontFace = "Arial Unicode MS";

// The profile with the index; indexes outside 0-4 give profile 0.
const ScreenProfile& GetScreenProfile(int index);

// Font 0-11 of the profile (font 0 for other indexes).
ViewFontStyle ViewFont(int profile, int font);

// Whether a screen of the size shows the profile's window; profile 0 always counts as shown.
bool ProfileFitsScreen(int profile, int screenWidth, int screenHeight);

// The profile to use: the stored one when it is a profile that fits the screen, else 0 (a
// stored value is user data and may hold anything).
int ChooseScreenProfile(int stored, int screenWidth, int screenHeight);

} // namespace lcdiag
