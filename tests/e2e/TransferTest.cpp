// Writing settings into the simulated controllers: every result code the transfer can end
// in, and the firmware-dependent details of the exchange.
#include "TransferFixture.h"
#include "core/files/ConfigFile.h"
#include "core/protocol/Handshake.h"

#include <gtest/gtest.h>

namespace lcdiag::e2e {
namespace {

using enum ResultCode;

TEST_F(Transfer, ReceiverCustomerRecordIsStoredAndReadBackInBothLayouts) {
    for (Layout layout : {Layout::Long, Layout::Short}) {
        Start(Receiver(layout));
        PrepareReceiverCustomer();
        world->dialogs.answer = MessageResult::Yes;
        SaveAndConfirm();
        EXPECT_EQ(C().State(), LinkState::TransferRequested);
        EXPECT_EQ(Outcome(), Text(114));
        // The answer to the offer of the settings report reaches the editors.
        EXPECT_EQ(world->outcomes.reported,
                  (std::vector<RecordingListener::Outcome>{{CustomerStored, MessageResult::Yes}}));
        ASSERT_TRUE(BackInDiagnosis());
        EXPECT_EQ(C().ReceiverCustomers().ActiveRecord()->Byte(ReceiverCustomerField::RelayDelay),
                  7);
    }
}

TEST_F(Transfer, ReceiverFactoryRecordIsStoredWithItsDefaultCustomerRecord) {
    Start(Receiver());
    PrepareReceiverFactory();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(111)); // code 1
    ASSERT_TRUE(BackInDiagnosis());
    EXPECT_EQ(C().ReceiverFactory().Byte(ReceiverFactoryField::OssdOffWait), 42);
    EXPECT_TRUE(C().ReceiverCustomers().Valid());
}

TEST_F(Transfer, EmitterRecordsAreStoredAndAcknowledged) {
    Start(Emitter());
    PrepareEmitterCustomer();
    world->dialogs.answer = MessageResult::Yes;
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(114));
    EXPECT_EQ(world->outcomes.reported, (std::vector<RecordingListener::Outcome>{
                                            {EmitterCustomerStored, MessageResult::Yes}}));
    EXPECT_EQ(C().State(), LinkState::Diagnosis); // codes 13 to 18 keep the dialogue
    EXPECT_EQ(C().EmitterCustomer().Byte(EmitterCustomerField::BeamCoding), 'b');

    world->dialogs.shown.clear();
    PrepareEmitterFactory();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(111)); // code 13
    EXPECT_EQ(C().EmitterFactory().Text(EmitterFactoryField::Tester), "Tester 2");
}

// A unit's file with another relay delay, read back into the same unit: the record stands in
// for the unit's own configuration and is written into it like any record the pages save.
TEST_F(Transfer, ImportedConfigurationIsTheCurrentOneAndCanBeSent) {
    for (Layout layout : {Layout::Long, Layout::Short}) {
        Start(Receiver(layout));
        PrepareReceiverCustomer(9);
        ConfigReceiver exported = std::get<ConfigReceiver>(ConnectedUnitOf(C()));
        exported.activeRecord = write.receiverCustomer;
        const auto file = WriteConfigFile(exported);
        ASSERT_TRUE(file);
        const ConfigFileImport imported =
            ReadConfigFile(*file, ConnectedUnitOf(C()), C().Codec(), world->pcClock, {1, 40});
        ASSERT_TRUE(std::holds_alternative<ReceiverCustomerRecord>(imported));
        const auto& record = std::get<ReceiverCustomerRecord>(imported);

        // The ring keeps what the unit holds: the history shows no record the unit has not
        // stored, and the information panel keeps the unit's operating hours.
        const ReceiverCustomerSet ring = C().ReceiverCustomers();
        C().AdoptConfiguration(record);
        ASSERT_NE(C().ReceiverCustomers().ActiveRecord(), nullptr);
        EXPECT_EQ(*C().ReceiverCustomers().ActiveRecord(), record);
        for (int slot = 0; slot < ReceiverCustomerSet::Slots; ++slot) {
            EXPECT_EQ(C().ReceiverCustomers().Slot(slot), ring.Slot(slot));
        }
        EXPECT_EQ(C().ReceiverCustomers().ActiveRecordIndex(), ring.ActiveRecordIndex());
        EXPECT_EQ(C().ReceiverCustomers().OperatingHoursText(), ring.OperatingHoursText());

        write = SettingsWrite::ReceiverCustomer(record);
        SaveAndConfirm();
        EXPECT_EQ(Outcome(), Text(114));
        ASSERT_TRUE(BackInDiagnosis());
        EXPECT_EQ(C().ReceiverCustomers().ActiveRecord()->Byte(ReceiverCustomerField::RelayDelay),
                  9);
        EXPECT_FALSE(C().ReceiverCustomers().Adopted()); // the unit's own record once read again
    }
}

TEST_F(Transfer, ImportedEmitterConfigurationReplacesTheReceivedOne) {
    Start(Emitter());
    ConfigEmitter exported = std::get<ConfigEmitter>(ConnectedUnitOf(C()));
    exported.customer = BuildEmitterCustomerRecord(true, world->pcClock);
    const ConfigFileImport imported = ReadConfigFile(
        *WriteConfigFile(exported), ConnectedUnitOf(C()), C().Codec(), world->pcClock, {1, 40});
    ASSERT_TRUE(std::holds_alternative<EmitterCustomerRecord>(imported));
    C().AdoptConfiguration(std::get<EmitterCustomerRecord>(imported));
    EXPECT_TRUE(C().EmitterCustomerValid());
    EXPECT_EQ(C().EmitterCustomer().Byte(EmitterCustomerField::BeamCoding), 'b');
}

