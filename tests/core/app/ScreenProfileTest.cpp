#include "core/app/ScreenProfile.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

TEST(ScreenProfile, StoredProfileIsUsedOnlyWhenItIsOneThatFitsTheScreen) {
    EXPECT_EQ(ChooseScreenProfile(4, 1440, 900), 4);
    EXPECT_EQ(ChooseScreenProfile(4, 1439, 900), 0);
    EXPECT_EQ(ChooseScreenProfile(3, 1280, 1023), 0);
    EXPECT_EQ(ChooseScreenProfile(2, 1920, 1080), 2);
    // Profile 0 is never refused, even on a smaller screen.
    EXPECT_EQ(ChooseScreenProfile(0, 640, 480), 0);
    EXPECT_TRUE(ProfileFitsScreen(0, 640, 480));
    // The stored value is user data.
    EXPECT_EQ(ChooseScreenProfile(5, 4000, 4000), 0);
    EXPECT_EQ(ChooseScreenProfile(-1, 4000, 4000), 0);
}

TEST(ScreenProfile, FontsFollowTheProfileTable) {
    EXPECT_EQ(GetScreenProfile(1).caption, "4:3 - 1024x768");
    EXPECT_EQ(GetScreenProfile(4).width, 1440);
    EXPECT_EQ(GetScreenProfile(4).height, 900);
    EXPECT_EQ(GetScreenProfile(3).fontSizes, GetScreenProfile(4).fontSizes);
    EXPECT_EQ(ViewFont(0, 0).pointSize, 18);
    EXPECT_EQ(ViewFont(2, 6).pointSize, 10);
    EXPECT_EQ(ViewFont(4, 11).pointSize, 20);

    EXPECT_EQ(ViewFont(0, 1).colour, FontColour::DarkBlue);
    EXPECT_EQ(ViewFont(0, 7).colour, FontColour::Black);
    EXPECT_EQ(ViewFont(0, 9).colour, FontColour::ButtonText);
    for (int font = 0; font < ViewFontCount; ++font) {
        const bool bold = font <= 3 || font == 8;
        EXPECT_EQ(ViewFont(1, font).bold, bold) << font;
    }
}

} // namespace
} // namespace lcdiag
