#include "core/device/ModuleDataTable.h"

#include "core/device/DeviceType.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace lcdiag {
namespace {

using RF = ReceiverFactoryField;

class ModuleDataTableTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(table.LoadBuiltIn(), 102); }

    ModuleDataTable table;
};

TEST_F(ModuleDataTableTest, HoldsEveryModelOfTheProductRange) {
    std::map<int, std::vector<int>> beamsByType;
    for (int i = 0; i < table.Count(); ++i)
        beamsByType[table.Record(i)->Byte(RF::DeviceType)].push_back(
            table.Record(i)->Byte(RF::BeamCount));
    const auto steps = [](int first, int last, int step) {
        std::vector<int> counts;
        for (int count = first; count <= last; count += step)
            counts.push_back(count);
        return counts;
    };
    const std::map<int, std::vector<int>> expected{
        {1, steps(8, 192, 8)},
        {2, steps(4, 104, 4)},
        {3, {4}},
        {4, {3}},
        {5, {1, 2}},
        {6, steps(4, 50, 2)},
        {8, {11, 14, 16, 19, 22, 25, 27, 30, 33, 36, 38, 41,
             44, 47, 49, 52, 55, 58, 60, 63, 66, 69, 71, 74}},
    };
    EXPECT_EQ(beamsByType, expected);
}

TEST_F(ModuleDataTableTest, EveryRecordFollowsTheModelRules) {
    for (int i = 0; i < table.Count(); ++i) {
        const ReceiverFactoryRecord& r = *table.Record(i);
        SCOPED_TRACE(i);
        const int type = r.Byte(RF::DeviceType);
        const int beams = r.Byte(RF::BeamCount);
        const bool grid = type >= 3 && type <= 5;
        EXPECT_TRUE(r.ComplementMatches(RF::BeamCountComplement));
        const int present = type == 5 && beams == 1 ? 2 : beams;
        EXPECT_EQ(r.Mask(RF::BeamPresenceMask), BeamMask::FirstBeams(present));
        EXPECT_EQ(r.Mask(RF::BeamPresenceMask).CountSet(192), present);
        EXPECT_TRUE(r.ComplementMatches(RF::BeamPresenceMaskComplement));
        EXPECT_EQ(r.Byte(RF::BlankingBeamsMax), grid ? 255 : beams - 1);

        const auto gridOr = [&](int gridValue, int value) {
            return static_cast<std::uint8_t>(grid ? gridValue : value);
        };
        const std::uint8_t defaults[] = {
            4, 2, 31, 'K', 25, 5, gridOr(25, 10), 100, 50, 'E', 1, 'A', gridOr(35, 20), 5, 100, 30};
        EXPECT_TRUE(std::ranges::equal(std::span(r.bytes).subspan(2, 16), defaults));
        EXPECT_EQ(r.Byte(RF::QuartzCorrection), 0);
        EXPECT_LT(r.Byte(RF::FloatingBeamsMax), std::max(beams, 1));
        EXPECT_TRUE(
            std::ranges::all_of(std::span(r.bytes).subspan(23, 4), [](int b) { return b == 0; }));
        EXPECT_TRUE(
            std::ranges::all_of(std::span(r.bytes).subspan(75), [](int b) { return b == 0; }));
    }
}

TEST_F(ModuleDataTableTest, LoadingReplacesAndRefusesAWrongSize) {
    EXPECT_EQ(table.LoadBuiltIn(), 102);
    EXPECT_EQ(table.Count(), 102);
    const std::vector<std::uint8_t> odd(213, 0);
    EXPECT_EQ(table.Load(odd), std::nullopt);
    EXPECT_EQ(table.Count(), 102);
    EXPECT_EQ(table.Record(102), nullptr);
    EXPECT_EQ(table.Record(-1), nullptr);
    EXPECT_EQ(table.Load({}), 0);
    EXPECT_TRUE(table.TypeChoices().empty());
}

TEST_F(ModuleDataTableTest, OffersTypesAndLengths) {
    const std::vector<TypeChoice> types{{1, "14 mm"},  {2, "30 mm"}, {3, "300 mm"}, {4, "400 mm"},
                                        {5, "500 mm"}, {6, "50 mm"}, {8, "35 mm"}};
    EXPECT_EQ(table.TypeChoices(), types);

    const std::vector<LengthChoice> longLengths = table.LengthChoices(1, Layout::Long, "beam");
    ASSERT_EQ(longLengths.size(), 24u);
    EXPECT_EQ(longLengths.front().text, "   90 mm");
    EXPECT_EQ(longLengths.back().text, " 1930 mm");
    EXPECT_EQ(table.Record(longLengths.back().recordIndex)->Byte(RF::BeamCount), 192);
    // A short-layout receiver is not offered the models above 144 beams.
    const std::vector<LengthChoice> shortLengths = table.LengthChoices(1, Layout::Short, "beam");
    ASSERT_EQ(shortLengths.size(), 18u);
    EXPECT_EQ(shortLengths.back().text, " 1450 mm");

    EXPECT_EQ(GetTypeName(ControllerType::Receiver, 1, 1, table, longLengths.front().recordIndex),
              "Z4-RU-11-90-1");
    EXPECT_EQ(GetTypeName(ControllerType::Receiver, 1, 1, table, 102), "");
}

TEST(ModuleDataChoicesTest, CountsType7AsType5AndOffersEachTextOnce) {
    std::vector<std::uint8_t> resource;
    const auto add = [&](int type, int beams) {
        ReceiverFactoryRecord record;
        record.SetByte(RF::DeviceType, static_cast<std::uint8_t>(type));
        record.SetByte(RF::BeamCount, static_cast<std::uint8_t>(beams));
        resource.insert(resource.end(), record.bytes.begin(), record.bytes.end());
    };
    add(7, 1);
    ModuleDataTable table;
    ASSERT_EQ(table.Load(resource), 1);
    EXPECT_TRUE(table.TypeChoices().empty());

    add(5, 1);
    add(5, 2);
    add(1, 0);
    add(1, 200);
    add(2, 10);
    add(2, 5);
    add(2, 10);
    ASSERT_EQ(table.Load(resource), 8);
    const std::vector<LengthChoice> grid{{"500 mm - 1 beam", 0}, {"500 mm - 2 beam", 2}};
    EXPECT_EQ(table.LengthChoices(5, Layout::Long, "beam"), grid);
    EXPECT_TRUE(table.LengthChoices(1, Layout::Long, "beam").empty());
    const std::vector<LengthChoice> curtain{{"  110 mm", 6}, {"  210 mm", 5}};
    EXPECT_EQ(table.LengthChoices(2, Layout::Long, "beam"), curtain);
}

} // namespace
} // namespace lcdiag
