#include "PcBench.h"
#include "core/app/Texts.h"
#include "core/device/ConfigurationHistory.h"
#include "core/device/ReceiverCustomerSet.h"
#include "core/editors/HistoryList.h"
#include "core/protocol/ConfigTrailer.h"
#include "sim/ReceiverController.h"
#include "sim/RecordBuilders.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace lcdiag::sim::test {
namespace {

using Record = std::vector<std::uint8_t>;

// The active record of a report (long layout) and its slot.
struct Active {
    Record record;
    int slot = -1;
    int number = -1;
};

Active ActiveOf(const PcBench& bench, const std::vector<Frame>& report) {
    Active active;
    for (const Frame& frame : report) {
        if (frame.id == kw::ReceiverFactoryData) {
            const auto trailer =
                ConfigTrailer::Parse(bench.table, std::span(frame.data).last(ConfigTrailer::Size));
            const int size = BlockLength(BlockKind::Customer, bench.layout);
            active.slot = trailer ? (trailer->pointer - 1024) / size : -1;
            active.number = trailer ? trailer->number : -1;
        }
        if (frame.id == kw::ReceiverCustomerData && active.slot >= 0) {
            Record set(8 * 152);
            bench.codec.DecodeCustomerSet(frame.data, set, bench.layout, active.slot);
            active.record.assign(set.begin() + active.slot * 152,
                                 set.begin() + (active.slot + 1) * 152);
        }
    }
    return active;
}

Record FactoryOf(const PcBench& bench, const std::vector<Frame>& report) {
    Record record(212);
    for (const Frame& frame : report) {
        if (frame.id == kw::ReceiverFactoryData) {
            bench.codec.Decode(frame.data, record, bench.layout, BlockKind::Factory);
        }
    }
    return record;
}

// New settings as the PC builds them: operating hours cleared, fresh checksum.
Record Edited(const PcBench& bench, Record record, int offset, std::uint8_t value) {
    record[static_cast<std::size_t>(offset)] = value;
    record[static_cast<std::size_t>(offset) + 1] = static_cast<std::uint8_t>(~value);
    std::fill(record.end() - 6, record.end(), 0);
    bench.codec.WriteChecksum(record, BlockKind::Customer, Layout::Long);
    return record;
}

struct Generation {
    Layout layout;
    Firmware firmware;
    int storeCustomer;
};

class CustomerTransfer : public ::testing::TestWithParam<Generation> {};

TEST_P(CustomerTransfer, GoesIntoTheNextRingSlotAndIsReportedAsSent) {
    ControllerConfig config;
    config.layout = GetParam().layout;
    config.firmware = GetParam().firmware;
    PcBench bench(config);
    const Active before = ActiveOf(bench, bench.Diagnose());
    ASSERT_EQ(before.slot, 3);
    const Record sent = Edited(bench, before.record, receiver_customer::RelayDelay, 11);

    const auto handshake = bench.OpenReceiverForSettings();
    ASSERT_TRUE(handshake);
    bench.Send(GetParam().storeCustomer,
               StorePayload(bench, *handshake, sent, BlockKind::Customer));
    const auto report = bench.AwaitReport(true);
    EXPECT_TRUE(std::none_of(report.begin(), report.end(), [](const Frame& frame) {
        return frame.id == kw::OperatingHours; // not part of the report after storing
    }));
    const Active after = ActiveOf(bench, report);
    EXPECT_EQ(after.slot, 4);
    EXPECT_EQ(after.number, before.number + 1);
    EXPECT_EQ(after.record, sent);
    EXPECT_EQ(bench.controller->ActiveCustomerRecord(), sent);

    // At its next start the controller stamps the new configuration with its hours.
    const Active restarted = ActiveOf(bench, bench.Identify());
    EXPECT_TRUE(HasActivationHours(restarted.record));
    EXPECT_TRUE(std::equal(sent.begin(), sent.end() - 6, restarted.record.begin()));
    EXPECT_EQ(bench.controller->ActiveCustomerRecord(), restarted.record);
}

// The ring as the PC takes it in: the set decoded for the active slot the trailer named.
ReceiverCustomerSet RingOf(const PcBench& bench, const std::vector<Frame>& report, int slot) {
    ReceiverCustomerSet ring;
    ring.SetActiveRecordIndex(slot);
    for (const Frame& frame : report) {
        if (frame.id == kw::ReceiverCustomerData) {
            ring.Receive(frame.data, bench.layout, bench.codec);
        }
    }
    return ring;
}

// Stores that follow each other without a restart between them still leave every replaced
// configuration stamped with its hours, so the history shows all of them.
TEST_P(CustomerTransfer, ThreeStoresInARowBecomeTheNewestThreeOfTheHistory) {
    ControllerConfig config;
    config.layout = GetParam().layout;
    config.firmware = GetParam().firmware;
    PcBench bench(config);
    Active active = ActiveOf(bench, bench.Diagnose());
    ASSERT_EQ(active.slot, 3);
    ASSERT_EQ(active.number, 11);
    std::vector<Record> sent;
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        sent.push_back(Edited(bench, active.record, receiver_customer::RelayDelay,
                              static_cast<std::uint8_t>(10 + n)));
        const auto handshake = bench.OpenReceiverForSettings();
        ASSERT_TRUE(handshake);
        bench.Send(GetParam().storeCustomer,
                   StorePayload(bench, *handshake, sent.back(), BlockKind::Customer));
        active = ActiveOf(bench, bench.AwaitReport(true));
        EXPECT_EQ(active.slot, (3 + n) % 8); // the trailer names the new slot at once
        EXPECT_EQ(active.number, 11 + n);
        EXPECT_EQ(active.record, sent.back());
    }

