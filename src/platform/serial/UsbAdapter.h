#pragma once

#include "platform/serial/DeviceList.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace lcdiag {

class TComPort;

// The device's own USB adapter.
inline constexpr std::uint16_t AdapterVendorId = 0x0403;
inline constexpr std::uint16_t AdapterProductId = 0x9E2B;

// Message codes (text id with the warning kind 0x30 in the high byte) that the lookup shows.
inline constexpr std::uint32_t MsgNoAdapterFound = 0x30000000u | 177u;
inline constexpr std::uint32_t MsgSeveralAdaptersFound = 0x30000000u | 178u;

// Shows a message by message code; the caller looks the text up.
using TShowMessage = std::function<void(std::uint32_t messageCode)>;

// The USB serial devices with the ids (0xFFFF or more: any) that no other program holds
// open, in the list's order. Devices without USB ids are never listed.
std::vector<TSerialDevice> GetD2XXDeviceList(TDeviceList& devices, std::uint32_t vendorId,
                                             std::uint32_t productId);

// Finds the device's adapter in the port's device list. Exactly one: the port will open it by
// its serial number; true. None or several: shows message 177 or 178; false.
bool SearchUSBDevice(TComPort& port, const TShowMessage& showMessage);

} // namespace lcdiag
