#pragma once

#include "core/device/EmitterCustomerRecord.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/ReceiverCustomerRecord.h"
#include "core/device/ReceiverFactoryRecord.h"

namespace lcdiag {

// What a settings transfer writes: 1 receiver factory record, 2 receiver customer record,
// 3 emitter factory record (with an emitter customer record), 4 emitter customer record.
enum class TransferKind {
    None = 0,
    ReceiverFactory = 1,
    ReceiverCustomer = 2,
    EmitterFactory = 3,
    EmitterCustomer = 4
};

// The records one transfer writes into the controller, in the internal layout, as the
// editors built them.
struct SettingsWrite {
    TransferKind kind = TransferKind::None;
    ReceiverFactoryRecord receiverFactory;   // kind 1
    ReceiverCustomerRecord receiverCustomer; // kind 2
    EmitterFactoryRecord emitterFactory;     // kind 3
    EmitterCustomerRecord emitterCustomer;   // kind 4, and kind 3's record that goes with it

    static SettingsWrite ReceiverFactory(const ReceiverFactoryRecord& record) {
        SettingsWrite write;
        write.kind = TransferKind::ReceiverFactory;
        write.receiverFactory = record;
        return write;
    }
    static SettingsWrite ReceiverCustomer(const ReceiverCustomerRecord& record) {
        SettingsWrite write;
        write.kind = TransferKind::ReceiverCustomer;
        write.receiverCustomer = record;
        return write;
    }
    static SettingsWrite EmitterFactory(const EmitterFactoryRecord& record,
                                        const EmitterCustomerRecord& customer) {
        SettingsWrite write;
        write.kind = TransferKind::EmitterFactory;
        write.emitterFactory = record;
        write.emitterCustomer = customer;
        return write;
    }
    static SettingsWrite EmitterCustomer(const EmitterCustomerRecord& record) {
        SettingsWrite write;
        write.kind = TransferKind::EmitterCustomer;
        write.emitterCustomer = record;
        return write;
    }
};

constexpr bool IsFactoryKind(TransferKind kind) {
    return kind == TransferKind::ReceiverFactory || kind == TransferKind::EmitterFactory;
}

constexpr bool IsReceiverKind(TransferKind kind) {
    return kind == TransferKind::ReceiverFactory || kind == TransferKind::ReceiverCustomer;
}

} // namespace lcdiag
