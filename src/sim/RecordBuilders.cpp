#include "sim/RecordBuilders.h"

#include "sim/BeamMask.h"
#include "sim/DeviceTypes.h"
#include "sim/LiveScenes.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace lcdiag::sim {

namespace {

// A controller's records differ by seed but repeat for the same one.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : rng_(seed ^ 0x5EED0001u) {}
    int Between(int low, int high) {
        return low + static_cast<int>(rng_() % static_cast<std::uint32_t>(high - low + 1));
    }

private:
    std::mt19937 rng_;
};

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

void PutText(std::span<std::uint8_t> record, int offset, int width, std::string_view text) {
    for (int i = 0; i < width; ++i) {
        const auto index = static_cast<std::size_t>(i);
        record[static_cast<std::size_t>(offset) + index] =
            index < text.size() ? static_cast<std::uint8_t>(text[index]) : 0;
    }
}

void PutStamp(std::span<std::uint8_t> record, int offset, const Stamp& stamp) {
    const int values[] = {stamp.day,    stamp.month,  stamp.year - 2000,
                          stamp.second, stamp.minute, stamp.hour};
    for (int i = 0; i < 6; ++i) {
        record[static_cast<std::size_t>(offset + i)] = Byte(values[i]);
    }
}

void PutBig16(std::span<std::uint8_t> record, int offset, int value) {
    record[static_cast<std::size_t>(offset)] = Byte(value >> 8);
    record[static_cast<std::size_t>(offset) + 1] = Byte(value);
}

void PutComplements(std::span<std::uint8_t> record, int from, int to, int count) {
    for (int i = 0; i < count; ++i) {
        record[static_cast<std::size_t>(to + i)] =
            static_cast<std::uint8_t>(~record[static_cast<std::size_t>(from + i)]);
    }
}

// The moment `days` days before `stamp`, at the given second of that day.
Stamp DaysBefore(const Stamp& stamp, int days, int secondOfDay) {
    using namespace std::chrono;
    const sys_days from =
        year_month_day{year{stamp.year}, month{static_cast<unsigned>(stamp.month)},
                       day{static_cast<unsigned>(stamp.day)}};
    const year_month_day date{from - std::chrono::days{days}};
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            secondOfDay / 3600,
            secondOfDay / 60 % 60,
            secondOfDay % 60};
}

int WorkingSecond(Dice& dice) {
    return dice.Between(6 * 3600, 18 * 3600);
}

// When the unit was configured last, and when it left the factory: a believable past.
struct Dates {
    Stamp newest;
    Stamp production;
};

Dates DatesOf(const ControllerConfig& config) {
    Dice dice(config.seed);
    const Stamp newest = DaysBefore({2024, 5, 14}, dice.Between(0, 90), WorkingSecond(dice));
    const Stamp production = DaysBefore(newest, dice.Between(400, 900), WorkingSecond(dice));
    return {newest, production};
}

// Settings a technician would plausibly have chosen; muting profiles need variant 2 or 3.
struct Profile {
    std::uint8_t functions;
    std::uint8_t relayDelay;
    std::uint8_t special;
    std::uint8_t floatingBeams;
};

constexpr Profile StandardProfiles[] = {
    {0x01, 31, 0x90, 0}, // start interlock by button
    {0x41, 31, 0x90, 0}, // the same with beam coding A
    {0x05, 21, 0x90, 0}, // start interlock, relay control off
    {0x11, 11, 0x90, 1}, // floating blanking of one beam
    {0x09, 31, 0x90, 0}, // fixed blanking
    {0x00, 41, 0x90, 0}, // automatic restart
};
constexpr Profile MutingProfiles[] = {
    {0x01, 31, 0x98, 0}, // muting of the whole field
    {0x01, 31, 0x91, 0}, // cyclic operation
    {0x01, 31, 0x9A, 0}, // muting with restart interlock after muting
};

Profile ProfileFor(const ControllerConfig& config, int age) {
    const auto pick = static_cast<std::size_t>(config.seed) + static_cast<std::size_t>(age);
    if (config.firmware.typeDigit >= 2 && age % 2 == 0) {
        return MutingProfiles[pick % std::size(MutingProfiles)];
    }
    return StandardProfiles[pick % std::size(StandardProfiles)];
}

