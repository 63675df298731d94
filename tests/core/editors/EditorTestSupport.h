#pragma once

#include "../app/AppTestSupport.h"
#include "../device/FixedClock.h"
#include "core/app/Texts.h"
#include "core/device/CustomerRecordBuilder.h"
#include "core/device/DeviceType.h"
#include "core/editors/ReceiverSettings.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace lcdiag::test {

// A message as the page must show it: its text id and the texts put in place of its "%s".
// `always`: shown even for a quiet change.
struct Msg {
    TextId id;
    TextId first = 0;
    TextId second = 0;
    bool always = false;
};
inline Msg Always(Msg message) {
    message.always = true;
    return message;
}

// Safety notes answered as scripted, logged in one list with the messages.
class RecordingNotes : public SafetyNotePrompt {
public:
    explicit RecordingNotes(std::vector<std::string>& log) : log_(log) {}
    std::set<int> refused;
    bool ConfirmSafetyNote(int mode) override {
        log_.push_back(NoteEvent(mode));
        return refused.count(mode) == 0;
    }
    static std::string NoteEvent(int mode) { return "safety note " + std::to_string(mode); }

private:
    std::vector<std::string>& log_;
};

// The muting options in short, as a record holds them: operating mode (D2, P2, P4) and
// direction (in, out, both) in byte 2, S the shortened muting cycle, M multiple interruption
// (byte 138), the muted area (all, teach, bus) in byte 6.
struct Option {
    const char* text;
    UserControl control;
    std::size_t byte;
    std::uint8_t bits;
};
inline constexpr Option Options[] = {
    {"D2", UserControl::RdBtn_RUSM_111, 2, 0x08},  {"P2", UserControl::RdBtn_RUSM_112, 2, 0x10},
    {"P4", UserControl::RdBtn_RUSM_113, 2, 0x00},  {"in", UserControl::RdBtn_RUSM_121, 2, 0x01},
    {"out", UserControl::RdBtn_RUSM_122, 2, 0x02}, {"both", UserControl::RdBtn_RUSM_123, 2, 0x04},
    {"S", UserControl::ChckBx_RUSM_23, 2, 0x20},   {"M", UserControl::ChckBx_RUSM_31, 138, 77},
    {"all", UserControl::RdBtn_RUSM_311, 6, 0x10}, {"teach", UserControl::RdBtn_RUSM_312, 6, 0x20},
    {"bus", UserControl::RdBtn_RUSM_313, 6, 0x40},
};
inline std::string Describe(const ReceiverSettings& page) {
    std::string text;
    for (const Option& option : Options) {
        if (page.Checked(option.control)) {
            text += (text.empty() ? "" : " ") + std::string(option.text);
        }
    }
    return text;
}

// Beams of a 16-beam curtain with the given beams blanked (a clear bit: blanked).
inline BeamMask Blanked(std::initializer_list<int> beams) {
    BeamMask mask = BeamMask::FirstBeams(16);
    for (int beam : beams) {
        mask.Set(beam, false);
    }
    return mask;
}

// Receiver factory data of a device type, with 100-hour maxima of the muting cycle and
// conveyor stop times (bits 16-23 counting from firmware 1.33).
inline ReceiverFactoryRecord Factory(int type, int beams, int floatingMax = 2,
                                     int blankingMax = 3) {
    using RF = ReceiverFactoryField;
    ReceiverFactoryRecord factory;
    factory.SetByte(RF::DeviceType, static_cast<std::uint8_t>(type));
    factory.SetByte(RF::BeamCount, static_cast<std::uint8_t>(beams));
    factory.SetByte(RF::FloatingBeamsMax, static_cast<std::uint8_t>(floatingMax));
    factory.SetByte(RF::BlankingBeamsMax, static_cast<std::uint8_t>(blankingMax));
    factory.SetByte(RF::RelayDelayDefault, 11);
    factory.SetByte(RF::InterruptionTimeDefault, 50);
    for (RF field : {RF::MutingCycleTime, RF::ConveyorStopTime}) {
        factory.SetNumber(field, 0x7E40);
    }
    factory.SetByte(RF::MutingCycleTimeHigh, 0x05);
    factory.SetByte(RF::ConveyorStopTimeHigh, 0x05);
    factory.SetMask(RF::BeamPresenceMask, BeamMask::FirstBeams(device_type::Beams(type, beams)));
    factory.WriteComplements();
    return factory;
}

// The receiver on the link (factory data, active record, firmware) and the page editing it.
// Every message shown and every safety note asked for goes into `log`, in order.
class ReceiverPageTest : public ::testing::Test {
protected:
    ReceiverPageTest() {
        dialogs.onShow = [this] { log.push_back(dialogs.shown.back().text); };
        active = DefaultRecord();
    }

    CustomerRecordContext Context() { return {firmware, {3, 7}, clock, codec}; }
    ReceiverSource Source() { return {&factory, &active, firmware}; }
    ReceiverCustomerRecord DefaultRecord() {
        return BuildDefaultReceiverRecord(factory, factory, Context());
    }
    bool Load(bool defaults = false) { return page.Load(Source(), defaults, Context()); }
    // Loads the page and forgets what loading said.
    void Reload(bool defaults = false) {
        ASSERT_TRUE(Load(defaults));
        log.clear();
    }
    // Loads a record holding the muting options given in short, with the muting function on.
    void LoadOptions(const std::string& options) {
        active = DefaultRecord();
        active.bytes[2] = 0;
        active.bytes[6] = 0x08;
        active.bytes[138] = 0;
        std::istringstream words(options);
        for (std::string word; words >> word;) {
            for (const Option& option : Options) {
                if (word == option.text) {
                    active.bytes[option.byte] |= option.bits;
                }
            }
        }
        Reload();
        ASSERT_EQ(Describe(page), options);
    }
    std::optional<ReceiverCustomerRecord> Save() { return page.Save(Source(), Context()); }

    std::string Said(const Msg& message) const {
        if (message.first == 0) {
            return texts.GetText(message.id);
        }
        return texts.GetTextArgs(message.id,
                                 {texts.GetText(message.first), texts.GetText(message.second)});
    }
    std::vector<std::string> SaidAll(const std::vector<Msg>& messages, bool quiet = false) const {
        std::vector<std::string> said;
        for (const Msg& message : messages) {
            if (!quiet || message.always) {
                said.push_back(Said(message));
            }
        }
        return said;
    }

    ReceiverFactoryRecord factory = Factory(1, 16);
    ReceiverCustomerRecord active;
    ControllerFirmware firmware{136, 2};
    std::vector<std::string> log;
    RecordingDialogs dialogs;
    Texts texts{nullptr, &dialogs};
    RecordingNotes notes{log};
    ReceiverSettings page{texts, notes};
    FixedClock clock;
    KeywordTable table;
    RecordCodec codec{table.KeywordSum()};
};

} // namespace lcdiag::test
