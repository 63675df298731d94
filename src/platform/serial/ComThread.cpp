#include "platform/serial/ComThread.h"

#include "platform/serial/CustomBaudRate.h"
#include "platform/serial/EventDispatcher.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <optional>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace lcdiag {

// Shared by the thread, the port and the jobs in the dispatcher's queue, so that a job that
// runs after its thread was stopped finds out and does nothing.
struct TComThreadState {
    TComThreadState() {
        if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
            throw std::system_error(errno, std::generic_category(), "event thread pipe");
        }
    }
    ~TComThreadState() {
        close(wake[0]);
        close(wake[1]);
    }
    TComThreadState(const TComThreadState&) = delete;
    TComThreadState& operator=(const TComThreadState&) = delete;

    void Wake() const {
        const char note = 1;
        // A full pipe wakes the thread anyway, so a failed write loses nothing.
        [[maybe_unused]] const auto written = write(wake[1], &note, 1);
    }
    void DrainWake() const {
        char notes[64];
        while (read(wake[0], notes, sizeof notes) > 0) {
        }
    }
    void RequestStop() {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        handedOver.notify_all();
        Wake();
    }

    int wake[2] = {-1, -1};
    std::atomic<bool> stop = false;
    std::atomic<bool> wrote = false;
    std::atomic<bool> inputTaken = false;
    std::mutex mutex;
    std::condition_variable handedOver;
    std::uint64_t posted = 0; // jobs posted and waited for (smThreadSync)
    std::uint64_t done = 0;   // of those, the last one that has run
};

namespace {

using TSharedState = std::shared_ptr<TComThreadState>;

// The kernel's counters of line errors and modem-line changes, compared at each wake-up.
// Drivers without counters (pseudo-terminals) report nothing.
class TLineCounters {
public:
    explicit TLineCounters(int fd) : fd_(fd) { available_ = ioctl(fd_, TIOCGICOUNT, &last_) == 0; }

    void Collect(TComEvents& events, TComErrors& errors) {
        serial_icounter_struct now{};
        if (!available_ || ioctl(fd_, TIOCGICOUNT, &now) != 0) {
            return;
        }
        Note(now.frame != last_.frame, ceFrame, errors);
        Note(now.parity != last_.parity, ceRxParity, errors);
        Note(now.overrun != last_.overrun, ceOverrun, errors);
        Note(now.buf_overrun != last_.buf_overrun, ceRxOver, errors);
        Note(now.brk != last_.brk, ceBreak, errors);
        Note(now.brk != last_.brk, evBreak, events);
        Note(!errors.Empty(), evError, events);
        Note(now.cts != last_.cts, evCTS, events);
        Note(now.dsr != last_.dsr, evDSR, events);
        Note(now.dcd != last_.dcd, evRLSD, events);
        Note(now.rng != last_.rng, evRing, events);
        last_ = now;
    }

private:
    template <typename E> static void Note(bool changed, E value, TEnumSet<E>& set) {
        if (changed) {
            set.Include(value);
        }
    }

    int fd_;
    bool available_ = false;
    serial_icounter_struct last_{};
};

bool InputWaiting(int fd) {
    int count = 0;
    return ioctl(fd, FIONREAD, &count) == 0 && count > 0;
}

// Posts the job and waits until it has run on the user-interface thread or the thread is
// stopped. A job still queued when its thread stops does nothing when it runs at last.
bool HandOverAndWait(const TSharedState& state, TEventDispatcher& dispatcher,
                     const std::function<void()>& job) {
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(state->mutex);
        ticket = ++state->posted;
    }
    dispatcher.Post([state, job, ticket] {
        struct TDone {
            const TSharedState& state;
            std::uint64_t ticket;
            ~TDone() {
                {
                    std::lock_guard lock(state->mutex);
                    state->done = ticket;
                }
                state->handedOver.notify_all();
            }
        } done{state, ticket};
        if (!state->stop) {
            job();
        }
    });
    std::unique_lock lock(state->mutex);
    state->handedOver.wait(lock, [&] { return state->done >= ticket || state->stop; });
    return !state->stop;
}

// Hands a job over as the sync method says; false when the thread is to end.
bool HandOver(const TSharedState& state, const TComThread::TConfig& config,
              const std::function<void()>& job) {
    switch (config.syncMethod) {
    case smThreadSync:
        return HandOverAndWait(state, *config.dispatcher, job);
    case smWindowSync:
        config.dispatcher->Post([state, job] {
            if (!state->stop) {
                job();
            }
        });
        return true;
    case smNone:
        break;
    }
    try {
        job();
    } catch (...) {
        // A failure in a handler that runs on this thread has nowhere to go: like any thread
        // whose work failed, the event thread ends.
        return false;
    }
    return !state->stop;
}

// Whether the bytes written have left: the driver's output queue is empty and so is the
// transmitter, where the driver tells its line status (a UART, an FTDI chip). A device that
// has gone counts as empty: its hang-up follows.
bool TransmitterEmpty(int fd) {
    int queued = 0;
    if (ioctl(fd, TIOCOUTQ, &queued) != 0 || queued > 0) {
        return queued <= 0;
    }
    unsigned status = 0;
    return ioctl(fd, TIOCSERGETLSR, &status) != 0 || (status & TIOCSER_TEMT) != 0;
}

// The time the bytes of the output queue take on the line at its current rate.
std::chrono::nanoseconds QueueLineTime(int fd) {
    int queued = 0;
    if (ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0) {
        return {};
    }
    return std::chrono::nanoseconds(CharacterNanoseconds(fd) * static_cast<std::uint64_t>(queued));
}

