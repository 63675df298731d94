#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

namespace lcdiag {

// The ordinals of these enumerations are their stored values: keep the order.
enum TBaudRate {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br230400,
    br256000
};
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
enum TComEvent {
    evRxChar,
    evTxEmpty,
    evRxFlag,
    evRing,
    evBreak,
    evCTS,
    evDSR,
    evError,
    evRLSD,
    evRx80Full,
    evEvent1,
    evEvent2
};
enum TComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
enum TSyncMethod { smThreadSync, smWindowSync, smNone };
enum TOpenBy { obDeviceLocation, obSerialNumber, obDeviceDescription };
enum TPortMode { pmCOM, pmD2XX };

// A set of enumeration values: bit n stands for the value with ordinal n.
template <typename E> class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values) {
        for (E value : values) {
            Include(value);
        }
    }
    static constexpr TEnumSet FromBits(std::uint16_t bits) {
        TEnumSet set;
        set.bits_ = bits;
        return set;
    }

    constexpr bool Contains(E value) const { return (bits_ & Bit(value)) != 0; }
    constexpr void Include(E value) { bits_ = static_cast<std::uint16_t>(bits_ | Bit(value)); }
    constexpr void Exclude(E value) { bits_ = static_cast<std::uint16_t>(bits_ & ~Bit(value)); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr TEnumSet operator&(TEnumSet other) const { return FromBits(bits_ & other.bits_); }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr std::uint16_t Bit(E value) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(value));
    }
    std::uint16_t bits_ = 0;
};

using TComEvents = TEnumSet<TComEvent>;
using TComErrors = TEnumSet<TComError>;

inline constexpr TComEvents AllComEvents = TComEvents::FromBits(0x0FFF);

// Bits per second by TBaudRate; brCustom stands for the port's CustomBaudRate.
inline constexpr std::array<std::uint32_t, 17> BaudRateValues = {
    0,     110,   300,   600,   1200,   2400,   4800,   9600,  14400,
    19200, 38400, 56000, 57600, 115200, 128000, 230400, 256000};

} // namespace lcdiag
