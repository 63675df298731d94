#include "sim/RecordBuilders.h"

#include "sim/BeamMask.h"
#include "sim/DeviceTypes.h"
#include "sim/LiveScenes.h"

#include <algorithm>
#include <chrono>
#include <iterator>
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

// The longest muting cycle and conveyor stop the factory allows a muting controller, in
// seconds.
struct MutingMaxima {
    int mutingCycle = 0;
    int conveyorStop = 0;
};

// Nothing for a standard controller: it has no muting.
std::optional<MutingMaxima> MutingMaximaOf(const Firmware& firmware) {
    if (firmware.typeDigit < 2) {
        return std::nullopt;
    }
    if (firmware.WideMutingTimes()) {
        return MutingMaxima{360000, 90000}; // 100 h and 25 h: beyond 16 bits
    }
    return MutingMaxima{64800, 3600}; // 18 h and 1 h
}

// A time in seconds: bits 0-15 at `low`, bits 16-23 at `high` where the firmware has them.
void PutTime(std::span<std::uint8_t> record, int low, int high, int seconds,
             const Firmware& firmware) {
    PutBig16(record, low, seconds);
    if (firmware.WideMutingTimes()) {
        record[static_cast<std::size_t>(high)] = Byte(seconds >> 16);
    }
}

// Settings a technician would plausibly have chosen; muting profiles need variant 2 or 3.
struct Profile {
    int functions;
    int relayDelay;
    int special;
    int floatingBeams;
    int mutingCycleTime = 300;
    int conveyorStopTime = 300;
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
    {0x01, 31, 0x98, 0},               // muting of the whole field
    {0x01, 31, 0x91, 0},               // cyclic operation
    {0x01, 31, 0x9A, 0},               // muting with restart interlock after muting
    {0x01, 31, 0x9C, 0, 72000, 86400}, // a slow conveyor: long muting, conveyor stop watched
};

bool FixedBlankingFits(const ReceiverFactoryRecord& factory) {
    namespace f = receiver_factory;
    const BeamZone zone = BlankedZoneOf(factory[f::BeamCount]);
    return zone.count <= factory[f::BlankingBeamsMax] &&
           zone.first + zone.count - 1 <= factory[f::BeamCount];
}

// Whether the unit offers what the profile uses.
bool Fits(const Profile& profile, const ReceiverFactoryRecord& factory) {
    namespace c = receiver_customer;
    namespace f = receiver_factory;
    if ((profile.functions & c::FloatingBlanking) != 0 &&
        std::max(1, profile.floatingBeams) > factory[f::FloatingBeamsMax]) {
        return false;
    }
    if ((profile.functions & c::FixedBlanking) != 0 && !FixedBlankingFits(factory)) {
        return false;
    }
    return (profile.special & c::CyclicOperation) == 0 ||
           DeviceTypeOf(factory[f::DeviceType]).cyclic;
}

std::vector<int> BeamsOf(BeamZone zone) {
    std::vector<int> beams;
    for (int beam = zone.first; beam < zone.first + zone.count; ++beam) {
        beams.push_back(beam);
    }
    return beams;
}

CustomerSettings SettingsOf(const Profile& profile, const ReceiverFactoryRecord& factory,
                            const Firmware& firmware) {
    namespace c = receiver_customer;
    CustomerSettings settings;
    settings.functions = profile.functions;
    settings.relayDelay = profile.relayDelay;
    settings.special = profile.special;
    settings.floatingBeams = profile.floatingBeams;
    settings.mutingCycleTime = profile.mutingCycleTime;
    settings.conveyorStopTime = profile.conveyorStopTime;
    if (const auto maxima = MutingMaximaOf(firmware)) {
        settings.mutingCycleTime = std::min(settings.mutingCycleTime, maxima->mutingCycle);
        settings.conveyorStopTime = std::min(settings.conveyorStopTime, maxima->conveyorStop);
    }
    if ((profile.functions & c::FixedBlanking) != 0) {
        settings.blankedBeams = BeamsOf(BlankedZoneOf(factory[receiver_factory::BeamCount]));
    }
    settings.multipleInterruption =
        firmware.typeDigit >= 2 && firmware.WideMutingTimes() && (profile.special & c::Muting) != 0;
    return settings;
}