using TClock = std::chrono::steady_clock;

// How long received bytes are gathered after a delivery before the next one.
constexpr std::chrono::microseconds InputGathering{5000};
// How often the output queue is looked at while written bytes drain.
constexpr std::chrono::milliseconds DrainStep{1};
// How much longer than their line time written bytes may take to leave before transmit-empty
// is reported all the same: room for a UART's FIFO and the adapter's USB frames.
constexpr std::chrono::milliseconds DrainMargin{50};

timespec Timespec(std::chrono::nanoseconds wait) {
    const auto count = std::max<std::int64_t>(wait.count(), 0);
    return {static_cast<time_t>(count / 1000000000), static_cast<long>(count % 1000000000)};
}

class TEventLoop {
public:
    TEventLoop(TSharedState state, TComThread::TConfig config)
        : state_(std::move(state)), config_(std::move(config)), counters_(config_.fd),
          watchInput_(config_.events.Contains(evRxChar)) {}

    void Run() {
        while (!state_->stop) {
            // Bytes that follow a delivery closely are gathered for a moment before the next
            // one: a line that brings a few bytes every millisecond would otherwise wake the
            // program a thousand times a second. Everything else is watched meanwhile.
            const auto now = TClock::now();
            const bool gathering = watchInput_ && now < lastInput_ + InputGathering;
            pollfd fds[2] = {
                {state_->wake[0], POLLIN, 0},
                {config_.fd, static_cast<short>(watchInput_ && !gathering ? POLLIN : 0), 0}};
            const std::optional<timespec> wait = Wait(now, gathering);
            const int ready = ppoll(fds, 2, wait ? &*wait : nullptr, nullptr);
            if (ready < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[0].revents != 0) {
                state_->DrainWake();
            }
            if (state_->stop) {
                return;
            }
            if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
                HandOver(state_, config_, config_.lost);
                return;
            }
            if (!Handle((fds[1].revents & POLLIN) != 0)) {
                return;
            }
        }
    }

private:
    // How long poll() may wait: until the gathering ends or the next look at the output queue
    // of a drain; without either, until something happens.
    std::optional<timespec> Wait(TClock::time_point now, bool gathering) const {
        std::optional<std::chrono::nanoseconds> wait;
        if (gathering) {
            wait = lastInput_ + InputGathering - now;
        }
        if (drainUntil_) {
            wait = std::min({wait.value_or(DrainStep), std::chrono::nanoseconds(DrainStep),
                             *drainUntil_ - now});
        }
        return wait ? std::optional(Timespec(*wait)) : std::nullopt;
    }

    // Written bytes drain without a blocking wait: received bytes keep coming meanwhile, and
    // a transmitter that never reports empty (a chip held by flow control, a faulty adapter)
    // ends the drain at the line time of the bytes plus a margin instead of deafening the
    // link and hanging the close.
    void Drain(TComEvents& events) {
        const auto now = TClock::now();
        if (state_->wrote.exchange(false)) {
            drainUntil_ = now + QueueLineTime(config_.fd) + DrainMargin;
        }
        if (drainUntil_ && (TransmitterEmpty(config_.fd) || now >= *drainUntil_)) {
            events.Include(evTxEmpty);
            drainUntil_.reset();
        }
    }

    bool Handle(bool readable) {
        if (state_->inputTaken.exchange(false)) {
            watchInput_ = config_.events.Contains(evRxChar);
        }
        TComEvents events;
        TComErrors errors;
        Drain(events);
        if (readable) {
            events.Include(evRxChar);
            lastInput_ = TClock::now();
        }
        counters_.Collect(events, errors);
        events = events & config_.events;
        // The job may run after this function returned (smWindowSync): it keeps copies.
        const auto deliver = [deliver = config_.deliver, events, errors] {
            deliver(events, errors);
        };
        if (!events.Empty() && !HandOver(state_, config_, deliver)) {
            return false;
        }
        if (readable && InputWaiting(config_.fd)) {
            watchInput_ = false; // until the program reads again
        }
        return true;
    }

    TSharedState state_;
    TComThread::TConfig config_;
    TLineCounters counters_;
    bool watchInput_;
    TClock::time_point lastInput_;                 // the last delivery of received bytes
    std::optional<TClock::time_point> drainUntil_; // while written bytes drain: the deadline
};

// Blocks every signal in the calling thread while it lives, so that a thread started
// meanwhile inherits the blocked set.
class TSignalsBlocked {
public:
    TSignalsBlocked() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &previous_);
    }
    ~TSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    TSignalsBlocked(const TSignalsBlocked&) = delete;
    TSignalsBlocked& operator=(const TSignalsBlocked&) = delete;

private:
    sigset_t previous_{};
};

} // namespace

// The program's signals go to its other threads: a handler that ran on the event thread
// would run beside the user-interface thread, and none of the thread's calls is interrupted.
TComThread::TComThread(TConfig config) : state_(std::make_shared<TComThreadState>()) {
    const TSignalsBlocked blocked;
    thread_ =
        std::thread([](TSharedState state,
                       TConfig config) { TEventLoop(std::move(state), std::move(config)).Run(); },
                    state_, std::move(config));
}

TComThread::~TComThread() {
    state_->RequestStop();
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach(); // it ends when the handler that stopped it returns
    } else {
        thread_.join();
    }
}

void TComThread::NoteWrite() {
    state_->wrote = true;
    state_->Wake();
}

void TComThread::NoteInputTaken() {
    state_->inputTaken = true;
    state_->Wake();
}

} // namespace lcdiag
