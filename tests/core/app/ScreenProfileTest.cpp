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

} // namespace
} // namespace lcdiag
