#pragma once

// Customer records built here by hand, byte by byte, to compare with what the simulated
// controller stored after a transfer from the settings pages.
#include "core/protocol/ConnectionController.h"
#include "sim/RecordBuilders.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lcdiag::test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t FactoryMask = 27; // the factory record's beam presence mask
inline constexpr std::size_t BlankingMask = 36;
inline constexpr std::size_t MutingMask = 84;

// The moment the tests' PC clock gives: day, month, year - 2000, second, minute, hour.
inline constexpr std::uint8_t PcStamp[] = {6, 12, 26, 15, 30, 9};

// Every redundant byte of a receiver customer record written as the complement of its value;
// the operating hours stay as they are.
inline void WriteComplements(Bytes& record) {
    for (std::size_t at = 0; at < 36; at += 2) {
        if (at == 14 || at == 20) {
            record[at + 2] = static_cast<std::uint8_t>(~record[at]);
            record[at + 3] = static_cast<std::uint8_t>(~record[at + 1]);
            at += 2;
            continue;
        }
        record[at + 1] = static_cast<std::uint8_t>(~record[at]);
    }
    for (std::size_t i = 0; i < 24; ++i) {
        record[60 + i] = static_cast<std::uint8_t>(~record[36 + i]);
        record[108 + i] = static_cast<std::uint8_t>(~record[84 + i]);
    }
    record[139] = static_cast<std::uint8_t>(~record[138]);
}

// The date and time of the PC as the tests fix it, then the program's version and the sum.
inline void Finish(Bytes& record, const ConnectionController& link) {
    std::copy(std::begin(PcStamp), std::end(PcStamp), record.begin() + 132);
    record[140] = 1;
    record[141] = 40;
    std::fill(record.begin() + 146, record.end(), std::uint8_t{0});
    WriteComplements(record);
    link.Codec().WriteChecksum(record, BlockKind::Customer, Layout::Long);
}

// Both masks as the factory record says: no beam blanked, the whole field muted.
inline void PutFactoryMasks(Bytes& record, const Bytes& factory) {
    std::copy_n(factory.begin() + FactoryMask, 24, record.begin() + BlankingMask);
    std::copy_n(factory.begin() + FactoryMask, 24, record.begin() + MutingMask);
}

// Beam counted from 0.
inline void ClearBeam(Bytes& record, std::size_t maskStart, int beam) {
    record[maskStart + static_cast<std::size_t>(beam / 8)] &=
        static_cast<std::uint8_t>(~(0x80 >> (beam % 8)));
}

// The emitter's record: its beam coding, the fillers, the PC's moment and the sum.
inline Bytes EmitterByHand(bool beamCodingA) {
    Bytes record(22, 0);
    record[0] = beamCodingA ? 'b' : 'A';
    for (std::size_t at = 0; at < 12; at += 2) {
        record[at + 1] = static_cast<std::uint8_t>(~record[at]);
    }
    std::copy(std::begin(PcStamp), std::end(PcStamp), record.begin() + 12);
    sim::WriteEmitterChecksum(record);
    return record;
}

inline std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace lcdiag::test
