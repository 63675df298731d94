#include "core/app/ScreenProfile.h"

namespace lcdiag {
namespace {

constexpr std::array<int, ViewFontCount> LargeFonts = {28, 24, 16, 14, 28, 16,
                                                       11, 12, 22, 16, 16, 20};

constexpr std::array<ScreenProfile, ScreenProfileCount> Profiles = {{
    {"4:3 - 800x600", 800, 600, {18, 12, 8, 8, 16, 8, 6, 8, 14, 8, 8, 12}},
    {"4:3 - 1024x768", 1024, 768, {20, 16, 12, 12, 20, 12, 8, 12, 14, 12, 12, 14}},
    {"16:10 - 1280x800", 1280, 800, {24, 16, 14, 14, 20, 12, 10, 12, 16, 12, 12, 16}},
    {"5:4 - 1280x1024", 1280, 1024, LargeFonts},
    {"16:10 - 1440x900", 1440, 900, LargeFonts},
}};

bool ValidProfile(int index) {
    return index >= 0 && index < ScreenProfileCount;
}

FontColour ColourOfFont(int font) {
    if (font == 0 || font == 1) {
        return FontColour::DarkBlue;
    }
    return font == 7 ? FontColour::Black : FontColour::ButtonText;
}

bool BoldFont(int font) {
    return font <= 3 || font == 8;
}

} // namespace

const ScreenProfile& GetScreenProfile(int index) {
    return Profiles[static_cast<std::size_t>(ValidProfile(index) ? index : 0)];
}

ViewFontStyle ViewFont(int profile, int font) {
    if (font < 0 || font >= ViewFontCount) {
        font = 0;
    }
    return {GetScreenProfile(profile).fontSizes[static_cast<std::size_t>(font)], ColourOfFont(font),
            BoldFont(font)};
}

bool ProfileFitsScreen(int profile, int screenWidth, int screenHeight) {
    const ScreenProfile& wanted = GetScreenProfile(profile);
    return profile == 0 || (screenWidth >= wanted.width && screenHeight >= wanted.height);
}

int ChooseScreenProfile(int stored, int screenWidth, int screenHeight) {
    return ValidProfile(stored) && ProfileFitsScreen(stored, screenWidth, screenHeight) ? stored
                                                                                        : 0;
}

} // namespace lcdiag
