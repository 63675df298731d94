#include "core/protocol/KeywordTable.h"

#include "core/protocol/ConfigTrailer.h"
#include "core/protocol/ExpectedKeywordList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(KeywordTable, TextsAndFrameLengthsInBothLayouts) {
    const KeywordTable table;
    struct Row {
        int id;
        std::string_view text;
        int longData;
        int shortData;
    };
    const Row rows[] = {
        {0, "ZENO4_E", 41, 35},
        {1, "ZENO4_Empfaenger_senden_Fabrikationsdaten", 236, 224},
        {3, "ZENO4_Empfaenger_senden_kundenparameter", 1216, 1024},
        {4, "ZENO4_Empfaenger_empfangen_kundenparameter__", 153, 129},
        {6, "Lichtgitter_ZENO_4_Entwicklung_PRAVEK_Elektronik_GmbH_2014", 0, 0},
        {8, "Firmware_Master_Slave_Typ_", 4, 4},
        {11, "ZENO_4_start_erkannt_warten_auf_Konfigurationsdaten", 1, 1},
        {14, "Aus-liefer-zustand_ab_Werk_PRAVEK", 0, 0},
        {18, "ZENO4_Empfaenger_empfangen_Werkseinstellung_", 213, 201},
        {19, "ZENO4_Empfaenger_empfangen_Kundeneinstellung", 153, 129},
        {22, "ZENO4_S_MC_KundParam_folgen", 22, 22},
        {30, "ZENO4_S_MC_DiagDaten_folgen", 64, 52},
        {32, "ZENO4_S_MC_KundParam_gesp", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const KeywordEntry& entry = table.Entry(row.id);
        EXPECT_EQ(entry.text, row.text);
        EXPECT_EQ(entry.length, static_cast<int>(row.text.size()));
        EXPECT_EQ(table.FrameLength(row.id, Layout::Long), entry.length + row.longData);
        EXPECT_EQ(table.FrameLength(row.id, Layout::Short), entry.length + row.shortData);
    }
    using namespace std::string_literals;
    EXPECT_EQ(table.Entry(kw::ConfigTrailerTemplate).text, "Konfig_Nr.\0Zeiger:\0\0\0\0\0\0"s);
    EXPECT_EQ(table.Entry(kw::ConfigTrailerTemplate).length, 24);
    EXPECT_EQ(table.KeywordSum(), 'Z' + 'E' + 'N' + 'O' + '4' + '_' + 'E'); // of keyword 0
}

TEST(KeywordTable, FindsOnlyCompleteOccurrencesOfKnownIds) {
    const KeywordTable table;
    EXPECT_EQ(table.Find(Bytes("xxZENO4_ZENO4_Eyy ZENO4_E"), kw::ReceiverCyclePart), 8);
    EXPECT_EQ(table.Find(Bytes("ZENO4_"), kw::ReceiverCyclePart), -1);
    EXPECT_EQ(table.Find(Bytes("zeno4_e"), kw::ReceiverCyclePart), -1); // case-sensitive
    EXPECT_EQ(table.Find({}, kw::ReceiverCyclePart), -1);
    for (int id : {-1, 33, 1000}) {
        EXPECT_TRUE(table.Text(id).empty());
        EXPECT_EQ(table.FrameLength(id, Layout::Long), 0);
        EXPECT_EQ(table.Find(Bytes("ZENO4_E"), id), -1);
    }
}

TEST(ExpectedKeywordList, KeepsInsertionOrderWithoutDuplicatesUpToTen) {
    ExpectedKeywordList list;
    for (int id : {5, 6, 5, 24, 25}) {
        list.Add(id);
    }
    EXPECT_EQ(std::vector<int>(list.Ids().begin(), list.Ids().end()),
              (std::vector<int>{5, 6, 24, 25}));
    for (int id = 0; id < 20; ++id) {
        list.Add(id);
    }
    ASSERT_EQ(list.Count(), ExpectedKeywordList::Capacity);
    EXPECT_EQ(list.Ids().back(), 7);
    EXPECT_FALSE(list.Contains(8)); // the eleventh id was refused
    list.Reset();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Contains(5));
}

TEST(ConfigTrailer, NulInTheTemplateMatchesAnyByte) {
    const KeywordTable table;
    std::vector<std::uint8_t> trailer = Bytes("Konfig_Nr.*Zeiger:");
    trailer.insert(trailer.end(), {0x07, 0x98, 0xDE, 0xAD, 0xBE, 0xEF});
    const auto parsed = ConfigTrailer::Parse(table, trailer);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->number, '*');
    EXPECT_EQ(parsed->pointer, 0x0798);

    trailer[11] = 'z'; // "Zeiger:" misspelt
    EXPECT_FALSE(ConfigTrailer::Parse(table, trailer));
    EXPECT_FALSE(ConfigTrailer::Parse(table, std::span(trailer).first(23)));
}

} // namespace
} // namespace lcdiag