// The settings of the configuration `age` steps before the active one. The seed picks them
// among those the unit offers; the blanked-zone scene blanks its zone in the active one.
CustomerSettings SettingsFor(const ControllerConfig& config, const ReceiverFactoryRecord& factory,
                             int age) {
    if (age == 0 && config.activeSettings) {
        return *config.activeSettings;
    }
    const bool muting = config.firmware.typeDigit >= 2 && age % 2 == 0;
    std::vector<Profile> offered;
    std::ranges::copy_if(muting ? std::span<const Profile>(MutingProfiles)
                                : std::span<const Profile>(StandardProfiles),
                         std::back_inserter(offered),
                         [&factory](const Profile& p) { return Fits(p, factory); });
    const auto pick = static_cast<std::size_t>(config.seed) + static_cast<std::size_t>(age);
    Profile profile = offered[pick % offered.size()];
    if (age == 0 && config.scenes.blankedZone && FixedBlankingFits(factory)) {
        profile.functions |= receiver_customer::FixedBlanking;
    }
    return SettingsOf(profile, factory, config.firmware);
}

// Clears the listed beams in a copy of the presence mask.
void PutMask(std::span<std::uint8_t> record, int offset, const ReceiverFactoryRecord& factory,
             const std::vector<int>& cleared) {
    const auto mask = record.subspan(static_cast<std::size_t>(offset), MaskBytes);
    std::copy_n(factory.begin() + receiver_factory::PresenceMask, MaskBytes, mask.begin());
    for (int beam : cleared) {
        ClearBeams(mask, beam, 1);
    }
}

ReceiverCustomerRecord BuildCustomer(const ControllerConfig& config,
                                     const ReceiverFactoryRecord& factory,
                                     const CustomerSettings& settings, const Stamp& activated,
                                     int pcMinor) {
    namespace c = receiver_customer;
    ReceiverCustomerRecord record{};
    const auto at = [&record](int offset) -> std::uint8_t& {
        return record[static_cast<std::size_t>(offset)];
    };
    at(c::Functions) = Byte(settings.functions);
    at(c::MutingBits) = Byte(settings.mutingBits);
    at(c::RelayDelay) = Byte(settings.relayDelay);
    at(c::Special) = Byte(settings.special);
    at(c::ClockCycles) = Byte(settings.clockCycles);
    at(c::ClockTime) = Byte(settings.clockCycleTime);
    at(c::InterruptionTime) = Byte(settings.interruptionTime);
    PutTime(record, c::MutingCycleTime, c::MutingCycleTimeHigh, settings.mutingCycleTime,
            config.firmware);
    at(c::Concurrency) = Byte(settings.sensorConcurrency);
    PutTime(record, c::ConveyorStop, c::ConveyorStopHigh, settings.conveyorStopTime,
            config.firmware);
    at(c::OverrideTime) = Byte(settings.overrideTime);
    at(c::ProtocolNumber) = Byte(settings.busProtocol);
    at(c::FloatingBeams) = Byte(settings.floatingBeams);
    for (int offset : c::SingleSettings) {
        PutComplements(record, offset, offset + 1, 1);
    }
    for (int offset : c::WideSettings) {
        PutComplements(record, offset, offset + 2, 2);
    }
    PutMask(record, c::BlankingMask, factory, settings.blankedBeams);
    PutMask(record, c::MutingMask, factory, settings.mutedBeams);
    if (factory[receiver_factory::DeviceType] == 7) {
        at(c::BlankingMask) = 128;
    }
    PutComplements(record, c::BlankingMask, c::BlankingComplement, MaskBytes);
    PutComplements(record, c::MutingMask, c::MutingComplement, MaskBytes);
    PutStamp(record, c::Stamp, activated);
    at(c::MultipleInterruption) = settings.multipleInterruption ? 'M' : 0;
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
    // Never the synchronisation beam.
    at(f::FloatingBeamsMax) = Byte(std::clamp(type.floatingMax, 0, beams - 1));
    at(f::BlankingBeamsMax) = Byte(std::max(0, beams - 1));
    const MutingMaxima maxima = MutingMaximaOf(config.firmware).value_or(MutingMaxima{});
    PutTime(record, f::MutingCycleMax, f::MutingCycleMaxHigh, maxima.mutingCycle, config.firmware);
    PutTime(record, f::ConveyorStopMax, f::ConveyorStopMaxHigh, maxima.conveyorStop,
            config.firmware);
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
    at(f::MultipleInterruption) = config.forcedMultipleInterruption ? 'M' : 0;
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
        ReceiverCustomerRecord record = BuildCustomer(
            config, factory, SettingsFor(config, factory, age), activated, std::max(0, 14 - age));
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
