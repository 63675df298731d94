#include "core/files/ConfigFile.h"

#include "../app/AppTestSupport.h"
#include "../device/FixedClock.h"
#include "core/app/BuiltinTexts.h"
#include "core/device/CustomerRecordBuilder.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using CF = ReceiverCustomerField;
using RF = ReceiverFactoryField;
using ECF = EmitterCustomerField;
using EF = EmitterFactoryField;
using Bytes = std::vector<std::uint8_t>;

// The moment of the import; every value differs, so a stamp in another order shows.
constexpr CalendarTime ImportTime{2026, 11, 24, 13, 45, 56};
// Day, month, year - 2000, second, minute, hour.
constexpr std::array<std::uint8_t, 6> ImportStamp{24, 11, 26, 56, 45, 13};
constexpr PcSoftwareVersion PcVersion{4, 7};

// The rows of the rule tables change the fixture's records, so they are public.
class ConfigFileTest : public ::testing::Test {
public:
    ConfigFileTest() {
        factory.SetByte(RF::BeamCount, 32);
        factory.SetByte(RF::CableRestart, 'K');
        factory.SetByte(RF::Cascading, 'A');
        factory.SetByte(RF::FloatingBeamsMax, 2);
        factory.SetByte(RF::DeviceType, 3);
        factory.SetByte(RF::BlankingBeamsMax, 4);
        factory.SetNumber(RF::MutingCycleTime, 600);
        factory.SetNumber(RF::ConveyorStopTime, 300);
        factory.SetMask(RF::BeamPresenceMask, BeamMask::FirstBeams(32));
        factory.SetByte(RF::Mark, 'T');
        factory.SetByte(RF::FirmwareType, '2');
        factory.WriteComplements();
        Seal(factory);
        const test::FixedClock exportClock;
        customer =
            BuildDefaultReceiverRecord(factory, factory, {firmware, {3, 99}, exportClock, codec});
        connected = {firmware, factory, std::nullopt};
    }

    void Seal(ReceiverFactoryRecord& record) const {
        codec.WriteChecksum(record.bytes, BlockKind::Factory, Layout::Long);
    }
    void Seal(ReceiverCustomerRecord& record) const {
        codec.WriteChecksum(record.bytes, BlockKind::Customer, Layout::Long);
    }

    // The file a receiver with these records and firmware writes.
    Bytes ReceiverFile() const {
        return *WriteConfigFile(ConfigReceiver{firmware, factory, customer});
    }

    ConfigFileImport Read(const Bytes& file, const ConnectedUnit& unit) const {
        return ReadConfigFile(file, unit, codec, clock, PcVersion);
    }
    ConfigFileImport Read(const Bytes& file) const { return Read(file, connected); }

    KeywordTable table;
    RecordCodec codec{table.KeywordSum()};
    test::FixedClock clock{ImportTime};
    ControllerFirmware firmware{133, 2}; // of the unit that wrote the file
    ReceiverFactoryRecord factory;       // the file's records
    ReceiverCustomerRecord customer;
    ConfigReceiver connected; // the unit that reads it
};

// The imported record, when the file was accepted.
template <typename Result> std::optional<Result> Accepted(const ConfigFileImport& import) {
    const auto* record = std::get_if<Result>(&import);
    return record != nullptr ? std::optional(*record) : std::nullopt;
}

std::optional<ConfigFileRefusal> RefusalOf(const ConfigFileImport& import) {
    const auto* refusal = std::get_if<ConfigFileRefusal>(&import);
    return refusal != nullptr ? std::optional(*refusal) : std::nullopt;
}

bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::ranges::equal(a, b);
}

