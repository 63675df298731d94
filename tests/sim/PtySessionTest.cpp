// lcdiag-sim on a real pseudo-terminal: a terminal program opens the slave as its port.
#include "core/protocol/ExpectedKeywordList.h"
#include "core/protocol/FrameSelection.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lcdiag {
namespace {

using Clock = std::chrono::steady_clock;

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> arguments) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        arguments.insert(arguments.begin(), LCDIAG_SIM_PATH);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn(&pid_, LCDIAG_SIM_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        output_ = out[0];
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) {
            close(output_);
        }
    }
    // The next line the program printed, or everything up to its end.
    std::string Read(bool wholeOutput = false) const {
        std::string text;
        char c = 0;
        while (read(output_, &c, 1) == 1 && (wholeOutput || c != '\n')) {
            text += c;
        }
        return text;
    }
    int ExitCode() {
        int status = 0;
        waitpid(std::exchange(pid_, -1), &status, 0);
        return WEXITSTATUS(status);
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

// The PC's end: the slave opened and set raw, as a serial port component sets its port.
class Terminal {
public:
    explicit Terminal(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
        SetBaud(B19200);
    }
    ~Terminal() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    bool IsOpen() const { return fd_ >= 0; }
    void SetBaud(speed_t speed) {
        termios settings{};
        tcgetattr(fd_, &settings);
        cfmakeraw(&settings);
        cfsetspeed(&settings, speed);
        tcsetattr(fd_, TCSANOW, &settings);
    }
    void Send(std::string_view text) {
        (void)!write(fd_, text.data(), text.size());
        tcdrain(fd_);
    }
    // Reads until a frame of the id is complete; its data.
    std::optional<std::vector<std::uint8_t>> Await(int id, int timeoutMs, Layout layout) {
        ExpectedKeywordList expected;
        expected.Add(id);
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < end) {
            if (const auto frame = SelectFrame(table_, expected, buffer_, layout)) {
                const auto start = buffer_.begin() + frame->position;
                std::vector<std::uint8_t> data(
                    start + static_cast<std::ptrdiff_t>(table_.Text(id).size()),
                    start + frame->length);
                buffer_.erase(buffer_.begin(), start + frame->length);
                return data;
            }
            pollfd watch{fd_, POLLIN, 0};
            if (poll(&watch, 1, 10) > 0) {
                std::uint8_t chunk[512];
                const ssize_t count = read(fd_, chunk, sizeof chunk);
                buffer_.insert(buffer_.end(), chunk, chunk + std::max<ssize_t>(count, 0));
            }
        }
        return std::nullopt;
    }
    void Forget() { buffer_.clear(); }

private:
    int fd_;
    KeywordTable table_;
    std::vector<std::uint8_t> buffer_;
};

TEST(LcdiagSim, ServesIdentificationReportAndCyclesOnAPseudoTerminal) {
    SimProcess sim({"--layout", "short", "--scenes", "none"});
    const std::string path = sim.Read();
    ASSERT_FALSE(path.empty());
    auto terminal = std::make_unique<Terminal>(path);
    ASSERT_TRUE(terminal->IsOpen());
    const KeywordTable table;
    const RecordCodec codec(table.KeywordSum());
    ASSERT_TRUE(terminal->Await(kw::ReceiverIdentShort, 1500, Layout::Short));

    terminal->Send(table.Text(kw::PcAnswerReceiver));
    const auto factory = terminal->Await(kw::ReceiverFactoryData, 1500, Layout::Short);
    ASSERT_TRUE(factory);
    std::vector<std::uint8_t> record(212);
    EXPECT_TRUE(codec.Decode(*factory, record, Layout::Short, BlockKind::Factory));
    ASSERT_TRUE(terminal->Await(kw::ReceiverCustomerData, 1500, Layout::Short));

    terminal->Send(table.Text(kw::StartReceiverDiagnosis));
    // The program switches 100 ms after its last byte has left; a pseudo-terminal has no
    // transmit queue to wait for, and the bytes must have been read at the old speed.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    terminal->SetBaud(B115200);
    terminal->Forget();
    int valid = 0;
    for (int i = 0; i < 9; ++i) {
        const auto part = terminal->Await(kw::ReceiverCyclePart, 500, Layout::Short);
        ASSERT_TRUE(part);
        std::vector<std::uint8_t> internal(41);
        valid += codec.Decode(*part, internal, Layout::Short, BlockKind::CyclePart) ? 1 : 0;
    }
    EXPECT_GE(valid, 8); // the first may have started before the terminal switched speed

    // No break can reach it: it starts afresh when a program opens the terminal, and when
    // the program stays at 19200 bit/s while it has gone to 115200.
    terminal.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // as a person reconnects
    terminal = std::make_unique<Terminal>(path);
    EXPECT_TRUE(terminal->Await(kw::ReceiverIdentShort, 1500, Layout::Short));
    terminal->Send(table.Text(kw::PcAnswerReceiver));
    ASSERT_TRUE(terminal->Await(kw::ReceiverCustomerData, 1500, Layout::Short));
    terminal->Send(table.Text(kw::StartReceiverDiagnosis));
    terminal->Forget();
    EXPECT_TRUE(terminal->Await(kw::ReceiverIdentShort, 3000, Layout::Short));
}

TEST(LcdiagSim, HelpSaysWhatItCannotDoAndWrongOptionsAreRefused) {
    SimProcess help({"--help"});
    const std::string text = help.Read(true);
    EXPECT_NE(text.find("Breaks do not pass"), std::string::npos);
    EXPECT_EQ(help.ExitCode(), 0);
    SimProcess wrong({"--device-type", "9"});
    EXPECT_EQ(wrong.ExitCode(), 2);
}

} // namespace
} // namespace lcdiag
