#include "core/device/DeviceType.h"

#include <gtest/gtest.h>
#include <tuple>

namespace lcdiag {
namespace {

using namespace device_type;
constexpr ControllerType Receiver = ControllerType::Receiver;
constexpr ControllerType Emitter = ControllerType::Emitter;
constexpr auto NoUnit = static_cast<ControllerType>(3);

// Examples of each naming scheme, then the padding and spelling details, then what cannot
// be named: types 7 and 8 outside their scheme, unknown variants, schemes and units.
TEST(DeviceTypeNameTest, NamesTheModelsAndLeavesTheUnnameableEmpty) {
    const std::tuple<ControllerType, int, int, int, int, const char*> rows[] = {
        {Receiver, 1, 1, 1, 15, "Z4-RU-11-160-1"},
        {Receiver, 1, 1, 3, 4, "MSZ4-RU-15-300-2"},
        {Receiver, 1, 1, 5, 1, "MSZ4-TRU-10-500-2"},
        {Receiver, 2, 1, 1, 15, "DVX710R0160-14RFB"},
        {Emitter, 2, 2, 2, 20, "DVX715IE0410-30RFBC"},
        {Receiver, 2, 1, 3, 4, "DVY710R0900-04RF"},
        {Receiver, 2, 1, 5, 1, "DVY712PE/R0500-02RF"},
        {Receiver, 2, 1, 8, 16, "DVX730-R-0490-35"},
        {Receiver, 3, 1, 1, 15, "TOBNZ4RU11-160-1"},
        {Receiver, 2, 1, 1, 5, "DVX710R0060-14RFB"}, // height padded to four digits
        {Receiver, 2, 1, 5, 2, "DVY710R0500-02RF"},
        {Emitter, 2, 2, 5, 1, "DVY715IPE/R0500-02RF"},
        {Emitter, 1, 2, 5, 2, "MSZ4-TU-23-500-2"},
        {Emitter, 3, 2, 6, 50, "TOBNZ4TU26-2010-4"},
        {Receiver, 3, 1, 4, 3, "TOBNZ4RU14-400-2"},
        {Receiver, 1, 1, 7, 1, ""},
        {Receiver, 1, 1, 8, 16, ""},
        {Receiver, 3, 1, 7, 1, ""},
        {Receiver, 3, 1, 8, 16, ""},
        {Receiver, 2, 2, 8, 16, ""},
        {Receiver, 2, 1, 7, 1, ""},
        {Receiver, 1, 3, 1, 15, ""},
        {Receiver, 4, 1, 1, 15, ""},
        {NoUnit, 1, 1, 1, 15, ""},
        {NoUnit, 2, 1, 1, 15, ""},
    };
    for (auto [unit, scheme, variant, type, beams, name] : rows) {
        EXPECT_EQ(GetTypeName(unit, scheme, variant, type, beams), name)
            << scheme << " " << variant << " " << type << " " << beams;
    }
}

TEST(DeviceTypeGeometryTest, HeightsBeamsAndTextsStayInRange) {
    EXPECT_EQ(FieldHeight(8, 11), 330);
    EXPECT_EQ(FieldHeight(9, 10), 0);
    EXPECT_EQ(Beams(7, 5), 1);
    EXPECT_EQ(Beams(0, 5), 0);
    EXPECT_EQ(Beams(1, 1000), 255); // a beam count is a byte
    EXPECT_EQ(BeamGroups(8, 2), 3);
    EXPECT_EQ(BeamGroups(1, -1), 0);
    EXPECT_EQ(ResolutionText(0), "0 mm");
    EXPECT_EQ(ProtectionFieldText(1, 15, "beam"), "160 mm");
    EXPECT_EQ(ProtectionFieldText(5, 2, "beam"), "500 mm - 2 beam");
    EXPECT_EQ(ProtectionFieldText(7, 9, "Strahl"), "500 mm - 1 Strahl");
    EXPECT_EQ(NamingVariant(3), 2);
    EXPECT_EQ(NamingVariant(9), 1);
}

} // namespace
} // namespace lcdiag
