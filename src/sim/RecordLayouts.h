#pragma once

// Byte offsets of the records the controllers hold and send, in the long layout, one table
// per record. The simulated controllers write their records by these offsets alone, so they
// stay an independent check of the program's own record code.
namespace lcdiag::sim {

inline constexpr int MaskBytes = 24; // a beam mask: beam b at bit 7 - (b-1)%8 of byte (b-1)/8

// A value a controller keeps twice: `width` bytes at `value` and each of them XOR 0xFF at
// `complement`. The value counts only when both copies agree.
struct Redundant {
    int value;
    int complement;
    int width = 1;
};

namespace receiver_factory {
inline constexpr int Size = 212;
inline constexpr int BeamCount = 0; // complement at 1
inline constexpr int ModuleDefaults = 2;
inline constexpr int ReserveMax = 6;
inline constexpr int OutputOnDelay = 8;
inline constexpr int EdmStartDelay = 14;
inline constexpr int FloatingBeamsMax = 18;
inline constexpr int DeviceType = 21;
inline constexpr int BlankingBeamsMax = 22;
inline constexpr int MutingCycleMax = 23;  // seconds, bits 0-15; bits 16-23 at 203
inline constexpr int ConveyorStopMax = 25; // seconds, bits 0-15; bits 16-23 at 204
inline constexpr int PresenceMask = 27;
inline constexpr int PresenceComplement = 51;
inline constexpr int ProductionStamp = 75;
inline constexpr int HardwareVersion = 85; // two digit characters
inline constexpr int SoftwareVersion = 87;
inline constexpr int SerialNumber = 89; // 10 characters
inline constexpr int SerialLength = 10;
inline constexpr int Designation = 99;           // 20 characters
inline constexpr int Tester = 119;               // 10 characters
inline constexpr int Notes = 129;                // 60 characters
inline constexpr int PcVersion = 201;            // major, minor
inline constexpr int MutingCycleMaxHigh = 203;   // from firmware 1.33
inline constexpr int ConveyorStopMaxHigh = 204;  // from firmware 1.33
inline constexpr int MultipleInterruption = 205; // "M": forced during muting
inline constexpr int Mark = 206;                 // "T"
inline constexpr int TypeDigit = 207;
inline constexpr Redundant Redundants[] = {{BeamCount, BeamCount + 1},
                                           {PresenceMask, PresenceComplement, MaskBytes}};
// Counted from the record's end, the same in either layout.
inline constexpr int ChecksumFromEnd = 2;
inline constexpr int ChecksumComplementFromEnd = 4;
} // namespace receiver_factory

namespace receiver_customer {
inline constexpr int Size = 152;
inline constexpr int Functions = 0; // complement of every setting byte follows it (below)
inline constexpr int MutingBits = 2;
inline constexpr int RelayDelay = 4;
inline constexpr int Special = 6;
inline constexpr int ClockCycles = 8;
inline constexpr int ClockTime = 10;
inline constexpr int InterruptionTime = 12;
inline constexpr int MutingCycleTime = 14; // two bytes, complements at 16
inline constexpr int Concurrency = 18;
inline constexpr int ConveyorStop = 20; // two bytes, complements at 22
inline constexpr int OverrideTime = 24;
inline constexpr int ProtocolNumber = 26;
inline constexpr int MutingCycleTimeHigh = 28; // bits 16-23, from firmware 1.33
inline constexpr int ConveyorStopHigh = 30;    // bits 16-23, from firmware 1.33
inline constexpr int FloatingBeams = 34;
inline constexpr int BlankingMask = 36; // complement at 60
inline constexpr int BlankingComplement = 60;
inline constexpr int MutingMask = 84; // complement at 108
inline constexpr int MutingComplement = 108;
inline constexpr int Stamp = 132;
inline constexpr int MultipleInterruption = 138; // complement at 139
inline constexpr int PcVersion = 140;
inline constexpr int HoursFromEnd = 6; // hours of activation (3 bytes) and their complements
// Setting bytes with their complement in the next byte; the two 16-bit times keep their
// complements two bytes further on.
inline constexpr int SingleSettings[] = {0, 2, 4, 6, 8, 10, 12, 18, 24, 26, 28, 30, 32, 34};
inline constexpr int WideSettings[] = {14, 20};
inline constexpr Redundant Redundants[] = {{BlankingMask, BlankingComplement, MaskBytes},
                                           {MutingMask, MutingComplement, MaskBytes},
                                           {MultipleInterruption, MultipleInterruption + 1}};
// Counted from the record's end, the same in either layout.
inline constexpr int ChecksumFromEnd = 10;
inline constexpr int ChecksumComplementFromEnd = 8;
// Function bits.
inline constexpr int FixedBlanking = 0x08;
inline constexpr int StartInterlock = 0x03;
inline constexpr int FloatingBlanking = 0x30; // one beam, or the count at FloatingBeams
// Special bits.
inline constexpr int CyclicOperation = 0x01;
inline constexpr int Muting = 0x08;
} // namespace receiver_customer

namespace cycle_part {
inline constexpr int Size = 41;
inline constexpr int Counter = 0; // not read by the PC: the controller's cycle counter
inline constexpr int PartDigit = 1;
inline constexpr int BeamCount = 2;
inline constexpr int Leds = 3;          // part 1
inline constexpr int DeviceType = 3;    // part 2
inline constexpr int FunctionOne = 4;   // part 1
inline constexpr int FunctionTwo = 5;   // part 1
inline constexpr int FaultByte = 4;     // parts 2 and 3
inline constexpr int Mask = 6;          // part 1 free, part 2 weak, part 3 active
inline constexpr int FaultsLow = 30;    // part 1
inline constexpr int MutingStatus = 31; // part 1
inline constexpr int CyclicStatus = 33; // part 1
inline constexpr int Serial = 34;       // parts 1 and 2: five characters each
} // namespace cycle_part

namespace emitter_factory {
inline constexpr int Size = 64;
inline constexpr int BeamCount = 0; // complement at 1
inline constexpr int DeviceType = 2;
inline constexpr int Variant = 3; // complement at 4
inline constexpr int Filler = 5;  // 255, 0, 255, 0, 255, 0, 255
inline constexpr int Stamp = 12;
inline constexpr int HardwareVersion = 18;
inline constexpr int SerialNumber = 20;
inline constexpr int Designation = 30;
inline constexpr int Tester = 50;
inline constexpr int ChecksumComplement = 60;
inline constexpr int Checksum = 62;
inline constexpr Redundant Redundants[] = {
    {BeamCount, BeamCount + 1}, {Variant, Variant + 1}, {Checksum, ChecksumComplement, 2}};
} // namespace emitter_factory

namespace emitter_customer {
inline constexpr int Size = 22;
inline constexpr int Coding = 0; // "b" beam coding A, "A" none; complement at 1
inline constexpr int Filler = 2; // 0, 255 five times
inline constexpr int Stamp = 12;
inline constexpr int ChecksumComplement = 18;
inline constexpr int Checksum = 20;
inline constexpr Redundant Redundants[] = {{Coding, Coding + 1},
                                           {Filler, Filler + 1},
                                           {Filler + 2, Filler + 3},
                                           {Filler + 4, Filler + 5},
                                           {Filler + 6, Filler + 7},
                                           {Filler + 8, Filler + 9},
                                           {Checksum, ChecksumComplement, 2}};
} // namespace emitter_customer

namespace emitter_diagnostic {
inline constexpr int Size = 64;
inline constexpr int BeamCount = 0;
inline constexpr int Faults = 1;
inline constexpr int Counter = 2; // not read by the PC
inline constexpr int CurrentLow = 14;
inline constexpr int CurrentHigh = 38;
} // namespace emitter_diagnostic

} // namespace lcdiag::sim
