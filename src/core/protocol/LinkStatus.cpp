#include "core/protocol/LinkStatus.h"

#include "core/app/Texts.h"

namespace lcdiag {
namespace {

constexpr TextId TxtNotConnected = 9030;
constexpr TextId TxtWaiting = 9031;
constexpr TextId TxtReading = 9032;
constexpr TextId TxtDiagnosis = 9033;
constexpr TextId TxtTransferring = 9034;
constexpr TextId TxtConnected = 9035;
constexpr TextId TxtReceiver = 9036;
constexpr TextId TxtEmitter = 9037;

TextId StateText(LinkState state) {
    switch (state) {
    case LinkState::Idle:
        return TxtWaiting;
    case LinkState::Identified:
        return TxtReading;
    case LinkState::Diagnosis:
        return TxtDiagnosis;
    case LinkState::TransferRequested:
    case LinkState::TransferSent:
        return TxtTransferring;
    case LinkState::Reporting:
        return TxtConnected;
    }
    return TxtWaiting;
}

} // namespace

std::string LinkStatusText(const Texts& texts, const std::string& port, bool open, LinkState state,
                           ControllerType unit) {
    if (!open) {
        return texts.GetTextStr(TxtNotConnected, port);
    }
    const TextId id = StateText(state);
    if (id == TxtWaiting) {
        return texts.GetTextStr(TxtWaiting, port);
    }
    const std::string name =
        texts.GetText(unit == ControllerType::Emitter ? TxtEmitter : TxtReceiver);
    return texts.GetTextArgs(id, {port, name});
}

} // namespace lcdiag
