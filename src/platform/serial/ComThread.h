#pragma once

#include "platform/serial/ComPortTypes.h"

#include <functional>
#include <memory>
#include <thread>

namespace lcdiag {

class TEventDispatcher;
struct TComThreadState;

// The event thread of an open port. It waits in poll() on the port and on a wake-up pipe,
// never on a timer, turns what it sees into an event set and hands the set over:
// - readable input becomes evRxChar; when the handlers leave bytes unread, input is watched
//   again only after the next read, so unread bytes cause no busy loop and no byte is left
//   behind once the program reads again;
// - a write noted by the port becomes evTxEmpty once the output queue and the transmitter are
//   empty, or at the bytes' line time plus 50 ms if the transmitter never says so; input is
//   delivered meanwhile;
// - the kernel's line counters, where the driver keeps them, become evError (with the
//   errors), evBreak, evRing, evCTS, evDSR and evRLSD; they are read whenever the thread wakes,
//   as a tty cannot wake a poll() for a modem line alone;
// - a hang-up (the device vanished, the other side of a pseudo-terminal closed) ends the
//   thread after handing over the lost-connection job.
// With smThreadSync the thread waits until the dispatcher has run the job (or the thread is
// stopped); with smWindowSync it only posts; with smNone it runs the job itself.
class TComThread {
public:
    struct TConfig {
        int fd = -1;
        TComEvents events;
        TSyncMethod syncMethod = smThreadSync;
        TEventDispatcher* dispatcher = nullptr;
        std::function<void(TComEvents, TComErrors)> deliver;
        std::function<void()> lost;
    };

    explicit TComThread(TConfig config);
    // Stops the thread and waits for its end; called on the thread itself (a handler under
    // smNone closing the port) it only stops it, and the thread ends after that handler.
    ~TComThread();
    TComThread(const TComThread&) = delete;
    TComThread& operator=(const TComThread&) = delete;

    // Bytes were written: report evTxEmpty once they have left.
    void NoteWrite();
    // Input was taken: watch for more.
    void NoteInputTaken();

private:
    std::shared_ptr<TComThreadState> state_;
    std::thread thread_;
};

} // namespace lcdiag