ReceiverCustomerRecord BuildCustomer(const ControllerConfig& config,
                                     const ReceiverFactoryRecord& factory, Profile profile,
                                     const Stamp& activated, int pcMinor) {
    namespace c = receiver_customer;
    namespace f = receiver_factory;
    ReceiverCustomerRecord record{};
    const auto at = [&record](int offset) -> std::uint8_t& {
        return record[static_cast<std::size_t>(offset)];
    };
    at(c::Functions) = profile.functions;
    at(c::MutingBits) = 12;
    at(c::RelayDelay) = profile.relayDelay;
    at(c::Special) = profile.special;
    at(c::ClockCycles) = 2;
    at(c::ClockTime) = 30;
    at(c::InterruptionTime) = 100;
    PutBig16(record, c::MutingCycleTime, 300);
    at(c::Concurrency) = 20;
    PutBig16(record, c::ConveyorStop, 300);
    at(c::OverrideTime) = 180;
    at(c::ProtocolNumber) = 1;
    at(c::FloatingBeams) = profile.floatingBeams;
    for (int offset : c::SingleSettings) {
        PutComplements(record, offset, offset + 1, 1);
    }
    for (int offset : c::WideSettings) {
        PutComplements(record, offset, offset + 2, 2);
    }
    std::copy_n(factory.begin() + f::PresenceMask, MaskBytes, record.begin() + c::BlankingMask);
    std::copy_n(factory.begin() + f::PresenceMask, MaskBytes, record.begin() + c::MutingMask);
    if ((profile.functions & c::FixedBlanking) != 0) {
        const BeamZone zone = BlankedZoneOf(factory[f::BeamCount]);
        ClearBeams(std::span(record).subspan(c::BlankingMask, MaskBytes), zone.first, zone.count);
    }
    if (factory[f::DeviceType] == 7) {
        at(c::BlankingMask) = 128;
    }
    PutComplements(record, c::BlankingMask, c::BlankingComplement, MaskBytes);
    PutComplements(record, c::MutingMask, c::MutingComplement, MaskBytes);
    PutStamp(record, c::Stamp, activated);
    const bool mutingMark = config.firmware.typeDigit >= 2 && config.firmware.version >= 133 &&
                            (profile.special & c::Muting) != 0;
    at(c::MultipleInterruption) = mutingMark ? 'M' : 0;
    PutComplements(record, c::MultipleInterruption, c::MultipleInterruption + 1, 1);
    at(c::PcVersion) = 3;
    at(c::PcVersion + 1) = Byte(pcMinor);
    return record;
}

} // namespace

std::uint8_t ReverseBits(std::uint8_t byte) {
    std::uint8_t reversed = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if ((byte & (1 << bit)) != 0) {
            reversed = static_cast<std::uint8_t>(reversed | (0x80 >> bit));
        }
    }
    return reversed;
}

ReceiverFactoryRecord BuildReceiverFactory(const ControllerConfig& config,
                                           const RecordCodec& codec) {
    namespace f = receiver_factory;
    // Bytes 2 to 20 as every module template carries them.
    static constexpr std::uint8_t ModuleDefaults[] = {4, 2,   31, 'K', 25,  5,  10, 100, 50, 'E',
                                                      1, 'A', 20, 5,   100, 30, 2,  0,   0};
    ReceiverFactoryRecord record{};
    const DeviceTypeInfo& type = DeviceTypeOf(config.deviceType);
    const int beams = ResolvedBeamCount(config);
    const auto at = [&record](int offset) -> std::uint8_t& {
        return record[static_cast<std::size_t>(offset)];
    };
    at(f::BeamCount) = Byte(beams);
    PutComplements(record, f::BeamCount, f::BeamCount + 1, 1);
    std::copy(std::begin(ModuleDefaults), std::end(ModuleDefaults),
              record.begin() + f::ModuleDefaults);
    if (type.code >= 3 && type.code <= 5) {
        at(f::OutputOnDelay) = 25;
        at(f::EdmStartDelay) = 35;
    }
    at(f::DeviceType) = Byte(type.code);
    at(f::BlankingBeamsMax) = Byte(std::max(0, beams - 1));
    if (config.firmware.typeDigit >= 2) {
        PutBig16(record, f::MutingCycleMax, 3600);
        PutBig16(record, f::ConveyorStopMax, 600);
    }
    // A single-beam grid has two beams present: its emitter and receiver channel.
    SetBeams(std::span(record).subspan(f::PresenceMask, MaskBytes), 1, type.code == 7 ? 2 : beams);
    PutComplements(record, f::PresenceMask, f::PresenceComplement, MaskBytes);
    PutStamp(record, f::ProductionStamp, DatesOf(config).production);
    PutText(record, f::HardwareVersion, 2, "12");
    const std::string digits = config.firmware.Digits();
    PutText(record, f::SoftwareVersion, 2, digits.substr(0, 2));
    PutText(record, f::SerialNumber, f::SerialLength, config.serialNumber);
    PutText(record, f::Designation, 20,
            Designation(Unit::Receiver, type.code, beams, config.firmware.typeDigit));
    PutText(record, f::Tester, 10, "QS-L4 07");
    PutText(record, f::Notes, 60, "Burn-in 48 h passed, optics lot 23/07");
    at(f::PcVersion) = 3;
    at(f::PcVersion + 1) = 2;
    const bool multiple = config.firmware.typeDigit >= 2 && config.firmware.version == 132;
    at(f::MultipleInterruption) = multiple ? 'M' : 0;
    at(f::Mark) = 'T';
    at(f::TypeDigit) = Byte('0' + std::clamp(config.firmware.typeDigit, 1, 9));
    codec.WriteChecksum(record, BlockKind::Factory, Layout::Long);
    return record;
}

