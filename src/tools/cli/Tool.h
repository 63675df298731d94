#pragma once

#include <ostream>

namespace lcdiag::cli {

// The exit codes of lcdiag-tool.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitProblem = 1; // a file not read or decoded, a problem found, an input
                                      // outside its range
inline constexpr int ExitUsage = 2;   // a wrong command line

// Runs lcdiag-tool with its command line (argv[0] the program); what it writes goes to `out`,
// its messages to `err`. Returns the exit code.
int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace lcdiag::cli
