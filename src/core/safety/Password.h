#pragma once

#include <string>
#include <string_view>

namespace lcdiag {

// The bit-plane transposition under which passwords are stored and compared: bit p of
// character i (low 8 bits of each UTF-16 unit) becomes output bit p x n + i, and the output
// bytes are written as upper-case hexadecimal. It hides a password from a casual look at the
// preferences, nothing more: it is reversible.
std::string ScramblePassword(std::u16string_view password);

} // namespace lcdiag