TEST_F(Transfer, ReadBackThatDiffersIsAFailure) {
    auto config = Receiver();
    config.faults.readBackMismatch = true;
    Start(config);
    PrepareReceiverCustomer();
    world->dialogs.answer = MessageResult::Yes; // no offer to answer
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(115)); // code 5
    EXPECT_EQ(world->outcomes.reported.at(0).code, CustomerReadBackDiffers);

    Start(config);
    PrepareReceiverFactory();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(112)); // code 2

    auto emitter = Emitter();
    emitter.faults.readBackMismatch = true;
    Start(emitter);
    PrepareEmitterCustomer();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(115)); // code 17, never the success of 16
    Start(emitter);
    PrepareEmitterFactory();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(112)); // code 14, never the success of 13
}

TEST_F(Transfer, SilenceEndsTheTransferWithATimeOutAndResetsTheDialogue) {
    for (auto silence : {sim::TransferSilence::NoReadiness, sim::TransferSilence::NoAnswerToData}) {
        auto config = Receiver();
        config.faults.transferSilence = silence;
        Start(config);
        PrepareReceiverFactory();
        SaveAndConfirm();
        EXPECT_EQ(Outcome(), Text(113)); // code 3
        EXPECT_EQ(C().State(), LinkState::Idle);

        Start(config);
        PrepareReceiverCustomer();
        SaveAndConfirm();
        EXPECT_EQ(Outcome(), Text(116)); // code 6

        auto emitter = Emitter();
        emitter.faults.transferSilence = silence;
        Start(emitter);
        PrepareEmitterCustomer();
        SaveAndConfirm();
        EXPECT_EQ(Outcome(), Text(116)); // code 6
    }
}

// Without the acknowledgement the PC never expects the emitter's report, so the missing
// acknowledgement ends as a time-out.
TEST_F(Transfer, MissingAcknowledgementIsNeverASuccess) {
    auto config = Emitter();
    config.faults.missingAcknowledgement = true;
    Start(config);
    PrepareEmitterCustomer();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(116));
    Start(config);
    PrepareEmitterFactory();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(113));
}

TEST_F(Transfer, InvalidRecordsReportedBack) {
    auto config = Emitter();
    config.faults.invalidCustomerRecord = true;
    Start(config);
    EXPECT_EQ(Outcome(), Text(125)); // code 12 on the normal course
    EXPECT_EQ(C().State(), LinkState::Diagnosis);
    world->dialogs.shown.clear();
    PrepareEmitterCustomer();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(115)); // code 17

    auto receiver = Receiver();
    receiver.faults.invalidCustomerRecord = true;
    Start(receiver);
    EXPECT_EQ(Outcome(), Text(125)); // code 12, and the receiver still enters diagnosis
    EXPECT_EQ(C().State(), LinkState::Diagnosis);
}

// An emitter that reports its factory record invalid after storing one has failed the
// transfer: one verdict, one message, however long the report takes.
TEST_F(Transfer, InvalidEmitterFactoryRecordAfterStoringIsOneFailure) {
    auto config = Emitter();
    config.faults.invalidFactoryRecord = true;
    Start(config);
    EXPECT_EQ(Outcome(), Text(124)); // code 11 on the normal course
    world->dialogs.shown.clear();
    world->outcomes.reported.clear();
    PrepareEmitterFactory();
    SaveAndConfirm();
    EXPECT_EQ(Outcome(), Text(112)); // code 14
    world->Run(3000);
    EXPECT_EQ(world->Messages(), std::vector<std::string>{Text(112)});
    EXPECT_EQ(world->outcomes.reported,
              (std::vector<RecordingListener::Outcome>{{EmitterFactoryFailed, MessageResult::Ok}}));
    EXPECT_EQ(C().State(), LinkState::Diagnosis);
}

TEST_F(Transfer, ControllerRefusingThisPcSoftwareShowsTheNoticeWithTheMinimumVersion) {
    auto config = Receiver();
    config.faults.minPcVersion = sim::PcVersion{2, 5};
    Start(config);
    PrepareReceiverCustomer();
    SaveAndConfirm();
    ASSERT_TRUE(world->RunUntil([&] { return !world->view.incompatibleVersions.empty(); }));
    EXPECT_EQ(world->view.incompatibleVersions[0], "2.05");
    EXPECT_EQ(C().State(), LinkState::Idle);
}

TEST_F(Transfer, CustomerRecordNeedsAValidFactoryRecordFirst) {
    World world(Receiver());
    EXPECT_FALSE(world.controller.WriteSettings(SettingsWrite::ReceiverCustomer({})));
    ASSERT_EQ(world.dialogs.shown.size(), 1U);
    EXPECT_EQ(world.dialogs.shown[0].text, Text(117));
    EXPECT_EQ(world.controller.State(), LinkState::Idle);
}

// The simulated controllers refuse a wrongly reversed handshake, a break they cannot
// notice and the store keyword of the wrong firmware generation: success proves each choice.
TEST_F(Transfer, BreakAndStoreKeywordFollowTheFirmware) {
    const std::pair<int, int> firmwares[] = {{1, 109}, {1, 110}, {1, 121}, {1, 122},
                                             {2, 134}, {2, 135}, {3, 132}, {3, 136}};
    for (auto [typeDigit, version] : firmwares) {
        SCOPED_TRACE(version);
        Start(Receiver(Layout::Short, typeDigit, version));
        PrepareReceiverCustomer(3);
        SaveAndConfirm();
        EXPECT_EQ(Outcome(), Text(114));
    }
    static_assert(HandshakeAnswer(0x01) == 0x80);
    static_assert(HandshakeAnswer(0xA0) == 0x05);
}

} // namespace
} // namespace lcdiag::e2e
