#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lcdiag::test {

// The calls with which work sets a line or its break, by their names as strace shows them
// ("TCSETS", "TCSETS2", "TIOCSBRK", ...), in order: the work runs in a child process that this
// one traces. Shows what a pseudo-terminal cannot: a break, and how a line was set.
std::vector<std::string> LineCalls(const std::function<void()>& work);

} // namespace lcdiag::test
