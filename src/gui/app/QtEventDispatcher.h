#pragma once

#include "platform/serial/EventDispatcher.h"

#include <QObject>

class QSocketNotifier;

namespace lcdiag {

class Texts;
class TUsbClass;

// Carries the serial port's events to the user-interface thread as queued calls. The event
// thread posts a job and itself waits until the job has run (or its port closes), which makes
// the hand-over blocking without a blocking call that a closing port could never end.
// A job that fails (a handler's port call raising EComPort) is reported by the program's
// general error display, and the events go on.
class TQtEventDispatcher final : public TEventDispatcher {
public:
    // Must be made on the user-interface thread; failures are shown in the language of
    // `texts`.
    explicit TQtEventDispatcher(const Texts& texts) : texts_(texts) {}

    void Post(std::function<void()> job) override;

private:
    const Texts& texts_;
    QObject receiver_; // lives on the user-interface thread: queued calls run there
};

// Watches the device watcher's udev monitor in the event loop and lets it handle what
// arrives (a removed adapter or port ends the connection; a failure is shown in the language
// of `texts`). Null when udev cannot be reached.
QSocketNotifier* WatchDevices(TUsbClass& watcher, QObject* parent, const Texts& texts);

} // namespace lcdiag
