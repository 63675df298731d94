#pragma once

#include <cerrno>

namespace lcdiag {

// Calls a system call again while a signal interrupts it (EINTR): the program's signal
// handlers must not turn into port errors. Not for close(), which Linux completes even then.
template <typename Call, typename... Args> auto RetryInterrupted(Call call, Args... args) {
    decltype(call(args...)) result;
    do {
        result = call(args...);
    } while (result == -1 && errno == EINTR);
    return result;
}

} // namespace lcdiag
