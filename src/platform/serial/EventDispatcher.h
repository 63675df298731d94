#pragma once

#include <functional>

namespace lcdiag {

// Seam: carries jobs of the serial port's event thread over to the user-interface thread
// (a queued call in the program, a queue that the test drains in tests).
class TEventDispatcher {
public:
    virtual ~TEventDispatcher() = default;

    // Queues the job for the user-interface thread and returns at once; jobs run in the order
    // posted. Called from the event thread, which then waits for the job when the port's
    // SyncMethod is smThreadSync. A job may throw EComPort (a handler's failing port call, or
    // error 24 when a lost connection finds no OnDisconnect handler): the dispatcher reports
    // it as the program reports any failure and carries on.
    virtual void Post(std::function<void()> job) = 0;
};

} // namespace lcdiag