TEST_F(ConfigFileTest, ReceiverFileHoldsTheRecordsAsHeldAndReadsBackRenewed) {
    customer.SetByte(CF::FunctionBits, function_bit::FloatingMoreBeams);
    customer.SetNumber(CF::OperatingHours, 0x123456);
    Seal(customer);
    const Bytes file = ReceiverFile();
    ASSERT_EQ(file.size(), 374u);
    const Bytes start{'Z', 'C', 'F', 'R', 2, '2', 133, 0, 0, 0};
    EXPECT_TRUE(Same(std::span(file).first(10), start));
    EXPECT_TRUE(Same(std::span(file).subspan(10, 212), factory.bytes));
    EXPECT_TRUE(Same(std::span(file).subspan(222), customer.bytes));

    const auto record = Accepted<ReceiverCustomerRecord>(Read(file));
    ASSERT_TRUE(record);
    EXPECT_TRUE(Same(std::span(record->bytes).first(132), std::span(customer.bytes).first(132)));
    EXPECT_TRUE(Same(record->Bytes(CF::ActivationStamp), ImportStamp));
    EXPECT_EQ(record->Byte(CF::MultipleInterruption), 'M');
    EXPECT_EQ(record->Byte(CF::MultipleInterruptionComplement), 255 - 'M');
    EXPECT_EQ(record->Byte(CF::PcVersionMajor), 4);
    EXPECT_EQ(record->Byte(CF::PcVersionMinor), 7);
    EXPECT_TRUE(std::ranges::all_of(std::span(record->bytes).last(6),
                                    [](std::uint8_t byte) { return byte == 0; }));
    EXPECT_TRUE(codec.TestChecksum(record->bytes, BlockKind::Customer, Layout::Long));
}

TEST_F(ConfigFileTest, ReceiverWithoutCurrentConfigurationIsNotExported) {
    EXPECT_FALSE(WriteConfigFile(connected));
    const test::TempFolder temp;
    EXPECT_EQ(ExportConfigFile(temp / "unit.zcf", connected), ConfigExport::NoCurrentConfiguration);
    EXPECT_FALSE(std::filesystem::exists(temp / "unit.zcf"));
}

// A device with the short layout wrote version 1: both records narrowed, their own checksums.
TEST_F(ConfigFileTest, ShortLayoutFileIsWidenedAndImported) {
    customer.SetMask(CF::FixedBlankingMask, BeamMask::FirstBeams(30));
    customer.WriteComplements();
    Seal(customer);
    Bytes file{'Z', 'C', 'F', 'R', 1, '2', 133, 0, 0, 0};
    Bytes shortFactory(200);
    Bytes shortCustomer(128);
    ASSERT_TRUE(codec.Encode(factory.bytes, shortFactory, Layout::Short, BlockKind::Factory));
    ASSERT_TRUE(codec.Encode(customer.bytes, shortCustomer, Layout::Short, BlockKind::Customer));
    file.insert(file.end(), shortFactory.begin(), shortFactory.end());
    file.insert(file.end(), shortCustomer.begin(), shortCustomer.end());
    ASSERT_EQ(file.size(), 338u);

    const auto record = Accepted<ReceiverCustomerRecord>(Read(file));
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, *Accepted<ReceiverCustomerRecord>(Read(ReceiverFile())));

    for (std::size_t at : {std::size_t{10 + 100}, std::size_t{210 + 40}}) {
        Bytes broken = file;
        ++broken[at];
        EXPECT_EQ(RefusalOf(Read(broken)), ConfigFileRefusal::NotCompatible) << at;
    }
    // A long data part announced as version 1 fails the short checksums.
    Bytes misnamed = ReceiverFile();
    misnamed[4] = 1;
    EXPECT_EQ(RefusalOf(Read(misnamed)), ConfigFileRefusal::NotCompatible);
}

TEST_F(ConfigFileTest, EachDefectOfTheFrameGivesItsOneReason) {
    const Bytes receiver = ReceiverFile();
    const auto with = [](Bytes bytes, std::size_t at, std::uint8_t value) {
        bytes[at] = value;
        return bytes;
    };
    const auto first = [](const Bytes& bytes, std::size_t count) {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
    };
    Bytes longer = receiver;
    longer.insert(longer.end(), 300, 0xA5);
    Bytes shortFile{'Z', 'C', 'F', 'R', 1};
    shortFile.resize(5 + 332);
    struct Case {
        const char* name;
        Bytes file;
        std::optional<ConfigFileRefusal> reason;
    };
    const std::vector<Case> cases{
        {"empty", {}, ConfigFileRefusal::ReadError},
        {"four bytes", first(receiver, 4), ConfigFileRefusal::ReadError},
        {"header only", first(receiver, 5), ConfigFileRefusal::ReadError},
        {"one byte short", first(receiver, 373), ConfigFileRefusal::ReadError},
        {"short layout one byte short", shortFile, ConfigFileRefusal::ReadError},
        {"magic", with(receiver, 2, 'X'), ConfigFileRefusal::NotConfigFile},
        {"magic case", with(receiver, 0, 'z'), ConfigFileRefusal::NotConfigFile},
        {"emitter letter", with(receiver, 3, 'E'), ConfigFileRefusal::NotConfigFile},
        {"version 0", with(receiver, 4, 0), ConfigFileRefusal::NotConfigFile},
        {"version 3", with(receiver, 4, 3), ConfigFileRefusal::NotConfigFile},
        {"bad header before short data", with(first(receiver, 40), 3, 'X'),
         ConfigFileRefusal::NotConfigFile},
        {"trailing bytes", longer, std::nullopt},
    };
    for (const Case& c : cases) {
        const ConfigFileImport import = Read(c.file);
        EXPECT_EQ(RefusalOf(import), c.reason) << c.name;
        if (!c.reason) {
            EXPECT_EQ(*Accepted<ReceiverCustomerRecord>(import),
                      *Accepted<ReceiverCustomerRecord>(Read(receiver)));
        }
    }
}