std::array<std::optional<ReceiverCustomerRecord>, 8>
BuildReceiverHistory(const ControllerConfig& config, const ReceiverFactoryRecord& factory,
                     const RecordCodec& codec) {
    std::array<std::optional<ReceiverCustomerRecord>, 8> ring;
    Dice dice(config.seed + 1);
    Stamp activated = DatesOf(config).newest;
    auto hours = static_cast<int>(config.operatingHours) - dice.Between(20, 400);
    const int stored = std::clamp(config.storedConfigurations, 1, 8);
    for (int age = 0; age < stored; ++age) {
        Profile profile = ProfileFor(config, age);
        if (age == 0 && config.scenes.blankedZone) {
            profile.functions |= receiver_customer::FixedBlanking;
        }
        ReceiverCustomerRecord record =
            BuildCustomer(config, factory, profile, activated, std::max(0, 14 - age));
        codec.WriteChecksum(record, BlockKind::Customer, Layout::Long);
        WriteActivationHours(record, static_cast<std::uint32_t>(std::max(0, hours)));
        const int slot = ((config.activeSlot - age) % 8 + 8) % 8;
        ring[static_cast<std::size_t>(slot)] = record;
        const int gap = dice.Between(20, 120);
        activated = DaysBefore(activated, gap, WorkingSecond(dice));
        hours -= gap * dice.Between(6, 16);
    }
    return ring;
}

std::vector<std::uint8_t> BuildConfigTrailer(const KeywordTable& table, int number, int pointer) {
    const std::string_view pattern = table.Text(kw::ConfigTrailerTemplate);
    std::vector<std::uint8_t> trailer(pattern.begin(), pattern.end());
    trailer[10] = Byte(number);
    PutBig16(trailer, 18, pointer);
    return trailer;
}

EmitterFactoryRecord BuildEmitterFactory(const ControllerConfig& config) {
    namespace f = emitter_factory;
    EmitterFactoryRecord record{};
    const DeviceTypeInfo& type = DeviceTypeOf(config.deviceType);
    const int beams = ResolvedBeamCount(config);
    record[f::BeamCount] = Byte(beams);
    record[f::DeviceType] = Byte(type.code);
    record[f::Variant] = Byte(std::clamp(config.firmware.typeDigit, 1, 3));
    PutComplements(record, f::BeamCount, f::BeamCount + 1, 1);
    PutComplements(record, f::Variant, f::Variant + 1, 1);
    for (int i = 0; i < 7; ++i) {
        record[static_cast<std::size_t>(f::Filler + i)] = i % 2 == 0 ? 255 : 0;
    }
    PutStamp(record, f::Stamp, DatesOf(config).production);
    PutText(record, f::HardwareVersion, 2, "12");
    PutText(record, f::SerialNumber, 10, config.serialNumber);
    PutText(record, f::Designation, 20,
            Designation(Unit::Emitter, type.code, beams, config.firmware.typeDigit));
    PutText(record, f::Tester, 10, "QS-L4 07");
    WriteEmitterChecksum(record);
    return record;
}

EmitterCustomerRecord BuildEmitterCustomer(const ControllerConfig& config) {
    namespace c = emitter_customer;
    EmitterCustomerRecord record{};
    record[c::Coding] = 'A';
    PutComplements(record, c::Coding, c::Coding + 1, 1);
    for (int i = 0; i < 10; ++i) {
        record[static_cast<std::size_t>(c::Filler + i)] = i % 2 == 0 ? 0 : 255;
    }
    PutStamp(record, c::Stamp, DatesOf(config).newest);
    WriteEmitterChecksum(record);
    return record;
}

void WriteEmitterChecksum(std::span<std::uint8_t> record) {
    const int length = static_cast<int>(record.size());
    if (length < 4) {
        return;
    }
    PutBig16(record, length - 4, 0xFFFF);
    PutBig16(record, length - 2, 0);
    int sum = 0;
    for (std::uint8_t byte : record) {
        sum += byte;
    }
    PutBig16(record, length - 2, sum & 0xFFFF);
    PutBig16(record, length - 4, 0xFFFF - (sum & 0xFFFF));
}

bool EmitterChecksumValid(std::span<const std::uint8_t> record) {
    if (record.size() < 4) {
        return false;
    }
    int sum = 0;
    for (std::uint8_t byte : record) {
        sum += byte;
    }
    const std::size_t end = record.size();
    return (sum & 0xFFFF) == (record[end - 2] << 8 | record[end - 1]);
}

void WriteActivationHours(std::span<std::uint8_t> customer, std::uint32_t hours) {
    if (customer.size() < 6) {
        return;
    }
    const std::size_t at = customer.size() - 6;
    for (std::size_t i = 0; i < 3; ++i) {
        customer[at + i] = Byte(static_cast<int>(hours >> (16 - 8 * i)));
        customer[at + 3 + i] = static_cast<std::uint8_t>(~customer[at + i]);
    }
}

bool HasActivationHours(std::span<const std::uint8_t> customer) {
    if (customer.size() < 6) {
        return false;
    }
    const std::size_t at = customer.size() - 6;
    for (std::size_t i = 0; i < 3; ++i) {
        if ((customer[at + i] ^ 0xFF) != customer[at + 3 + i]) {
            return false;
        }
    }
    return true;
}

} // namespace lcdiag::sim
