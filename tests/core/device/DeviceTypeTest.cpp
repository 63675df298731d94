#include "core/device/DeviceType.h"

#include <gtest/gtest.h>
#include <tuple>

namespace lcdiag {
namespace {

using namespace device_type;
constexpr ControllerType Receiver = ControllerType::Receiver;
constexpr ControllerType Emitter = ControllerType::Emitter;

TEST(DeviceTypeNameTest, NamesTheExampleModels) {
    const std::tuple<int, int, int, int, ControllerType, const char*> examples[] = {
        {1, 1, 15, 1, Receiver, "Z4-RU-11-160-1"},     {1, 3, 4, 1, Receiver, "MSZ4-RU-15-300-2"},
        {1, 5, 1, 1, Receiver, "MSZ4-TRU-10-500-2"},   {2, 1, 15, 1, Receiver, "DVX710R0160-14RFB"},
        {2, 2, 20, 2, Emitter, "DVX715IE0410-30RFBC"}, {2, 3, 4, 1, Receiver, "DVY710R0900-04RF"},
        {2, 5, 1, 1, Receiver, "DVY712PE/R0500-02RF"}, {2, 8, 16, 1, Receiver, "DVX730-R-0490-35"},
        {3, 1, 15, 1, Receiver, "TOBNZ4RU11-160-1"},
    };
    for (auto [scheme, type, beams, variant, unit, name] : examples) {
        EXPECT_EQ(GetTypeName(unit, scheme, variant, type, beams), name);
    }
}

TEST(DeviceTypeNameTest, LeavesUnnameableCombinationsEmpty) {
    for (int scheme : {1, 3}) {
        EXPECT_EQ(GetTypeName(Receiver, scheme, 1, 7, 1), "") << scheme;
        EXPECT_EQ(GetTypeName(Receiver, scheme, 1, 8, 16), "") << scheme;
    }
    EXPECT_EQ(GetTypeName(Receiver, 2, 2, 8, 16), "");
    EXPECT_EQ(GetTypeName(Receiver, 2, 1, 7, 1), "");
    EXPECT_EQ(GetTypeName(Receiver, 1, 3, 1, 15), "");
    EXPECT_EQ(GetTypeName(Receiver, 4, 1, 1, 15), "");
    EXPECT_EQ(GetTypeName(static_cast<ControllerType>(3), 1, 1, 1, 15), "");
    EXPECT_EQ(GetTypeName(static_cast<ControllerType>(3), 2, 1, 1, 15), "");
}

TEST(DeviceTypeNameTest, PadsAndSpellsOutTheDetails) {
    EXPECT_EQ(GetTypeName(Receiver, 2, 1, 1, 5), "DVX710R0060-14RFB");
    EXPECT_EQ(GetTypeName(Receiver, 2, 1, 5, 2), "DVY710R0500-02RF");
    EXPECT_EQ(GetTypeName(Emitter, 2, 2, 5, 1), "DVY715IPE/R0500-02RF");
    EXPECT_EQ(GetTypeName(Emitter, 1, 2, 5, 2), "MSZ4-TU-23-500-2");
    EXPECT_EQ(GetTypeName(Emitter, 3, 2, 6, 50), "TOBNZ4TU26-2010-4");
    EXPECT_EQ(GetTypeName(Receiver, 3, 1, 4, 3), "TOBNZ4RU14-400-2");
}

TEST(DeviceTypeGeometryTest, FieldHeightsAndBeams) {
    EXPECT_EQ(FieldHeight(8, 16), 490);
    EXPECT_EQ(FieldHeight(8, 74), 2170);
    EXPECT_EQ(FieldHeight(8, 11), 330);
    EXPECT_EQ(FieldHeight(2, 104), 2090);
    EXPECT_EQ(FieldHeight(3, 1), 900);
    EXPECT_EQ(FieldHeight(9, 10), 0);
    EXPECT_EQ(Beams(7, 5), 1);
    EXPECT_EQ(Beams(3, 0), 4);
    EXPECT_EQ(Beams(5, 2), 2);
    EXPECT_EQ(Beams(0, 5), 0);
    EXPECT_EQ(Beams(1, 1000), 255); // a beam count is a byte
    EXPECT_EQ(MaxBeams(0), 192);
    EXPECT_EQ(MaxBeamsHalf(2), 52);
    EXPECT_EQ(BeamColumns(9), 2);
    EXPECT_EQ(BeamColumns(6), 1);
    EXPECT_EQ(BeamGroups(8, 2), 3);
    EXPECT_EQ(BeamGroups(1, 3), 0);
    EXPECT_EQ(BeamGroups(1, -1), 0);
    EXPECT_EQ(BeamPitch(6), 40);
    EXPECT_TRUE(IsLightGrid(7));
    EXPECT_FALSE(IsLightGrid(8));
}

TEST(DeviceTypeGeometryTest, DisplayTexts) {
    EXPECT_EQ(ResolutionText(1), "14 mm");
    EXPECT_EQ(ResolutionText(0), "0 mm");
    EXPECT_EQ(ProtectionFieldText(1, 15, "beam"), "160 mm");
    EXPECT_EQ(ProtectionFieldText(5, 2, "beam"), "500 mm - 2 beam");
    EXPECT_EQ(ProtectionFieldText(7, 9, "Strahl"), "500 mm - 1 Strahl");
    EXPECT_EQ(NamingVariant(1), 1);
    EXPECT_EQ(NamingVariant(3), 2);
    EXPECT_EQ(NamingVariant(9), 1);
}

} // namespace
} // namespace lcdiag