// One row per rule: a change to the file's records, its firmware or the connected unit, and
// whether the file still fits. The file's records are sealed again after the change, so only
// the rule under test can refuse them.
TEST_F(ConfigFileTest, ReceiverCompatibilityRules) {
    struct Case {
        const char* name;
        std::function<void(ConfigFileTest&)> change;
        bool fits;
    };
    const auto floating = [](std::uint8_t bits, std::uint8_t count, std::uint8_t maximum) {
        return [=](ConfigFileTest& t) {
            t.customer.SetByte(CF::FunctionBits, bits);
            t.customer.SetByte(CF::FloatingBeams, count);
            t.factory.SetByte(RF::FloatingBeamsMax, maximum);
        };
    };
    const auto blanked = [](int beams, std::uint8_t maximum) {
        return [=](ConfigFileTest& t) {
            t.customer.SetMask(CF::FixedBlankingMask, BeamMask::FirstBeams(32 - beams));
            t.factory.SetByte(RF::BlankingBeamsMax, maximum);
        };
    };
    const auto connectedByte = [](RF field, std::uint8_t value) {
        return [=](ConfigFileTest& t) { t.connected.factory.SetByte(field, value); };
    };
    // File firmware, muting time (24 bits), connected firmware, connected maximum (24 bits).
    const auto muting = [](int fileVersion, std::uint32_t time, int unitVersion,
                           std::uint32_t maximum) {
        return [=](ConfigFileTest& t) {
            t.firmware.version = fileVersion;
            t.customer.SetByte(CF::MultipleInterruption, 0);
            t.customer.SetNumber(CF::MutingCycleTime, time & 0xFFFF);
            t.customer.SetByte(CF::MutingCycleTimeHigh, static_cast<std::uint8_t>(time >> 16));
            t.connected.firmware.version = unitVersion;
            t.connected.factory.SetNumber(RF::MutingCycleTime, maximum & 0xFFFF);
            t.connected.factory.SetByte(RF::MutingCycleTimeHigh,
                                        static_cast<std::uint8_t>(maximum >> 16));
        };
    };
    // Where the file keeps the mark: in the customer record from 1.33, the factory's at 1.32.
    const auto multiple = [](int fileVersion, bool customerMark, bool factoryMark, int unitVersion,
                             bool unitFactoryMark) {
        return [=](ConfigFileTest& t) {
            t.firmware.version = fileVersion;
            t.customer.SetByte(CF::MultipleInterruption, customerMark ? 'M' : 0);
            t.factory.SetByte(RF::MultipleInterruption, factoryMark ? 'M' : 0);
            t.connected.firmware.version = unitVersion;
            t.connected.factory.SetByte(RF::MultipleInterruption, unitFactoryMark ? 'M' : 0);
        };
    };
    const std::vector<Case> cases{
        {"unchanged", [](ConfigFileTest&) {}, true},
        {"beam count", connectedByte(RF::BeamCount, 33), false},
        {"device type", connectedByte(RF::DeviceType, 4), false},
        {"cascading", connectedByte(RF::Cascading, 'E'), false},
        {"cable restart", connectedByte(RF::CableRestart, 'N'), false},
        {"other bytes of the unit", connectedByte(RF::OssdOffWait, 9), true},
        {"one floating beam over 0", floating(function_bit::FloatingOneBeam, 0, 0), false},
        {"one floating beam within 1", floating(function_bit::FloatingOneBeam, 0, 1), true},
        {"more floating beams over 1", floating(function_bit::FloatingMoreBeams, 0, 1), false},
        {"both bits count as two", floating(0x30, 0, 1), false},
        {"more floating beams within 2", floating(function_bit::FloatingMoreBeams, 0, 2), true},
        {"floating count over the maximum", floating(function_bit::FloatingMoreBeams, 5, 4), false},
        {"floating count at the maximum", floating(function_bit::FloatingMoreBeams, 4, 4), true},
        {"blanked beams at the maximum", blanked(4, 4), true},
        {"blanked beams over the maximum", blanked(5, 4), false},
        {"mark", connectedByte(RF::Mark, 'X'), false},
        {"factory variant digit", connectedByte(RF::FirmwareType, '3'), false},
        {"variant", [](ConfigFileTest& t) { t.connected.firmware.typeDigit = 3; }, false},
        {"muting time at the maximum", muting(133, 600, 133, 600), true},
        {"muting time over the maximum", muting(133, 601, 133, 600), false},
        {"24-bit muting time over 16-bit maximum", muting(133, 0x10000, 133, 0xFFFF), false},
        {"24-bit maximum", muting(133, 0x10000, 133, 0x10000), true},
        {"1.32 file: high byte not read", muting(132, 0x10000 + 600, 133, 600), true},
        {"1.32 unit: maximum 16 bits", muting(133, 0x10000, 132, 0x1FFFF), false},
        {"conveyor stop over the maximum",
         [](ConfigFileTest& t) { t.customer.SetNumber(CF::ConveyorStopTime, 301); }, false},
        {"standard variant has no muting rules",
         [](ConfigFileTest& t) {
             t.firmware.typeDigit = 1;
             t.connected.firmware.typeDigit = 1;
             t.factory.SetByte(RF::FirmwareType, '1');
             t.connected.factory.SetByte(RF::FirmwareType, '1');
             t.customer.SetNumber(CF::MutingCycleTime, 9000);
             t.customer.SetByte(CF::MultipleInterruption, 'M');
             t.connected.firmware.version = 120;
         },
         true},
        {"1.31 unit, setting on", multiple(133, true, false, 131, false), false},
        {"1.31 unit, 1.32 setting on", multiple(132, false, true, 131, false), false},
        {"1.31 unit, setting off", multiple(133, false, true, 131, false), true},
        {"1.32 unit, both on", multiple(132, false, true, 132, true), true},
        {"1.32 unit, file on, unit off", multiple(133, true, false, 132, false), false},
        {"1.32 unit, file off, unit on", multiple(132, true, false, 132, true), false},
        {"1.31 file: no mark read", multiple(131, true, true, 132, false), true},
        {"1.33 unit takes any setting", multiple(133, true, false, 133, false), true},
    };
    const ControllerFirmware savedFirmware = firmware;
    const ReceiverFactoryRecord savedFactory = factory;
    const ReceiverCustomerRecord savedCustomer = customer;
    const ConfigReceiver savedConnected = connected;
    for (const Case& c : cases) {
        c.change(*this);
        Seal(factory);
        Seal(customer);
        EXPECT_EQ(RefusalOf(Read(ReceiverFile())),
                  c.fits ? std::nullopt : std::optional(ConfigFileRefusal::NotCompatible))
            << c.name;
        firmware = savedFirmware;
        factory = savedFactory;
        customer = savedCustomer;
        connected = savedConnected;
    }
}

