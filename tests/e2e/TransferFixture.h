#pragma once

#include "World.h"
#include "core/device/CustomerRecordBuilder.h"
#include "core/device/FactoryRecordBuilder.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace lcdiag::e2e {

// A world in live diagnosis, ready to write settings.
class Transfer : public ::testing::Test {
protected:
    void Start(const sim::ControllerConfig& config) {
        world = std::make_unique<World>(config);
        world->Open();
        ASSERT_TRUE(world->RunUntil([&] { return Live(); }));
    }

    ConnectionController& C() { return world->controller; }

    // Cycles of the connected unit arrive.
    bool Live() {
        return C().Unit() == ControllerType::Emitter ? C().EmitterCycles().Valid()
                                                     : C().ReceiverCycles().Valid();
    }

    // The active customer record with another relay delay, completed as the editor does.
    void PrepareReceiverCustomer(std::uint8_t relayDelay = 7) {
        ReceiverCustomerRecord record = *C().ReceiverCustomers().ActiveRecord();
        record.SetByte(ReceiverCustomerField::RelayDelay, relayDelay);
        ReceiverCustomerEdits edits;
        edits.mutingArea = record.Mask(ReceiverCustomerField::MutingAreaMask);
        const CustomerRecordContext context{C().Firmware(), {1, 40}, world->pcClock, C().Codec()};
        CompleteReceiverCustomerRecord(record, C().ReceiverFactory(), edits, context);
        write = SettingsWrite::ReceiverCustomer(record);
    }

    // The received factory record with another OSSD OFF waiting period.
    void PrepareReceiverFactory() {
        ReceiverFactoryRecord record = C().ReceiverFactory();
        record.SetByte(ReceiverFactoryField::OssdOffWait, 42);
        C().Codec().WriteChecksum(record.bytes, BlockKind::Factory, Layout::Long);
        write = SettingsWrite::ReceiverFactory(record);
    }

    // The emitter's factory page saved with another tester, for the model the unit reported.
    void PrepareEmitterFactory() {
        using EF = EmitterFactoryField;
        const EmitterFactoryRecord& reported = C().EmitterFactory();
        ReceiverFactoryRecord model;
        model.SetByte(ReceiverFactoryField::BeamCount, reported.Byte(EF::BeamCount));
        model.SetByte(ReceiverFactoryField::DeviceType, reported.Byte(EF::DeviceType));
        const EmitterFactoryInput page{"01.12.2026 08:30:00",
                                       reported.Text(EF::SerialNumber),
                                       "Tester 2",
                                       "1.4",
                                       reported.Text(EF::CustomerDesignation),
                                       reported.Byte(EF::Variant)};
        EmitterFactorySend built;
        EXPECT_FALSE(BuildEmitterFactoryRecord(page, model, world->pcClock, built));
        write = SettingsWrite::EmitterFactory(built.factory, built.customer);
    }

    void PrepareEmitterCustomer(bool beamCodingA = true) {
        write =
            SettingsWrite::EmitterCustomer(BuildEmitterCustomerRecord(beamCodingA, world->pcClock));
    }

    // Saves the prepared records on the page of their kind, confirms within the window.
    void SaveAndConfirm() {
        world->view.viewMode =
            IsFactoryKind(write.kind) ? ViewMode::FactorySettings : ViewMode::CustomerSettings;
        world->confirmation.Begin(write);
        world->Run(2000);
        EXPECT_TRUE(world->confirmation.Confirm(write.kind));
    }

    // The text of the first message after the transfer, once the dialogue is live again.
    std::string Outcome(std::uint32_t timeout = 10000) {
        EXPECT_TRUE(world->RunUntil([&] { return !world->dialogs.shown.empty(); }, timeout));
        return world->dialogs.shown.empty() ? std::string() : world->dialogs.shown.front().text;
    }

    bool BackInDiagnosis() {
        return world->RunUntil([&] { return C().State() == LinkState::Diagnosis; }, 8000);
    }

    std::unique_ptr<World> world;
    SettingsWrite write;
};

inline std::string Text(TextId id) {
    return Texts().GetText(id);
}

inline sim::ControllerConfig Receiver(Layout layout = Layout::Long, int typeDigit = 1,
                                      int version = 136) {
    sim::ControllerConfig config;
    config.layout = layout;
    config.firmware = {typeDigit, version};
    return config;
}

inline sim::ControllerConfig Emitter(Layout layout = Layout::Long) {
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    config.layout = layout;
    return config;
}

} // namespace lcdiag::e2e
