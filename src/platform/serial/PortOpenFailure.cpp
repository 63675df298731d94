#include "platform/serial/PortOpenFailure.h"

#include "core/app/Texts.h"
#include "platform/serial/EComPort.h"

#include <cerrno>
#include <system_error>

namespace lcdiag {
namespace {

constexpr TextId TxtCouldNotOpen = 9020;  // "Could not open %s: %s."
constexpr TextId TxtNoPermission = 9021;  // the group dialout and logging in again
constexpr TextId TxtNoSuchPort = 9022;    // plug in, or choose another port
constexpr TextId TxtHeldElsewhere = 9023; // another program holds it
constexpr TextId TxtCheckConnection = 9024;
constexpr TextId TxtTheAdapter = 9025;      // "the device's USB adapter"
constexpr TextId TxtAdapterNotFound = 9026; // "it is not there"
constexpr TextId TxtHeldBy = 9027;          // "held by %s"

TextId HintFor(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return TxtNoPermission;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case -1: // the adapter was not among the devices
        return TxtNoSuchPort;
    case EBUSY:
        return TxtHeldElsewhere;
    default:
        return 0;
    }
}

} // namespace

std::string PortOpenFailureText(const Texts& texts, const EComPort& failure) {
    const int error = failure.PlatformError();
    const std::string port = failure.Path().empty() ? texts.GetText(TxtTheAdapter) : failure.Path();
    const std::string reason = error == -1 ? texts.GetText(TxtAdapterNotFound)
                               : !failure.HeldBy().empty()
                                   ? texts.GetTextArgs(TxtHeldBy, {failure.HeldBy()})
                                   : std::generic_category().message(error);
    std::string text = texts.GetTextArgs(TxtCouldNotOpen, {port, reason});
    if (const TextId hint = HintFor(error); hint != 0) {
        text += "\r\n\r\n" + texts.GetText(hint);
    }
    return text + "\r\n\r\n" + texts.GetText(TxtCheckConnection);
}

} // namespace lcdiag
