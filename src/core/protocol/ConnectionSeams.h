#pragma once

#include "core/app/Messages.h"
#include "core/protocol/ResultCode.h"

#include <functional>
#include <string>

namespace lcdiag {

// The two timers of the dialogue and its waits. Timer1 ticks every 25 ms and calls
// ConnectionController::Timer1Tick; the result reporter (Timer2) is one-shot and calls
// ConnectionController::Timer2Fire.
class ConnectionTimers {
public:
    virtual ~ConnectionTimers() = default;

    virtual void StartCyclicTimer() = 0;
    virtual void StopCyclicTimer() = 0;
    virtual void ArmResultReporter(int milliseconds) = 0;
    virtual void DisarmResultReporter() = 0;
    // Runs `step` once, no sooner than `milliseconds` from now, on the user-interface thread:
    // the gap between two sends.
    virtual void RunAfter(int milliseconds, std::function<void()> step) = 0;
    // Returns after at least `milliseconds`, handling events meanwhile. Used only where the
    // next step cannot wait for later: the farewell break before the port closes.
    virtual void Wait(int milliseconds) = 0;
};

// What the dialogue asks of the main window.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;

    // The information panel's texts changed.
    virtual void RefreshInfo() = 0;
    // Redraw the current view from the applied records.
    virtual void Redraw() = 0;
    // The dialogue started afresh or reported an outcome: a page that shows the connected
    // unit's settings gives way to the bar view.
    virtual void LeaveUnitSettings() = 0;
    // The connected unit changed between receiver and emitter: title, legend and panels.
    virtual void ControllerTypeSwitched() = 0;
    // The controller refuses this PC software; it needs at least `minimumVersion` ("1.05").
    virtual void ShowIncompatibilityNotice(const std::string& minimumVersion) = 0;
    // The protected start-up: ask for the factory password, then open the port or end.
    virtual void StartupPasswordStep() = 0;
};

// What the settings editors hear of the dialogue.
class TransferListener {
public:
    virtual ~TransferListener() = default;

    // The controller fell silent and the dialogue starts afresh: no save may wait for
    // confirmation any longer.
    virtual void LinkLost() = 0;
    // The result reporter showed the message of `code`; `answer` is the button pressed (Yes
    // to the offer to save the settings report after a customer transfer).
    virtual void Reported(ResultCode code, MessageResult answer) = 0;
};

} // namespace lcdiag
