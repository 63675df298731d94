#pragma once

#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"
#include "sim/ControllerConfig.h"
#include "sim/RecordLayouts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace lcdiag::sim {

using ReceiverFactoryRecord = std::array<std::uint8_t, receiver_factory::Size>;
using ReceiverCustomerRecord = std::array<std::uint8_t, receiver_customer::Size>;
using EmitterFactoryRecord = std::array<std::uint8_t, emitter_factory::Size>;
using EmitterCustomerRecord = std::array<std::uint8_t, emitter_customer::Size>;

// A moment as the records keep it: day, month, year - 2000, second, minute, hour.
struct Stamp {
    int year = 2024;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The receiver's factory record as configured (long layout, checksum written).
ReceiverFactoryRecord BuildReceiverFactory(const ControllerConfig& config,
                                           const RecordCodec& codec);

// The eight ring slots of a receiver: the configurations it has been given, each with its
// activation stamp and operating hours, the newest in the active slot (with the chosen
// settings, if any); unused slots are empty. Every one stays within what the factory record
// allows the unit.
std::array<std::optional<ReceiverCustomerRecord>, 8>
BuildReceiverHistory(const ControllerConfig& config, const ReceiverFactoryRecord& factory,
                     const RecordCodec& codec);

// The 24 bytes after the factory record: "Konfig_Nr.", number, "Zeiger:", pointer.
std::vector<std::uint8_t> BuildConfigTrailer(const KeywordTable& table, int number, int pointer);

EmitterFactoryRecord BuildEmitterFactory(const ControllerConfig& config);
EmitterCustomerRecord BuildEmitterCustomer(const ControllerConfig& config);

// The emitter's records end in the complement of their checksum and the checksum, a sum of
// all their bytes, which therefore equals the value in the last two.
void WriteEmitterChecksum(std::span<std::uint8_t> record);
bool EmitterChecksumValid(std::span<const std::uint8_t> record);

// The operating hours a receiver keeps in the last six bytes of a customer record (either
// layout): three bytes and their complements.
void WriteActivationHours(std::span<std::uint8_t> customer, std::uint32_t hours);
bool HasActivationHours(std::span<const std::uint8_t> customer);

// The handshake answer: bit 0 becomes bit 7, bit 1 bit 6, and so on.
std::uint8_t ReverseBits(std::uint8_t byte);

} // namespace lcdiag::sim
