#include "core/protocol/KeywordTable.h"

#include <algorithm>

namespace lcdiag {

namespace {

using namespace std::string_view_literals;

// The template of the configuration trailer: a NUL stands for "any byte".
constexpr std::string_view ConfigTrailerText = "Konfig_Nr.\0Zeiger:\0\0\0\0\0\0"sv;
static_assert(ConfigTrailerText.size() == 24);

const KeywordEntry EmptyEntry{};

} // namespace

KeywordTable::KeywordTable() {
    Set(0, "ZENO4_E", 41, 35);
    Set(1, "ZENO4_Empfaenger_senden_Fabrikationsdaten", 236, 224);
    Set(2, "ZENO4_Empfaenger_empfangen_Fabrikationsdaten", 213, 201);
    Set(3, "ZENO4_Empfaenger_senden_kundenparameter", 1216, 1024);
    Set(4, "ZENO4_Empfaenger_empfangen_kundenparameter__", 153, 129);
    Set(5, "Lichtgitter_ZENO_4_Entwicklung_PRAVEK_Elektronik_GmbH_2003", 0, 0);
    Set(6, "Lichtgitter_ZENO_4_Entwicklung_PRAVEK_Elektronik_GmbH_2014", 0, 0);
    Set(7, "Diagnose_Software_PC_ZENO_4_PRAVEK_GmbH_running", 0, 0);
    Set(8, "Firmware_Master_Slave_Typ_", 4, 4);
    Set(9, "Firmware_Master_Slave", 3, 3);
    Set(10, "ZENO_4_Start_Diagnosemode", 0, 0);
    Set(11, "ZENO_4_start_erkannt_warten_auf_Konfigurationsdaten", 1, 1);
    Set(12, "ZENO_4_start_erkannt", 0, 0);
    Set(13, "ZENO_4_Auslieferzustand", 0, 0);
    Set(14, "Aus-liefer-zustand_ab_Werk_PRAVEK", 0, 0);
    Set(15, ConfigTrailerText, 0, 0);
    Set(16, "Betriebsstunden_Werk", 6, 6);
    Set(17, "PC_Software_nicht_kompatibel", 2, 2);
    Set(18, "ZENO4_Empfaenger_empfangen_Werkseinstellung_", 213, 201);
    Set(19, "ZENO4_Empfaenger_empfangen_Kundeneinstellung", 153, 129);
    Set(20, "ZENO4_S_MC_FirmDaten_folgen", 3, 3);
    Set(21, "ZENO4_S_MC_FabrDaten_folgen", 64, 64);
    Set(22, "ZENO4_S_MC_KundParam_folgen", 22, 22);
    Set(23, "ZENO4_S_PC_Start_Diagnose", 0, 0);
    Set(24, "ZENO4_S_MC_Ident_Programmiertool", 0, 0);
    Set(25, "ZENO4_S_MC_Programmiertool_Ident", 0, 0);
    Set(26, "ZENO4_S_PC_DiagSoftw_Running", 0, 0);
    Set(27, "ZENO4_S_MC_warte_auf_Daten", 0, 0);
    Set(28, "ZENO4_S_PC_FabrDaten_folgen", 0, 0);
    Set(29, "ZENO4_S_PC_KundParam_folgen", 0, 0);
    Set(30, "ZENO4_S_MC_DiagDaten_folgen", 64, 52);
    Set(31, "ZENO4_S_MC_FabrDaten_gesp", 0, 0);
    Set(32, "ZENO4_S_MC_KundParam_gesp", 0, 0);

    for (unsigned char c : entries_[kw::ReceiverCyclePart].text) {
        keywordSum_ = static_cast<std::uint16_t>(keywordSum_ + c);
    }
}

void KeywordTable::Set(int id, std::string_view text, int longData, int shortData) {
    if (id < 0 || id >= Count) {
        return;
    }
    KeywordEntry& entry = entries_[static_cast<std::size_t>(id)];
    entry.text = std::string(text);
    entry.length = static_cast<int>(text.size());
    entry.shortDataLength = shortData;
    entry.shortFrameLength = entry.length + shortData;
    entry.longDataLength = longData;
    entry.longFrameLength = entry.length + longData;
}

const KeywordEntry& KeywordTable::Entry(int id) const {
    if (id < 0 || id >= Count) {
        return EmptyEntry;
    }
    return entries_[static_cast<std::size_t>(id)];
}

int KeywordTable::Find(std::span<const std::uint8_t> buffer, int id) const {
    const std::string& keyword = Entry(id).text;
    if (keyword.empty() || keyword.size() > buffer.size()) {
        return -1;
    }
    const auto equal = [](std::uint8_t byte, char c) {
        return byte == static_cast<unsigned char>(c);
    };
    const auto hit =
        std::search(buffer.begin(), buffer.end(), keyword.begin(), keyword.end(), equal);
    return hit == buffer.end() ? -1 : static_cast<int>(hit - buffer.begin());
}

} // namespace lcdiag
