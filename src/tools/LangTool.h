#pragma once

#include <ostream>
#include <span>
#include <string>

namespace lcdiag {

// Runs lcdiag-lang with its arguments (without the program name):
//   export OUT.txt            the built-in English texts as an editable text
//   export IN.zna OUT.txt     a language file as an editable text
//   build IN.txt OUT.zna      a language file from an edited text
// Reports problems to err. Returns the exit code: 0 done, 1 failed, 2 wrong arguments.
int RunLangTool(std::span<const std::string> args, std::ostream& err);

} // namespace lcdiag