TEST_F(ConfigFileTest, BrokenChecksumsAreNotCompatible) {
    // Bytes no other rule reads: the serial number, the muting area, the PC version.
    for (std::size_t at : {std::size_t{10 + 90}, std::size_t{222 + 90}, std::size_t{222 + 140}}) {
        Bytes file = ReceiverFile();
        file[at] ^= 0x01;
        EXPECT_EQ(RefusalOf(Read(file)), ConfigFileRefusal::NotCompatible) << at;
    }
    // The operating hours lie outside the customer checksum.
    Bytes file = ReceiverFile();
    file[222 + 147] = 9;
    EXPECT_EQ(RefusalOf(Read(file)), std::nullopt);
}

// Firmware 1.33 keeps the mark in the customer record: a 1.32 file's factory mark moves there.
TEST_F(ConfigFileTest, MultipleInterruptionIsCarriedIntoLaterFirmware) {
    struct Case {
        int fileVersion;
        std::uint8_t customerMark;
        std::uint8_t factoryMark;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {132, 0, 'M', 'M'}, {132, 'M', 0, 0},   {133, 'M', 0, 'M'},
        {133, 0, 'M', 0},   {131, 'M', 'M', 0},
    };
    connected.firmware.version = 134;
    for (const Case& c : cases) {
        firmware.version = c.fileVersion;
        customer.SetByte(CF::MultipleInterruption, c.customerMark);
        customer.WriteComplement(CF::MultipleInterruptionComplement);
        factory.SetByte(RF::MultipleInterruption, c.factoryMark);
        Seal(factory);
        Seal(customer);
        const auto record = Accepted<ReceiverCustomerRecord>(Read(ReceiverFile()));
        ASSERT_TRUE(record) << c.fileVersion;
        EXPECT_EQ(record->Byte(CF::MultipleInterruption), c.expected) << c.fileVersion;
        EXPECT_TRUE(record->ComplementMatches(CF::MultipleInterruptionComplement));
        EXPECT_TRUE(codec.TestChecksum(record->bytes, BlockKind::Customer, Layout::Long));
    }
}

