#include "IoctlTrace.h"

// The kernel's termios2 requests; its header clashes with <termios.h>, which this file avoids.
#include <array>
#include <asm/termbits.h>
#include <csignal>
#include <sys/ioctl.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace lcdiag::test {
namespace {

const char* LineCallName(unsigned long request) {
    static const std::array<std::pair<unsigned long, const char*>, 7> names = {{
        {TCSETS, "TCSETS"},
        {TCSETSW, "TCSETSW"},
        {TCSETSF, "TCSETSF"},
        {TCSETS2, "TCSETS2"},
        {TIOCSBRK, "TIOCSBRK"},
        {TIOCCBRK, "TIOCCBRK"},
        {TCSBRK, "TCSBRK"},
    }};
    for (const auto& [value, name] : names) {
        if (value == request) {
            return name;
        }
    }
    return nullptr;
}

} // namespace

std::vector<std::string> LineCalls(const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        work();
        _exit(0);
    }
    std::vector<std::string> calls;
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) {
        return calls;
    }
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int signal = 0;
    while (ptrace(PTRACE_SYSCALL, child, nullptr, signal) == 0 &&
           waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
        signal = 0;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status); // the child's own signal, passed on
            continue;
        }
        __ptrace_syscall_info info{};
        ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info);
        if (info.op == PTRACE_SYSCALL_INFO_ENTRY && info.entry.nr == SYS_ioctl) {
            if (const char* name = LineCallName(info.entry.args[1])) {
                calls.emplace_back(name);
            }
        }
    }
    waitpid(child, &status, 0);
    return calls;
}

} // namespace lcdiag::test
