#pragma once

#include <cstdint>

namespace lcdiag {

// The outcome of a step of the dialogue, shown by the result reporter. The numbers are part of
// what the user sees: an unknown outcome shows its number in message 110.
enum class ResultCode : std::uint32_t {
    None = 0,
    // Receiver transfers, and the outcomes that start the dialogue afresh.
    FactoryStored = 1,
    FactoryReadBackDiffers = 2,
    FactoryTimeOut = 3,
    CustomerStored = 4, // offers to save the settings report
    CustomerReadBackDiffers = 5,
    CustomerTimeOut = 6,
    PcSoftwareRefused = 7,
    ImportReloadFailed = 8, // no message: an imported configuration whose page could not be shown
    // Outcomes that keep the dialogue.
    ConfirmationExpired = 10,
    FactoryDataInvalid = 11,
    SettingsInvalid = 12,
    EmitterFactoryStored = 13,
    EmitterFactoryFailed = 14,
    EmitterFactoryNotAcknowledged = 15,
    EmitterCustomerStored = 16, // offers to save the settings report
    EmitterCustomerFailed = 17,
    EmitterCustomerNotAcknowledged = 18,
    // The manufacturer build's factory password before the first connection.
    ProtectedStart = 19,
    // A time-out with no transfer kind recorded.
    Unknown = 255,
};

// Outcomes after which the dialogue starts afresh, waiting for a new identification.
constexpr bool ResetsTheDialogue(ResultCode code) {
    const auto value = static_cast<std::uint32_t>(code);
    return (value >= 1 && value <= 8) || code == ResultCode::Unknown;
}

} // namespace lcdiag
