#include "core/app/BuiltinTexts.h"

#include <gtest/gtest.h>
#include <string_view>

namespace lcdiag {
namespace {

TEST(BuiltinTexts, HoldsEveryTextOfTheTable) {
    int count = 0;
    for (TextId id = 0; id < TextIdCount; ++id) {
        count += BuiltinText(id).empty() ? 0 : 1;
    }
    EXPECT_EQ(count, 569); // the 536 every language file knows, and the program's 33 own
    EXPECT_TRUE(BuiltinText(0).empty());
    EXPECT_TRUE(BuiltinText(2).empty());
    EXPECT_TRUE(BuiltinText(8525).empty());
    EXPECT_TRUE(BuiltinText(9001).empty());
    EXPECT_TRUE(BuiltinText(70000).empty());
}

// Exact texts from every range, with their line breaks, quotes, conversions, mark-up,
// trailing blanks and typos.
TEST(BuiltinTexts, SpotCheckAcrossAllRanges) {
    struct Row {
        TextId id;
        std::string_view text;
    };
    const Row rows[] = {
        {1, "English"},
        {10, "Safety light curtain"},
        {20, "Safety Light Curtain ZENO 4"},
        {22, "ZENO 4 %s"},
        {32, "DVX-DVY 710, 712, 715 %s"},
        {33, "[logo]"},
        {42, "TOBN Z4 %s"},
        {43, "TOBN Z4"},
        {99, "HKEY_CURRENT_USER\\Software\\Kelberg\\DVX7"},
        {101, "Unknown Fault!"},
        {103, "String resource %d not available!"},
        {110, "An unknown error has occurred! (%d)"},
        {112,
         "An error occurred during the transfer of the manufacturer data!\r\nPlease try again!"},
        {120, "The field '%s' was not filled out!"},
        {121, "'%s' is invalid for the field '%s'!"},
        {184, "The options \"muting multiple interruption of protective field\" and \"shortened "
              "muting cycle\" cannot be activated simultaneously.\r\nPlease deactivate the option "
              "\"%s\" before you activate the option \"%s\"."},
        {200, "Fault - NE555 Impedance monitoring test"},
        {207, "Fault - No startup synchronisation Master / Slave"},
        {219, "Fault - Run-time difference more than 75us"},
        {222, "Fault - Transfer of EEPROM parameter to PC"},
        {251, "Fault - RAM "},
        {253, "Fault - EEPROM costomer data"},
        {256, "Fault - current measurement circuit"},
        {257, "Information about %s"},
        {300, "Warning"},
        {303, "Confirmation"},
        {400, "&Yes"},
        {409, "Y&es to all"},
        {412, "Help"},
        {1000, "%s"},
        {1019, "h"},
        {1024, "Weak signal strenght"},
        {1050, "Module"},
        {1127, "Beam defective"},
        {1901, "Text file (*.txt)|*.txt"},
        {1902, "Configuration file (*.zcf)|*.zcf"},
        {2002, "Confirm with this button within %d seconds"},
        {2109, "Muting"},
        {2204, "active"},
        {3002, "Please confirm with this button within %d seconds"},
        {3013, "Time protection field interruption [ms]"},
        {3111, "Muting with 2 sensors / Diagonal arrangement"},
        {3146, "Process control (BUS)"},
        {3222, "unknown"},
        {4000, "Functional status"},
        {4014, "M-Sensor group 1 (MS1 and MS3)"},
        {4132, "Send"},
        {5130, "-"},
        {5600, "?"},
        {5610, "About..."},
        {5701, "Disconnect"},
        {6031, "Cancel"},
        {7104, "Central Beam"},
        {8000, "Safety pointer"},
        {8051, "Safety pointer\r\n"},
        {8100, "<c><b>"},
        {8101, "Safety Light Curtain %s/ Floating blanking of beams"},
        {8140, "#0721<b>"},
        {8146, "</"
               "b>|1|14|24|30|45|50|85|2|14|34|30|65|50|125|3|14|44|30|85|50|165|4|14|54|30|105|50|"
               "205|5|14|64|30|125|50|245|6|14|74|30|145|50|285|7|14|84|30|165|50|325|8|14|94|30|"
               "185|50|365|9|14|104|30|205|50|405|10|14|114|30|225|50|445|11|14|124|-|-|-|-|12|14|"
               "134|-|-|-|-|13|14|144|-|-|-|-|14|14|154|-|-|-|-|15|14|164|-|-|-|-|16|14|174|-|-|-|-"
               "|17|14|184|-|-|-|-|18|14|194|-|-|-|-|19|14|204|-|-|-|-|20|14|214|-|-|-|-"},
        {8162, "</b><br><br><l> - "},
        {8180, "The effective resolution has to be visibly labelled on the receiver.  "},
        {8514, "PC software used does not correspond to the current version (at least version %s)"},
        {8524, "Contact you dealer to request download of the latest SW version (free of charge)."},
        {9000, "The new password could not be stored.\r\nThe old password remains valid."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(BuiltinText(row.id), row.text);
    }
}

TEST(BuiltinTexts, ReceiverFaultTextsLeaveOutTheMaskedCodes) {
    for (TextId id = 200; id <= 222; ++id) {
        const bool masked = id == 215 || id == 216;
        EXPECT_EQ(BuiltinText(id).empty(), masked) << id;
        if (!masked) {
            EXPECT_TRUE(BuiltinText(id).starts_with("Fault - ")) << id;
        }
    }
}

} // namespace
} // namespace lcdiag
