// The File menu's configuration files against simulated units: a file exported from one unit
// becomes, renewed, the current configuration of another unit of the same model; every file or
// answer that is refused shows its one message and leaves the received data as it was.
#include "gui/editors/ConfigFileCommands.h"

#include "AppTestSupport.h"
#include "World.h"
#include "core/app/FileDialogs.h"
#include "core/files/ConfigFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace lcdiag::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr PcSoftwareVersion PcVersion{1, 40};

// The file names a user would choose; every dialog shows the configuration file filter.
class ChosenFiles final : public FileDialogs {
public:
    std::optional<std::string> ChooseFileToSave(const std::string& filter,
                                                const std::string& /*offeredName*/) override {
        filters.push_back(filter);
        return file;
    }
    std::optional<std::string> ChooseFileToOpen(const std::string& filter) override {
        filters.push_back(filter);
        return file;
    }

    std::optional<std::string> file;
    std::vector<std::string> filters;
};

sim::ControllerConfig Receiver(sim::CustomerSettings settings = {}) {
    sim::ControllerConfig config;
    config.activeSettings = settings;
    return config;
}

sim::ControllerConfig Emitter() {
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    return config;
}

// A connected unit with the commands wired as the window wires them: the user settings page
// opens (unless the password is refused) and reloads (unless told to fail).
struct Unit {
    explicit Unit(const sim::ControllerConfig& config) : world(config) {
        world.Open();
        connected =
            world.RunUntil([&] { return world.controller.State() == LinkState::Diagnosis; });
        world.dialogs.answer = MessageResult::Yes;
        world.dialogs.shown.clear(); // what the link said of invalid data
    }

