#include "platform/serial/ComThread.h"

#include "QueueDispatcher.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace lcdiag {
namespace {

using std::chrono::milliseconds;
using TClock = std::chrono::steady_clock;

// The event thread on one end of a socket pair. A socket stands in for a transmitter that
// never reports empty: its output queue (TIOCOUTQ asks what SIOCOUTQ does) stays filled while
// the other end reads nothing.
class ComThreadTest : public ::testing::Test {
protected:
    ComThreadTest() {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0) {
            throw std::runtime_error("no socket pair");
        }
    }
    ~ComThreadTest() override {
        thread.reset();
        close(ends[0]);
        close(ends[1]);
    }

    void Start() {
        TComThread::TConfig config;
        config.fd = ends[0];
        config.events = AllComEvents;
        config.dispatcher = &dispatcher;
        config.deliver = [this](TComEvents events, TComErrors) {
            delivered.push_back({events, TClock::now()});
        };
        config.lost = [] {};
        thread = std::make_unique<TComThread>(std::move(config));
    }

    bool TransmitEmptyCame() const {
        return !delivered.empty() && delivered.back().events.Contains(evTxEmpty);
    }

    struct Delivery {
        TComEvents events;
        TClock::time_point at;
    };
    int ends[2] = {-1, -1};
    test::TQueueDispatcher dispatcher;
    std::vector<Delivery> delivered;
    std::unique_ptr<TComThread> thread;
};

TEST_F(ComThreadTest, StuckTransmitterEndsItsDrainAtTheDeadlineAndInputArrivesMeanwhile) {
    Start();
    ASSERT_EQ(write(ends[0], "never read", 10), 10);
    const auto written = TClock::now();
    thread->NoteWrite();
    ASSERT_EQ(write(ends[1], "answer", 6), 6);
    ASSERT_TRUE(dispatcher.RunUntil([&] { return TransmitEmptyCame(); }));
    ASSERT_GE(delivered.size(), 2u);
    EXPECT_EQ(delivered.front().events, TComEvents{evRxChar});  // not deaf while draining
    EXPECT_GE(delivered.back().at - written, milliseconds(50)); // no rate: the margin alone

    thread->NoteWrite(); // a drain under way does not hold up the end of the thread
    const auto stopping = TClock::now();
    thread.reset();
    EXPECT_LT(TClock::now() - stopping, milliseconds(500));
}

std::set<std::string> Tasks() {
    std::set<std::string> tasks;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        tasks.insert(task.path().filename().string());
    }
    return tasks;
}

// The signals a task blocks, from its status file.
unsigned long long BlockedSignals(const std::string& task) {
    std::ifstream status("/proc/self/task/" + task + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigBlk:", 0) == 0) {
            return std::stoull(line.substr(7), nullptr, 16);
        }
    }
    return 0;
}

TEST_F(ComThreadTest, SignalsGoToTheProgramsOtherThreads) {
    const std::set<std::string> before = Tasks();
    Start();
    std::vector<std::string> started;
    for (const std::string& task : Tasks()) {
        if (before.count(task) == 0) {
            started.push_back(task);
        }
    }
    ASSERT_EQ(started.size(), 1u);
    ASSERT_EQ(write(ends[1], "x", 1), 1); // a delivery: the thread has settled in its loop
    ASSERT_TRUE(dispatcher.RunUntil([&] { return !delivered.empty(); }));
    const unsigned long long blocked = BlockedSignals(started.front());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGALRM, SIGCHLD}) {
        EXPECT_NE(blocked & (1ULL << (signal - 1)), 0u) << signal;
    }
    sigset_t own;
    pthread_sigmask(SIG_BLOCK, nullptr, &own);
    EXPECT_FALSE(sigismember(&own, SIGUSR1)); // the starting thread keeps its signals
}

} // namespace
} // namespace lcdiag
