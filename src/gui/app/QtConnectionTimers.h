#pragma once

#include "core/protocol/ConnectionSeams.h"

class QObject;
class QTimer;

namespace lcdiag {

// The dialogue's timers on the window's Timer1 (25 ms) and Timer2 (the one-shot result
// reporter); the gaps between sends are single-shot timers of the window.
class QtConnectionTimers final : public ConnectionTimers {
public:
    QtConnectionTimers(QObject& owner, QTimer& timer1, QTimer& timer2)
        : owner_(owner), timer1_(timer1), timer2_(timer2) {}

    void StartCyclicTimer() override;
    void StopCyclicTimer() override;
    void ArmResultReporter(int milliseconds) override;
    void DisarmResultReporter() override;
    void RunAfter(int milliseconds, std::function<void()> step) override;
    // Handles events (but no user input) until the time has passed.
    void Wait(int milliseconds) override;

private:
    QObject& owner_;
    QTimer& timer1_;
    QTimer& timer2_;
};

} // namespace lcdiag