class EmitterConfigFileTest : public ConfigFileTest {
public:
    EmitterConfigFileTest() {
        emitterFactory.SetByte(EF::BeamCount, 24);
        emitterFactory.SetByte(EF::DeviceType, 5);
        emitterFactory.SetByte(EF::Variant, 2);
        emitterFactory.WriteComplements();
        emitterFactory.SetText(EF::SerialNumber, "E-0815");
        RecordCodec::WriteRecordChecksum(emitterFactory.bytes);
        emitterCustomer = BuildEmitterCustomerRecord(true, test::FixedClock{});
        emitterCustomer.SetByte(ECF::Unused4, 7); // kept as the file has it
        RecordCodec::WriteRecordChecksum(emitterCustomer.bytes);
    }

    ConfigEmitter Emitter() const { return {{117, 1}, emitterFactory, emitterCustomer}; }
    Bytes EmitterFile() const { return *WriteConfigFile(Emitter()); }

    EmitterFactoryRecord emitterFactory;
    EmitterCustomerRecord emitterCustomer;
};

TEST_F(EmitterConfigFileTest, FileHoldsTheRecordsAndReadsBackStampedInTheRecordsLayout) {
    const Bytes file = EmitterFile();
    ASSERT_EQ(file.size(), 96u);
    const Bytes start{'Z', 'C', 'F', 'E', 1, '1', 117, 0, 0, 0};
    EXPECT_TRUE(Same(std::span(file).first(10), start));
    EXPECT_TRUE(Same(std::span(file).subspan(10, 64), emitterFactory.bytes));
    EXPECT_TRUE(Same(std::span(file).subspan(74), emitterCustomer.bytes));

    const auto record = Accepted<EmitterCustomerRecord>(Read(file, Emitter()));
    ASSERT_TRUE(record);
    EXPECT_TRUE(
        Same(std::span(record->bytes).first(12), std::span(emitterCustomer.bytes).first(12)));
    // Day, month, year - 2000, second, minute, hour, as the emitter reads every stamp.
    EXPECT_TRUE(Same(record->Bytes(ECF::Stamp), ImportStamp));
    const int sum = std::accumulate(record->bytes.begin(), record->bytes.begin() + 18, 0) + 510;
    EXPECT_EQ(record->Number(ECF::Checksum), static_cast<std::uint32_t>(sum & 0xFFFF));
    EXPECT_EQ(record->Number(ECF::ChecksumComplement),
              static_cast<std::uint32_t>(0xFFFF - (sum & 0xFFFF)));
}

