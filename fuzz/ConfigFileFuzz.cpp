// Configuration files as users bring them: arbitrary bytes read for a connected receiver and
// for a connected emitter. The first byte chooses the connected receiver's firmware and
// variant, and whether the records' checksums are made right first, so that the rules behind
// the checksums are reached too. An accepted record must carry a valid checksum.
#include "core/files/ConfigFile.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <variant>
#include <vector>

namespace {

using namespace lcdiag;

class Clock : public PcClock {
public:
    CalendarTime Now() const override { return {2026, 12, 31, 23, 59, 58}; }
};

ConfigReceiver Receiver(std::uint8_t choice) {
    static constexpr std::array<int, 4> versions{131, 132, 133, 140};
    ConfigReceiver unit;
    unit.firmware = {versions[choice & 3], 1 + (choice >> 2 & 1)};
    ReceiverFactoryRecord& f = unit.factory;
    f.SetByte(ReceiverFactoryField::BeamCount, 32);
    f.SetByte(ReceiverFactoryField::CableRestart, 'K');
    f.SetByte(ReceiverFactoryField::Cascading, 'A');
    f.SetByte(ReceiverFactoryField::DeviceType, 3);
    f.SetNumber(ReceiverFactoryField::MutingCycleTime, 600);
    f.SetNumber(ReceiverFactoryField::ConveyorStopTime, 300);
    f.SetByte(ReceiverFactoryField::MutingCycleTimeHigh, 1);
    f.SetByte(ReceiverFactoryField::MultipleInterruption, (choice & 16) != 0 ? 'M' : 0);
    f.SetByte(ReceiverFactoryField::Mark, 'T');
    f.SetByte(ReceiverFactoryField::FirmwareType,
              static_cast<std::uint8_t>('0' + unit.firmware.typeDigit));
    return unit;
}

ConfigEmitter Emitter() {
    ConfigEmitter unit;
    unit.factory.SetByte(EmitterFactoryField::BeamCount, 24);
    unit.factory.SetByte(EmitterFactoryField::DeviceType, 5);
    return unit;
}

// Rewrites the checksums of the records a file of this header holds, where the bytes reach.
void Seal(std::vector<std::uint8_t>& file, const RecordCodec& codec) {
    if (file.size() < 10) {
        return;
    }
    const std::span<std::uint8_t> records = std::span(file).subspan(10);
    const auto seal = [&](std::size_t at, std::size_t size, BlockKind kind, Layout layout) {
        if (records.size() >= at + size) {
            codec.WriteChecksum(records.subspan(at, size), kind, layout);
        }
    };
    if (file[3] == 'E') {
        for (auto [at, size] : {std::pair<std::size_t, std::size_t>{0, 64}, {64, 22}}) {
            if (records.size() >= at + size) {
                RecordCodec::WriteRecordChecksum(records.subspan(at, size));
            }
        }
    } else if (file[4] == 1) {
        seal(0, 200, BlockKind::Factory, Layout::Short);
        seal(200, 128, BlockKind::Customer, Layout::Short);
    } else {
        seal(0, 212, BlockKind::Factory, Layout::Long);
        seal(212, 152, BlockKind::Customer, Layout::Long);
    }
}

void Check(const ConfigFileImport& import, const RecordCodec& codec) {
    if (const auto* record = std::get_if<ReceiverCustomerRecord>(&import)) {
        if (!codec.TestChecksum(record->bytes, BlockKind::Customer, Layout::Long)) {
            std::abort();
        }
    } else if (const auto* record = std::get_if<EmitterCustomerRecord>(&import)) {
        if (!RecordCodec::TestRecordChecksum(record->bytes)) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const KeywordTable table;
    static const RecordCodec codec(table.KeywordSum());
    static const Clock clock;
    const std::uint8_t choice = data[0];
    std::vector<std::uint8_t> file(data + 1, data + size);
    if ((choice & 8) != 0) {
        Seal(file, codec);
    }
    for (const ConnectedUnit& unit : {ConnectedUnit{Receiver(choice)}, ConnectedUnit{Emitter()}}) {
        Check(ReadConfigFile(file, unit, codec, clock, {1, 2}), codec);
    }
    return 0;
}
