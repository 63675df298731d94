#include "platform/serial/UsbAdapter.h"

#include "platform/serial/ComPort.h"

namespace lcdiag {
namespace {

bool Matches(std::uint16_t id, std::uint32_t wanted) {
    return wanted >= 0xFFFF || id == wanted;
}

} // namespace

std::vector<TSerialDevice> GetD2XXDeviceList(TDeviceList& devices, std::uint32_t vendorId,
                                             std::uint32_t productId) {
    std::vector<TSerialDevice> matching;
    for (TSerialDevice& device : devices.SerialDevices()) {
        if (device.VendorId != 0 && device.ProductId != 0 && Matches(device.VendorId, vendorId) &&
            Matches(device.ProductId, productId) && !devices.InUse(device)) {
            matching.push_back(std::move(device));
        }
    }
    return matching;
}

bool SearchUSBDevice(TComPort& port, const TShowMessage& showMessage) {
    const std::vector<TSerialDevice> adapters =
        port.Devices() ? GetD2XXDeviceList(*port.Devices(), AdapterVendorId, AdapterProductId)
                       : std::vector<TSerialDevice>();
    if (adapters.size() != 1) {
        if (showMessage) {
            showMessage(adapters.empty() ? MsgNoAdapterFound : MsgSeveralAdaptersFound);
        }
        return false;
    }
    const TSerialDevice& adapter = adapters.front();
    port.SetOpenBy(obSerialNumber);
    port.SetSerialNumber(adapter.SerialNumber);
    return true;
}

} // namespace lcdiag