    const auto report = bench.Identify();
    const Active restarted = ActiveOf(bench, report);
    ASSERT_EQ(restarted.slot, 6);
    ASSERT_EQ(restarted.number, 14);
    const ReceiverCustomerSet ring = RingOf(bench, report, restarted.slot);
    Texts texts;
    HistoryList list(texts);
    ASSERT_TRUE(list.Init({&ring, 14, {}, false}, bench.codec));
    ASSERT_EQ(list.Entries().size(), 8u); // every slot passes the history check
    const char* labels[] = {"active", "n-1", "n-2", "n-3"};
    for (int age = 0; age < 4; ++age) {
        SCOPED_TRACE(age);
        const HistoryEntry& entry = list.Entries()[static_cast<std::size_t>(age)];
        EXPECT_EQ(entry.Label(), labels[age]);
        EXPECT_EQ(entry.Number(), std::to_string(14 - age));
        EXPECT_EQ(entry.slot, 6 - age);
        if (age < 3) {
            const Record& stored = sent[static_cast<std::size_t>(2 - age)];
            EXPECT_TRUE(std::equal(stored.begin(), stored.end() - 6, entry.record.bytes.begin()));
            EXPECT_EQ(ActivationOperatingHours(entry.record), config.operatingHours);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    LayoutsAndFirmware, CustomerTransfer,
    ::testing::Values(Generation{Layout::Short, {1, 121}, kw::ReceiverStoreCustomerOld},
                      Generation{Layout::Long, {1, 122}, kw::ReceiverStoreCustomer},
                      Generation{Layout::Short, {2, 135}, kw::ReceiverStoreCustomer},
                      Generation{Layout::Long, {3, 134}, kw::ReceiverStoreCustomerOld},
                      Generation{Layout::Short, {1, 109}, kw::ReceiverStoreCustomerOld}));

// Firmware before 1.10 overlooks a pulse and answers a held break in two steps; from 1.10
// on a pulse is enough and stops the cycles.
TEST(ReceiverBreak, OldFirmwareWantsItHeldNewerTakesAPulse) {
    ControllerConfig old;
    old.firmware = {1, 109};
    PcBench pulsed(old);
    pulsed.Diagnose();
    pulsed.port.SetBreak(true);
    pulsed.Run(50);
    pulsed.port.SetBreak(false);
    EXPECT_TRUE(pulsed.AwaitCycle()); // cycles go on at 115200

    PcBench held(old);
    held.Diagnose();
    held.port.SetBaudRate(SimController::LineBaud);
    held.port.SetBreak(true);
    held.buffer.clear();
    ASSERT_TRUE(held.RunUntilSeen(kw::BreakSeen, 500));
    held.Run(200);
    EXPECT_EQ(held.table.Find(held.buffer, kw::BreakSeenWaiting), -1); // not while held
    held.port.SetBreak(false);
    const auto ready = held.Await({kw::BreakSeenWaiting}, 200);
    ASSERT_TRUE(ready); // the two answers form one keyword 11
    EXPECT_NE(ReverseBits(ready->data[0]), ready->data[0]);

    PcBench newer(ControllerConfig{});
    newer.Diagnose();
    ASSERT_TRUE(newer.OpenReceiverForSettings());
    EXPECT_EQ(newer.buffer.size(), 0u); // no cycles after the break
}

TEST(ReceiverFactoryTransfer, StoresTheRecordThenTheDefaultSettingsAndReportsBoth) {
    for (Layout layout : {Layout::Short, Layout::Long}) {
        ControllerConfig config;
        config.layout = layout;
        PcBench bench(config);
        const auto report = bench.Diagnose();
        Record factory = FactoryOf(bench, report);
        factory[receiver_factory::ReserveMax] = 40;
        bench.codec.WriteChecksum(factory, BlockKind::Factory, Layout::Long);
        Record defaults = Edited(bench, ActiveOf(bench, report).record, 0, 4);

        const auto handshake = bench.OpenReceiverForSettings();
        ASSERT_TRUE(handshake);
        bench.Send(kw::ReceiverStoreFactory,
                   StorePayload(bench, *handshake, factory, BlockKind::Factory));
        ASSERT_TRUE(bench.Await({kw::DeliveryState}, 500));
        std::vector<std::uint8_t> encoded(
            static_cast<std::size_t>(BlockLength(BlockKind::Customer, layout)));
        bench.codec.Encode(defaults, encoded, layout, BlockKind::Customer);
        bench.Send(kw::DefaultRecordFollows, encoded);
        const auto again = bench.AwaitReport(true);
        EXPECT_EQ(FactoryOf(bench, again), factory);
        EXPECT_EQ(ActiveOf(bench, again).slot, 4);
        EXPECT_EQ(ActiveOf(bench, again).record, defaults);
        EXPECT_EQ(bench.controller->FactoryRecord(), factory);
        EXPECT_EQ(bench.controller->ActiveCustomerRecord(), defaults);
    }
}

TEST(ReceiverStoreChecks, DropsWrongHandshakeChecksumAndKeywordAndStartsAgain) {
    ControllerConfig config;
    config.firmware = {1, 121}; // takes keyword 4, not 19
    PcBench bench(config);
    const Active before = ActiveOf(bench, bench.Diagnose());
    const Record sent = Edited(bench, before.record, receiver_customer::RelayDelay, 21);
    auto unreversed = [&](std::uint8_t b) {
        auto payload = StorePayload(bench, b, sent, BlockKind::Customer);
        payload[0] = b;
        return payload;
    };
    auto broken = [&](std::uint8_t b) {
        auto payload = StorePayload(bench, b, sent, BlockKind::Customer);
        payload[5] ^= 0x10;
        return payload;
    };
    const std::pair<int, std::function<Record(std::uint8_t)>> attempts[] = {
        {kw::ReceiverStoreCustomerOld, unreversed},
        {kw::ReceiverStoreCustomerOld, broken},
        {kw::ReceiverStoreCustomer,
         [&](std::uint8_t b) { return StorePayload(bench, b, sent, BlockKind::Customer); }},
    };
    auto& receiver = dynamic_cast<ReceiverController&>(*bench.controller);
    for (const auto& [id, payload] : attempts) {
        const auto handshake = bench.OpenReceiverForSettings();
        ASSERT_TRUE(handshake);
        bench.Send(id, payload(*handshake));
        EXPECT_FALSE(bench.Await({kw::FirmwareWithType}, 800));
        EXPECT_EQ(receiver.ActiveSlot(), before.slot);
        EXPECT_EQ(ActiveOf(bench, bench.Diagnose()).record, before.record);
    }
}

// A setting byte, a wide time, a mask and the mark changed without their complement in a
// record that adds up, then (-1) the checksum's complement changed with the sum of all bytes
// kept; the record unbroken is taken.
TEST(ReceiverStoreChecks, RefusesAValueThatDisagreesWithItsComplementInEitherLayout) {
    namespace c = receiver_customer;
    for (Layout layout : {Layout::Short, Layout::Long}) {
        ControllerConfig config;
        config.layout = layout;
        PcBench bench(config);
        const Active before = ActiveOf(bench, bench.Diagnose());
        const Record sent = Edited(bench, before.record, c::RelayDelay, 11);
        for (int at : {c::RelayDelay, c::MutingCycleTime + 1, c::MutingComplement + 2,
                       c::MultipleInterruption, -1}) {
            SCOPED_TRACE(at);
            Record broken = sent;
            if (at >= 0) {
                broken[static_cast<std::size_t>(at)] ^= 0x01;
            }
            const auto handshake = bench.OpenReceiverForSettings();
            ASSERT_TRUE(handshake);
            Record payload = StorePayload(bench, *handshake, broken, BlockKind::Customer);
            if (at < 0) {
                ShiftKeepingSum(payload, payload.size() - c::ChecksumComplementFromEnd);
            }
            bench.Send(kw::ReceiverStoreCustomer, payload);
            EXPECT_FALSE(bench.Await({kw::FirmwareWithType}, 800));
            EXPECT_EQ(ActiveOf(bench, bench.Diagnose()).slot, before.slot);
        }
        const auto handshake = bench.OpenReceiverForSettings();
        ASSERT_TRUE(handshake);
        bench.Send(kw::ReceiverStoreCustomer,
                   StorePayload(bench, *handshake, sent, BlockKind::Customer));
        EXPECT_EQ(ActiveOf(bench, bench.AwaitReport(true)).record, sent);
    }
}

} // namespace
} // namespace lcdiag::sim::test
