#pragma once

#include "QtTestSupport.h"
#include "gui/app/TFRM_Main.h"
#include "platform/serial/DeviceList.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <map>
#include <memory>

namespace lcdiag::test {

// Answers the next password dialog with the entry and "OK".
inline void EnterPassword(const QString& password) {
    WhenModalShows([password](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("Edt_Pwd_1"))->setText(password);
        dialog->findChild<QPushButton*>(QStringLiteral("Btn_Pwd_1"))->click();
    });
}

// The preference store of the tests, counting the writes of each value; with writesFail set
// it writes nothing, as a full disk or a read-only file would.
class CountingPreferenceStore : public MemoryPreferenceStore {
public:
    std::map<std::string, int, std::less<>> writes;
    bool writesFail = false;

    bool WriteValue(const PreferenceKey& key, std::string_view name,
                    std::string_view value) override {
        ++writes[std::string(name)];
        return !writesFail && MemoryPreferenceStore::WriteValue(key, name, value);
    }
    void Store(std::string_view name, std::string_view value) {
        MemoryPreferenceStore::WriteValue(SelectRootKey(PreferenceKeyPath()), name, value);
    }
    std::string Read(std::string_view name) {
        return ReadValue(SelectRootKey(PreferenceKeyPath()), name).value_or("<none>");
    }
};

// The serial ports a test plugs in, also while the window runs.
class FakeDeviceList : public TDeviceList {
public:
    explicit FakeDeviceList(const std::vector<TSerialDevice>& devices) : devices_(devices) {}

    std::vector<TSerialDevice> SerialDevices() override { return devices_; }
    bool InUse(const TSerialDevice&) override { return false; }

private:
    const std::vector<TSerialDevice>& devices_;
};

// Makes main windows on the test's preferences, recording dialogs and language folder.
class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TFRM_Main> MakeWindow(std::uint32_t word = BuildVariant::Delivered) {
        TMainSetup setup;
        setup.variantWord = word;
        setup.preferences = &preferences;
        setup.languageFolders = {languages.Path()};
        setup.messageDialogs = &dialogs;
        setup.simulation = simulation;
        setup.port = port;
        setup.replay = replay;
        setup.fileDialogs = fileDialogs;
        if (adapterSupport) {
            setup.loadAdapterSupport = [this] { return std::make_unique<FakeDeviceList>(ports); };
        }
        auto window = std::make_unique<TFRM_Main>(std::move(setup));
        EXPECT_TRUE(window->CreationFinished());
        return window;
    }

    // A window on the simulated receiver, once its cycles arrive: the settings pages have the
    // unit's data then.
    std::unique_ptr<TFRM_Main> MakeLiveWindow(std::uint32_t word = BuildVariant::Delivered) {
        simulation = SimulationRequest{ControllerType::Receiver, {}};
        auto window = MakeWindow(word);
        EXPECT_TRUE(WaitUntil([&] { return window->Link().ReceiverCycles().Valid(); }));
        return window;
    }

    static QAction* Item(TFRM_Main& window, const char* name) {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    }
    static void Click(TFRM_Main& window, const char* name) { Item(window, name)->trigger(); }
    static bool Visible(TFRM_Main& window, const char* name) {
        return !Child(window, name)->isHidden();
    }
    std::vector<std::string> Messages() const { return ShownTexts(dialogs); }

    TempFolder languages;
    CountingPreferenceStore preferences;
    std::optional<SimulationRequest> simulation; // the simulated device in place of a port
    std::optional<std::string> port;             // the port of "--port"
    std::optional<ReplayRequest> replay;         // the recording of "--replay"
    FileDialogs* fileDialogs = nullptr;          // the window's own when none
    RecordingDialogs dialogs;
    bool adapterSupport = false;
    std::vector<TSerialDevice> ports;
};

} // namespace lcdiag::test
