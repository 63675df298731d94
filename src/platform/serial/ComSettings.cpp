#include "platform/serial/ComSettings.h"

#include "platform/serial/ComPort.h"

namespace lcdiag {

void TComParity::Changed(bool changed) {
    if (changed) {
        port_.ApplyLineSettings();
    }
}

void TComParity::SetBits(TParityBits value) {
    Changed(ChangeValue(bits_, value));
}
void TComParity::SetCheck(bool value) {
    Changed(ChangeValue(check_, value));
}
void TComParity::SetReplace(bool value) {
    Changed(ChangeValue(replace_, value));
}
void TComParity::SetReplaceChar(std::uint8_t value) {
    Changed(ChangeValue(replaceChar_, value));
}

void TComFlowControl::Changed(bool changed) {
    if (changed) {
        port_.ApplyLineSettings();
    }
}

void TComFlowControl::SetOutCTSFlow(bool value) {
    Changed(ChangeValue(outCTSFlow_, value));
}
void TComFlowControl::SetOutDSRFlow(bool value) {
    Changed(ChangeValue(outDSRFlow_, value));
}
void TComFlowControl::SetControlDTR(TDTRFlowControl value) {
    Changed(ChangeValue(controlDTR_, value));
}
void TComFlowControl::SetControlRTS(TRTSFlowControl value) {
    Changed(ChangeValue(controlRTS_, value));
}
void TComFlowControl::SetXonXoffOut(bool value) {
    Changed(ChangeValue(xonXoffOut_, value));
}
void TComFlowControl::SetXonXoffIn(bool value) {
    Changed(ChangeValue(xonXoffIn_, value));
}
void TComFlowControl::SetDSRSensitivity(bool value) {
    Changed(ChangeValue(dsrSensitivity_, value));
}
void TComFlowControl::SetTxContinueOnXoff(bool value) {
    Changed(ChangeValue(txContinueOnXoff_, value));
}
void TComFlowControl::SetXonChar(std::uint8_t value) {
    Changed(ChangeValue(xonChar_, value));
}
void TComFlowControl::SetXoffChar(std::uint8_t value) {
    Changed(ChangeValue(xoffChar_, value));
}

TFlowControl TComFlowControl::FlowControl() const {
    const bool xonXoff = xonXoffIn_ && xonXoffOut_;
    const bool noXonXoff = !xonXoffIn_ && !xonXoffOut_;
    if (controlRTS_ == rtsHandshake && outCTSFlow_ && noXonXoff) {
        return fcHardware;
    }
    if (controlRTS_ == rtsDisable && !outCTSFlow_ && xonXoff) {
        return fcSoftware;
    }
    if (controlRTS_ == rtsDisable && !outCTSFlow_ && noXonXoff) {
        return fcNone;
    }
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value) {
    if (value == fcCustom) {
        return;
    }
    bool changed = ChangeValue(controlRTS_, value == fcHardware ? rtsHandshake : rtsDisable);
    changed |= ChangeValue(outCTSFlow_, value == fcHardware);
    changed |= ChangeValue(xonXoffIn_, value == fcSoftware);
    changed |= ChangeValue(xonXoffOut_, value == fcSoftware);
    Changed(changed);
}

} // namespace lcdiag
