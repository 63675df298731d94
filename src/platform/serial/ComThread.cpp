#include "platform/serial/ComThread.h"

#include "platform/serial/EventDispatcher.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
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

// How long received bytes are gathered after a delivery before the next one.
constexpr std::chrono::microseconds InputGathering{5000};

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
            const auto now = std::chrono::steady_clock::now();
            const bool gathering = watchInput_ && now < lastInput_ + InputGathering;
            const auto rest = std::chrono::duration_cast<std::chrono::nanoseconds>(
                lastInput_ + InputGathering - now);
            const timespec wait{0, gathering ? static_cast<long>(rest.count()) : 0};
            pollfd fds[2] = {
                {state_->wake[0], POLLIN, 0},
                {config_.fd, static_cast<short>(watchInput_ && !gathering ? POLLIN : 0), 0}};
            const int ready = ppoll(fds, 2, gathering ? &wait : nullptr, nullptr);
            if (ready < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (ready == 0) {
                continue; // the gathering time is over
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
    bool Handle(bool readable) {
        if (state_->inputTaken.exchange(false)) {
            watchInput_ = config_.events.Contains(evRxChar);
        }
        TComEvents events;
        TComErrors errors;
        if (state_->wrote.exchange(false)) {
            tcdrain(config_.fd); // a vanished device ends the wait as well
            events.Include(evTxEmpty);
        }
        if (readable) {
            events.Include(evRxChar);
            lastInput_ = std::chrono::steady_clock::now();
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
    std::chrono::steady_clock::time_point lastInput_; // the last delivery of received bytes
};

} // namespace

TComThread::TComThread(TConfig config) : state_(std::make_shared<TComThreadState>()) {
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
