// Settings transfers cut at every step of the dialogue: the controller falls silent, the port
// vanishes, or the break never reaches the controller. None may end in a success, and the
// next transfer of the same kind must succeed.
#include "TransferFixture.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace lcdiag::e2e {
namespace {

// The steps of a transfer, told by where the controller and the PC stand.
enum class Step {
    Break,         // the PC has set the break
    BreakNoticed,  // the controller noticed it (and, held, said so)
    AwaitingData,  // the controller said it is ready, or heard the break released
    DataUnderWay,  // the PC's records are on the line
    DefaultRecord, // receiver factory record stored: the default settings are awaited
    ReadBack,      // the controller stored the records and reports them again
};

enum class Cut {
    Silence,   // the controller says nothing and hears nothing for a while
    Vanish,    // the port disappears (an unplugged adapter)
    LostBreak, // the line does not carry the break to the controller
};

constexpr std::array StepNames{"break set",      "break noticed",          "awaiting data",
                               "data under way", "default record awaited", "read-back"};
constexpr std::array CutNames{"silence", "vanished port", "lost break"};

struct KindUnderTest {
    const char* name;
    sim::ControllerConfig config;
    TransferKind kind;
    std::vector<Step> steps;
};

std::vector<KindUnderTest> Kinds() {
    using enum Step;
    const std::vector<Step> steps{Break, BreakNoticed, AwaitingData, DataUnderWay, ReadBack};
    const std::vector<Step> factorySteps{Break,        BreakNoticed,  AwaitingData,
                                         DataUnderWay, DefaultRecord, ReadBack};
    return {
        {"receiver factory", Receiver(), TransferKind::ReceiverFactory, factorySteps},
        {"receiver customer", Receiver(), TransferKind::ReceiverCustomer, steps},
        {"receiver customer, held break", Receiver(Layout::Short, 1, 109),
         TransferKind::ReceiverCustomer, steps},
        {"emitter factory", Emitter(), TransferKind::EmitterFactory, steps},
        {"emitter customer", Emitter(), TransferKind::EmitterCustomer, steps},
    };
}

struct Row {
    const KindUnderTest* kind;
    Step step;
    Cut cut;
};

// Every kind at every step, silent or vanished; the lost break at the break.
std::vector<Row> Rows(const std::vector<KindUnderTest>& kinds) {
    std::vector<Row> rows;
    for (const KindUnderTest& kind : kinds) {
        for (Step step : kind.steps) {
            rows.push_back({&kind, step, Cut::Silence});
            rows.push_back({&kind, step, Cut::Vanish});
        }
        rows.push_back({&kind, Step::Break, Cut::LostBreak});
    }
    return rows;
}

class TransferFault : public Transfer {
protected:
    bool Reached(Step step) {
        const sim::Phase phase = world->device->CurrentPhase();
        switch (step) {
        case Step::Break:
            return C().State() == LinkState::TransferRequested;
        case Step::BreakNoticed:
            return phase == sim::Phase::BreakSeen;
        case Step::AwaitingData:
            return phase == sim::Phase::AwaitingData;
        case Step::DataUnderWay:
            return phase == sim::Phase::AwaitingData && world->port.OutputPending() > 0;
        case Step::DefaultRecord:
            return phase == sim::Phase::AwaitingDefaultRecord;
        case Step::ReadBack:
            return phase == sim::Phase::AwaitingStart;
        }
        return false;
    }

    void Inflict(Cut cut) {
        switch (cut) {
        case Cut::Silence:
            world->device->FallSilent();
            return;
        case Cut::Vanish:
            world->port.Unplug();
            return;
        case Cut::LostBreak:
            world->port.LoseBreaks(true);
            return;
        }
    }

    // What the technician does once the outcome is shown: a silent controller starts again by
    // itself; a vanished port is opened again; a break comes through again when the port is
    // closed and opened.
    void Recover(Cut cut) {
        if (cut == Cut::LostBreak) {
            world->port.LoseBreaks(false);
            world->port.Close();
        }
        world->port.Open();
    }

    void Prepare(TransferKind kind) {
        switch (kind) {
        case TransferKind::ReceiverFactory:
            return PrepareReceiverFactory();
        case TransferKind::ReceiverCustomer:
            return PrepareReceiverCustomer();
        case TransferKind::EmitterFactory:
            return PrepareEmitterFactory();
        case TransferKind::EmitterCustomer:
            return PrepareEmitterCustomer();
        case TransferKind::None:
            break;
        }
        FAIL() << "no records to write";
    }
};

TEST_F(TransferFault, EveryCutEndsInATimeOutAndTheNextTransferSucceeds) {
    const std::vector<KindUnderTest> kinds = Kinds();
    for (const Row& row : Rows(kinds)) {
        SCOPED_TRACE(std::string(row.kind->name) + ", " +
                     StepNames.at(static_cast<std::size_t>(row.step)) + ", " +
                     CutNames.at(static_cast<std::size_t>(row.cut)));
        sim::ControllerConfig config = row.kind->config;
        config.faults.silenceMs = 3000;
        Start(config);
        const bool factory = IsFactoryKind(row.kind->kind);
        const ResultCode timeOut =
            factory ? ResultCode::FactoryTimeOut : ResultCode::CustomerTimeOut;
        std::vector<std::string> expected{Text(factory ? 113 : 116)};
        if (row.cut == Cut::Vanish) {
            expected.insert(expected.begin(), Text(182));
        }

        Prepare(row.kind->kind);
        SaveAndConfirm();
        ASSERT_TRUE(world->RunUntil([&] { return Reached(row.step); }));
        Inflict(row.cut);
        ASSERT_TRUE(
            world->RunUntil([&] { return world->dialogs.shown.size() == expected.size(); }));
        EXPECT_EQ(C().State(), LinkState::Idle);

        Recover(row.cut);
        ASSERT_TRUE(world->RunUntil([&] { return Live(); }, 10000));
        EXPECT_EQ(world->Messages(), expected); // nothing more while the unit came back
        EXPECT_EQ(world->outcomes.reported,
                  (std::vector<RecordingListener::Outcome>{{timeOut, MessageResult::Ok}}));
        world->dialogs.shown.clear();
        Prepare(row.kind->kind);
        SaveAndConfirm();
        EXPECT_EQ(Outcome(), Text(factory ? 111 : 114));
    }
}

} // namespace
} // namespace lcdiag::e2e
