#pragma once

#include "core/device/BeamMask.h"
#include "core/device/ControllerType.h"
#include "core/device/EmitterCustomerRecord.h"
#include "core/device/EmitterCycle.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/ReceiverCycle.h"
#include "core/device/ReceiverFactoryRecord.h"

#include <cstdint>

namespace lcdiag {

// How the lines view labels its beams (preference "Dimensions").
enum class DimensioningMode { BeamNumber = 0, Position = 1 };

// How the beam selection page takes its beams: teach takes the interrupted beams over,
// manual lets the user click them.
enum class BeamSelectionMode { Teach = 1, Manual = 2 };

// What the beam selection page shows besides the live cycle: the blanking mask being edited
// (a set bit: the beam is active, clear: blanked out) and the mask as it was loaded.
struct BeamSelection {
    BeamSelectionMode mode = BeamSelectionMode::Manual;
    BeamMask fixedBlanking;
    BeamMask loadedBlanking;
    friend bool operator==(const BeamSelection&, const BeamSelection&) = default;
};

// Everything the live pictures read, copied together by the window at each redraw.
struct LiveViewData {
    ControllerType controller = ControllerType::Receiver;
    bool diagnosis = false; // the link is in cyclic diagnosis: the LEDs may light
    std::uint32_t tick = 0; // millisecond tick: the emitter's LEDs blink with it
    ReceiverCycle receiverCycle;
    EmitterCycle emitterCycle;
    Record<ReceiverFactoryField> receiverFactory;
    bool receiverFactoryValid = false;
    Record<EmitterFactoryField> emitterFactory;
    bool emitterFactoryValid = false;
    Record<EmitterCustomerField> emitterCustomer;
    bool emitterCustomerValid = false;
    DimensioningMode dimensioning = DimensioningMode::BeamNumber;
    BeamSelection selection; // beam selection page only
};

// Whether the two draw the same pictures: they agree in everything the pictures read, the
// cycles as applied, the tick only as the emitter's blinking LEDs. The window redraws only
// when the data it copied at a tick does not draw alike with what is on screen.
bool DrawsAlike(const LiveViewData& a, const LiveViewData& b);

// The device type code of the connected unit: the receiver's from its cycle (from its
// factory record while no cycle has arrived), the emitter's from its factory record; 0 while
// neither is known.
int DeviceTypeCode(const LiveViewData& data);

// The beam count of the connected unit's cycle, 0 while no valid cycle is present.
int CycleBeamCount(const LiveViewData& data);

// The beam count the bar view shows: the cycle's, replaced by the type's own count for a
// known type (the light grids of types 3, 4 and 7 have a fixed number of beams); 0 while no
// valid cycle is present.
int ShownBeamCount(const LiveViewData& data);

// The LED bytes of the bar and status views: the receiver lights 0x21 while its cycle
// reports lit LEDs (status bits 0x64); the emitter blinks 0x03 with a 300 ms period (lit in
// the second half of each, EmitterBlinkPhase). Both
// stay dark outside cyclic diagnosis and without a valid cycle.
std::uint8_t ReceiverLedByte(const LiveViewData& data);
constexpr bool EmitterBlinkPhase(std::uint32_t tick) {
    return (tick / 150) % 2 == 1;
}
std::uint8_t EmitterLedByte(const LiveViewData& data);

// The LED cell (column x 3 + row of the LED panel) that bit 0-7 of a unit's LED byte
// lights, or -1 for a bit the unit does not use.
int LedCellOfBit(ControllerType unit, int bit);

} // namespace lcdiag
