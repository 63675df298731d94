#pragma once

#include "platform/serial/ComPortTypes.h"

#include <cstdint>

namespace lcdiag {

class TComPort;

// Stores a new value; tells whether it differed from the old one.
template <typename T> bool ChangeValue(T& field, T value) {
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

// Queue sizes in bytes. A tty's queues have fixed sizes: the values are kept for the caller
// but cannot be applied (and so never fail).
struct TComBuffer {
    std::uint32_t InputSize = 1024;
    std::uint32_t OutputSize = 1024;
};

// Time-outs in milliseconds, read by every Read and Write; see TComPort::Read for how they
// act on a tty.
struct TComTimeouts {
    static constexpr std::uint32_t Infinite = 0xFFFFFFFF;
    std::uint32_t ReadInterval = Infinite;
    std::uint32_t ReadTotalMultiplier = 0;
    std::uint32_t ReadTotalConstant = 0;
    std::uint32_t WriteTotalMultiplier = 100;
    std::uint32_t WriteTotalConstant = 1000;
};

// Parity of the line; a change re-applies the line settings of an open port.
class TComParity {
public:
    explicit TComParity(TComPort& port) : port_(port) {}

    TParityBits Bits() const { return bits_; }
    bool Check() const { return check_; }
    bool Replace() const { return replace_; }
    std::uint8_t ReplaceChar() const { return replaceChar_; }

    void SetBits(TParityBits value);
    void SetCheck(bool value);
    void SetReplace(bool value);
    void SetReplaceChar(std::uint8_t value);

private:
    void Changed(bool changed);

    TComPort& port_;
    TParityBits bits_ = prNone;
    bool check_ = false;
    bool replace_ = false;
    std::uint8_t replaceChar_ = 0;
};

// Flow control of the line; a change re-applies the line settings of an open port.
class TComFlowControl {
public:
    explicit TComFlowControl(TComPort& port) : port_(port) {}

    bool OutCTSFlow() const { return outCTSFlow_; }
    bool OutDSRFlow() const { return outDSRFlow_; }
    TDTRFlowControl ControlDTR() const { return controlDTR_; }
    TRTSFlowControl ControlRTS() const { return controlRTS_; }
    bool XonXoffOut() const { return xonXoffOut_; }
    bool XonXoffIn() const { return xonXoffIn_; }
    bool DSRSensitivity() const { return dsrSensitivity_; }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }
    std::uint8_t XonChar() const { return xonChar_; }
    std::uint8_t XoffChar() const { return xoffChar_; }

    void SetOutCTSFlow(bool value);
    void SetOutDSRFlow(bool value);
    void SetControlDTR(TDTRFlowControl value);
    void SetControlRTS(TRTSFlowControl value);
    void SetXonXoffOut(bool value);
    void SetXonXoffIn(bool value);
    void SetDSRSensitivity(bool value);
    void SetTxContinueOnXoff(bool value);
    void SetXonChar(std::uint8_t value);
    void SetXoffChar(std::uint8_t value);

    // The usual combinations by name; fcCustom when the fields form none of them.
    TFlowControl FlowControl() const;
    // Sets the fields of a named combination; fcCustom changes nothing.
    void SetFlowControl(TFlowControl value);

private:
    void Changed(bool changed);

    TComPort& port_;
    bool outCTSFlow_ = false;
    bool outDSRFlow_ = false;
    TDTRFlowControl controlDTR_ = dtrDisable;
    TRTSFlowControl controlRTS_ = rtsDisable;
    bool xonXoffOut_ = false;
    bool xonXoffIn_ = false;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = false;
    std::uint8_t xonChar_ = 17;
    std::uint8_t xoffChar_ = 19;
};

} // namespace lcdiag