    // Everything the link holds of the unit's customer records.
    Bytes Received() const {
        const ConnectionController& link = world.controller;
        Bytes bytes;
        for (int slot = 0; slot < ReceiverCustomerSet::Slots; ++slot) {
            const auto& record = link.ReceiverCustomers().Slot(slot).bytes;
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        bytes.push_back(static_cast<std::uint8_t>(link.ReceiverCustomers().ActiveRecordIndex()));
        bytes.push_back(link.ReceiverCustomers().Valid() ? 1 : 0);
        bytes.push_back(link.ReceiverCustomers().Adopted() ? 1 : 0);
        const auto& emitter = link.EmitterCustomer().bytes;
        bytes.insert(bytes.end(), emitter.begin(), emitter.end());
        bytes.push_back(link.EmitterCustomerValid() ? 1 : 0);
        return bytes;
    }

    void Export(const std::filesystem::path& file) {
        dialogs.file = file.string();
        commands.Export();
    }
    void Import(const std::filesystem::path& file) {
        dialogs.file = file.string();
        commands.Import();
    }
    std::string Text(TextId id) const { return world.texts.GetText(id); }

    e2e::World world;
    bool connected = false;
    ChosenFiles dialogs;
    bool passwordAccepted = true;
    bool reloadWorks = true;
    int opened = 0;
    int reloaded = 0;
    ConfigFileCommands commands{world.controller,
                                world.texts,
                                dialogs,
                                world.pcClock,
                                PcVersion,
                                [this] {
                                    ++opened;
                                    return passwordAccepted;
                                },
                                [this] {
                                    ++reloaded;
                                    return reloadWorks;
                                }};
};

Bytes ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class ConfigFileCommandsTest : public ::testing::Test {
protected:
    // Exports `from` to "unit.zcf" in the temporary folder and returns the file.
    std::filesystem::path Exported(Unit& from) {
        EXPECT_TRUE(from.connected);
        from.Export(temp / "unit"); // the extension is appended
        EXPECT_EQ(from.world.Messages(), std::vector<std::string>{from.Text(ConfigExportedText)});
        EXPECT_EQ(from.dialogs.filters, std::vector<std::string>{from.Text(1902)});
        return temp / "unit.zcf";
    }

    // Imports the file into `into` and expects its one refusal message (none: 0) after the
    // question, and nothing changed.
    void ExpectRefused(Unit& into, const std::filesystem::path& file, TextId message) {
        ASSERT_TRUE(into.connected);
        const Bytes before = into.Received();
        into.Import(file);
        std::vector<std::string> expected{into.Text(191)};
        if (message != 0) {
            expected.push_back(into.Text(message));
        }
        EXPECT_EQ(into.world.Messages(), expected);
        EXPECT_EQ(into.Received(), before);
        EXPECT_EQ(into.reloaded, 0);
        EXPECT_FALSE(into.world.controller.ResultPending());
    }

    TempFolder temp;
};

TEST_F(ConfigFileCommandsTest, AReceiverFileBecomesTheCurrentConfigurationOfAnotherReceiver) {
    sim::CustomerSettings edited;
    edited.relayDelay = 51;
    edited.blankedBeams = {4, 5};
    Unit from(Receiver(edited));
    const std::filesystem::path file = Exported(from);
    EXPECT_EQ(ReadFile(file).size(), 374u);
    ReceiverCustomerRecord expected = *from.world.controller.ReceiverCustomers().ActiveRecord();
    RenewReceiverRecord(expected, from.world.controller.Codec(), from.world.pcClock, PcVersion);

    Unit into{Receiver()};
    ASSERT_TRUE(into.connected);
    ASSERT_NE(into.world.controller.ReceiverCustomers().ActiveRecord()->bytes, expected.bytes);
    into.Import(file);
    const ReceiverCustomerSet& set = into.world.controller.ReceiverCustomers();
    ASSERT_NE(set.ActiveRecord(), nullptr);
    EXPECT_TRUE(set.Adopted());
    EXPECT_EQ(set.ActiveRecord()->bytes, expected.bytes);
    EXPECT_EQ(into.world.Messages(),
              (std::vector<std::string>{into.Text(191), into.Text(ConfigImportedText)}));
    EXPECT_EQ(into.world.dialogs.shown.back().kind, MessageKind::Information);
    EXPECT_EQ(into.opened, 1);
    EXPECT_EQ(into.reloaded, 1);
    EXPECT_FALSE(into.world.controller.ResultPending());
}

TEST_F(ConfigFileCommandsTest, ShortLayoutReceiverAndEmitterRoundTrip) {
    sim::ControllerConfig shortReceiver = Receiver();
    shortReceiver.layout = Layout::Short;
    for (const sim::ControllerConfig& config : {shortReceiver, Emitter()}) {
        const bool emitter = config.unit == sim::Unit::Emitter;
        SCOPED_TRACE(emitter ? "emitter" : "short receiver");
        Unit unit(config);
        const std::filesystem::path file = Exported(unit);
        EXPECT_EQ(ReadFile(file).size(), emitter ? 96u : 374u);
        unit.world.dialogs.shown.clear();

        const ConnectionController& link = unit.world.controller;
        EmitterCustomerRecord emitterRecord = link.EmitterCustomer();
        RenewEmitterRecord(emitterRecord, unit.world.pcClock);
        ReceiverCustomerRecord receiverRecord = link.ReceiverCustomers().Slot(3); // the active
        RenewReceiverRecord(receiverRecord, link.Codec(), unit.world.pcClock, PcVersion);
        unit.Import(file);
        if (emitter) {
            EXPECT_EQ(link.EmitterCustomer().bytes, emitterRecord.bytes);
        } else {
            ASSERT_NE(link.ReceiverCustomers().ActiveRecord(), nullptr);
            EXPECT_EQ(link.ReceiverCustomers().ActiveRecord()->bytes, receiverRecord.bytes);
        }
        EXPECT_EQ(unit.world.Messages(),
                  (std::vector<std::string>{unit.Text(191), unit.Text(ConfigImportedText)}));
    }
}

TEST_F(ConfigFileCommandsTest, RefusedFilesChangeNothing) {
    Unit from{Receiver()};
    const std::filesystem::path file = Exported(from);
    const Bytes good = ReadFile(file);

    Bytes bytes = good;
    bytes[0] = 'X';
    WriteFile(temp / "magic.zcf", bytes);
    Unit receiver{Receiver()};
    ExpectRefused(receiver, temp / "magic.zcf", NotConfigFileText);

    WriteFile(temp / "short.zcf", Bytes(good.begin(), good.begin() + 200));
    receiver.world.dialogs.shown.clear();
    ExpectRefused(receiver, temp / "short.zcf", ConfigReadErrorText);

    receiver.world.dialogs.shown.clear();
    ExpectRefused(receiver, temp / "none.zcf", ConfigFileNotFoundText);

    sim::ControllerConfig otherModel = Receiver();
    otherModel.deviceType = 2;
    Unit other(otherModel);
    ExpectRefused(other, file, NotCompatibleConfigText);

    Unit emitter{Emitter()};
    ExpectRefused(emitter, file, NotConfigFileText);
}

TEST_F(ConfigFileCommandsTest, NoAnswerCancelOrRefusedPasswordStopsTheImport) {
    Unit from{Receiver()};
    const std::filesystem::path file = Exported(from);

    Unit unit{Receiver()};
    unit.world.dialogs.answer = MessageResult::No;
    ExpectRefused(unit, file, 0);
    EXPECT_TRUE(unit.dialogs.filters.empty()); // no file asked for

    unit.world.dialogs.answer = MessageResult::Yes;
    unit.world.dialogs.shown.clear();
    unit.dialogs.file.reset();
    unit.commands.Import();
    EXPECT_EQ(unit.world.Messages(), std::vector<std::string>{unit.Text(191)});
    EXPECT_EQ(unit.reloaded, 0);

    unit.world.dialogs.shown.clear();
    unit.passwordAccepted = false;
    const Bytes before = unit.Received();
    unit.Import(file);
    EXPECT_TRUE(unit.world.Messages().empty());
    EXPECT_EQ(unit.Received(), before);
}

// A page that does not load again leaves the adopted record and reports result code 8.
TEST_F(ConfigFileCommandsTest, AFailedReloadIsReportedThroughTheResultReporter) {
    Unit from{Receiver()};
    const std::filesystem::path file = Exported(from);
    Unit unit{Receiver()};
    unit.reloadWorks = false;
    unit.Import(file);
    EXPECT_EQ(unit.world.Messages(), std::vector<std::string>{unit.Text(191)});
    EXPECT_TRUE(unit.world.controller.ReceiverCustomers().Adopted());
    ASSERT_TRUE(unit.world.controller.ResultPending());
    unit.world.Run(20);
    ASSERT_FALSE(unit.world.outcomes.reported.empty());
    EXPECT_EQ(unit.world.outcomes.reported.back().code, ResultCode::ImportReloadFailed);
}

TEST_F(ConfigFileCommandsTest, ExportRefusalsAndWriteError) {
    sim::ControllerConfig noConfiguration = Receiver();
    noConfiguration.faults.invalidCustomerRecord = true;
    Unit unconfigured(noConfiguration);
    ASSERT_TRUE(unconfigured.connected);
    unconfigured.Export(temp / "unit");
    EXPECT_EQ(unconfigured.world.Messages(),
              std::vector<std::string>{unconfigured.Text(NoCurrentConfigurationText)});
    EXPECT_TRUE(unconfigured.dialogs.filters.empty());

    sim::ControllerConfig unknownFactory = Receiver();
    unknownFactory.faults.invalidFactoryRecord = true;
    Unit unknown(unknownFactory);
    ASSERT_TRUE(unknown.connected);
    unknown.Export(temp / "unit");
    unknown.Import(temp / "unit.zcf");
    EXPECT_EQ(unknown.world.Messages(),
              (std::vector<std::string>{unknown.Text(117), unknown.Text(191), unknown.Text(117)}));
    EXPECT_EQ(unknown.world.dialogs.shown.front().kind, MessageKind::Fault);
    EXPECT_TRUE(unknown.dialogs.filters.empty());

    Unit unit{Receiver()};
    ASSERT_TRUE(unit.connected);
    unit.Export(temp / "missing" / "unit");
    EXPECT_EQ(unit.world.Messages(), std::vector<std::string>{unit.Text(ConfigWriteErrorText)});
    EXPECT_EQ(unit.world.dialogs.shown.front().kind, MessageKind::Warning);
    EXPECT_FALSE(std::filesystem::exists(temp / "unit.zcf"));
    EXPECT_FALSE(std::filesystem::exists(temp / "missing"));
}

} // namespace
} // namespace lcdiag::test