TEST_F(EmitterConfigFileTest, EachDefectGivesItsOneReason) {
    const Bytes file = EmitterFile();
    const auto with = [&](std::size_t at, std::uint8_t value) {
        Bytes bytes = file;
        bytes[at] = value;
        return bytes;
    };
    const auto fromFactory = [&](EF field, std::uint8_t value) {
        ConfigEmitter other = Emitter();
        other.factory.SetByte(field, value);
        RecordCodec::WriteRecordChecksum(other.factory.bytes);
        return *WriteConfigFile(other);
    };
    Bytes longer = file;
    longer.push_back(1);
    struct Case {
        const char* name;
        Bytes file;
        std::optional<ConfigFileRefusal> reason;
    };
    const std::vector<Case> cases{
        {"one byte short", Bytes(file.begin(), file.end() - 1), ConfigFileRefusal::ReadError},
        {"receiver file", ReceiverFile(), ConfigFileRefusal::NotConfigFile},
        {"version 2", with(4, 2), ConfigFileRefusal::NotConfigFile},
        {"magic", with(1, 'c'), ConfigFileRefusal::NotConfigFile},
        {"factory checksum", with(10 + 30, 'x'), ConfigFileRefusal::NotCompatible},
        {"customer checksum", with(74 + 12, 99), ConfigFileRefusal::NotCompatible},
        {"beam count", fromFactory(EF::BeamCount, 32), ConfigFileRefusal::NotCompatible},
        {"resolution", fromFactory(EF::DeviceType, 6), ConfigFileRefusal::NotCompatible},
        {"variant is not compared", fromFactory(EF::Variant, 3), std::nullopt},
        {"trailing byte", longer, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RefusalOf(Read(c.file, Emitter())), c.reason) << c.name;
    }
    // An emitter file offered to a receiver is no configuration file for it either.
    EXPECT_EQ(RefusalOf(Read(file)), ConfigFileRefusal::NotConfigFile);
}

TEST_F(ConfigFileTest, ExportAndImportGoThroughFiles) {
    const test::TempFolder temp;
    const ConfigReceiver unit{firmware, factory, customer};
    ASSERT_EQ(ExportConfigFile(temp / "unit.zcf", unit), ConfigExport::Written);
    EXPECT_EQ(test::ReadFile(temp / "unit.zcf"), ReceiverFile());
    EXPECT_EQ(ExportConfigFile(temp / "missing" / "unit.zcf", unit), ConfigExport::WriteError);

    const auto import = [&](const std::filesystem::path& path) {
        return ImportConfigFile(path, connected, codec, clock, PcVersion);
    };
    const std::optional<ConfigFileImport> read = import(temp / "unit.zcf");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, Read(ReceiverFile()));
    EXPECT_FALSE(import(temp / "other.zcf"));
    EXPECT_EQ(RefusalOf(*import(temp.Path())), ConfigFileRefusal::ReadError);
    Bytes longer = ReceiverFile();
    longer.resize(5000, 0xFF);
    test::WriteFile(temp / "long.zcf", longer);
    EXPECT_EQ(*import(temp / "long.zcf"), *read);
}

TEST(ConfigFileName, AppendsTheExtensionOnlyToANameWithout) {
    const std::pair<std::string, std::string> cases[] = {
        {"unit", "unit.zcf"},
        {"unit.", "unit.zcf"},
        {"unit.zcf", "unit.zcf"},
        {"unit.txt", "unit.txt"},
        {"dir.v2/unit", "dir.v2/unit.zcf"},
        {".hidden", ".hidden.zcf"},
        {"", ""},
    };
    for (const auto& [chosen, expected] : cases) {
        EXPECT_EQ(ConfigFileName(chosen), expected) << chosen;
    }
}

TEST(ConfigFileMessages, NameTheSystemsTexts) {
    const std::pair<TextId, std::string> cases[] = {
        {RefusalText(ConfigFileRefusal::ReadError), "Error reading the selected file!"},
        {RefusalText(ConfigFileRefusal::NotConfigFile),
         "The selected file is not a valid configuration file!"},
        {RefusalText(ConfigFileRefusal::NotCompatible),
         "The selected configuration file is not compatible with the connected light "
         "curtain!\r\nNo settings will be transfered."},
        {ConfigFileNotFoundText, "The selected file could not be found!"},
        {ConfigWriteErrorText, "Error writing to the selected file!"},
        {ConfigExportedText, "The current settings of the light curtain have been exported!"},
        {ConfigImportedText, "The settings from the selected file have been imported "
                             "successfully.\r\nVerify the imported settings and save them."},
    };
    for (const auto& [id, text] : cases) {
        EXPECT_EQ(BuiltinText(id), text) << id;
    }
}

} // namespace
} // namespace lcdiag
