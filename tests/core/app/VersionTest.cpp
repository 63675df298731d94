#include "core/app/Version.h"

#include "AppTestSupport.h"
#include "core/app/BuildVariant.h"
#include "core/app/Texts.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

TEST(Version, VersionTextPadsMinorAndReleaseAndLeavesOutBuildZero) {
    EXPECT_EQ(VersionText({4, 30, 2918, 0}), "v4.30.2918");
    EXPECT_EQ(VersionText({1, 5, 12, 0}), "v1.05.0012");
    EXPECT_EQ(VersionText({1, 5, 12, 3}), "v1.05.0012.3");
    EXPECT_EQ(VersionText({}), "v0.00.0000");
}

TEST(Version, EarlyFourVersionsReportThreeNinetyNine) {
    auto pc = [](std::uint16_t major, std::uint16_t minor) {
        const PcSoftwareVersion version = PcSoftwareVersionOf({major, minor, 0, 0});
        return std::pair<int, int>(version.major, version.minor);
    };
    EXPECT_EQ(pc(4, 30), std::make_pair(3, 99));
    EXPECT_EQ(pc(4, 0), std::make_pair(3, 99));
    EXPECT_EQ(pc(4, 41), std::make_pair(4, 41));
    EXPECT_EQ(pc(3, 12), std::make_pair(3, 12));
    EXPECT_EQ(pc(5, 300), std::make_pair(5, 255));
}

class ProductTextsTest : public ::testing::Test {
protected:
    test::RecordingDialogs dialogs;
    Texts language{nullptr, &dialogs};
};

TEST_F(ProductTextsTest, VariantBitsChooseTitleLogoAndCaption) {
    const BuildVariant delivered;
    const ProductTexts texts = LookUpProductTexts(language, delivered);
    EXPECT_EQ(texts.windowTitle, "DVX-DVY 710, 712, 715");
    EXPECT_TRUE(texts.LabelIsLogo());
    EXPECT_EQ(texts.deviceName, "Safety light curtain");
    EXPECT_EQ(MainWindowCaption(language, texts, delivered, ""), "DVX-DVY 710, 712, 715");
    EXPECT_TRUE(dialogs.shown.empty());

    const BuildVariant pro{16 | BuildVariant::ExtendedBit};
    EXPECT_EQ(LookUpProductTexts(language, pro).windowTitle, "DVX-DVY 710, 712, 715 Pro");

    const BuildVariant factory{BuildVariant::ManufacturerBit}; // brand 0
    const ProductTexts manufacturer = LookUpProductTexts(language, factory);
    EXPECT_EQ(manufacturer.windowTitle, "ZENO 4");
    EXPECT_EQ(manufacturer.brandShortName, "ZENO 4-Light Curtain");
    EXPECT_EQ(MainWindowCaption(language, manufacturer, factory, "beta"),
              "Safety light curtain ZENO 4 - Manufacturer version - beta");
}

} // namespace
} // namespace lcdiag
