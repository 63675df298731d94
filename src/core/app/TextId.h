#pragma once

#include <cstdint>

namespace lcdiag {

// The number under which every visible text is looked up.
using TextId = std::uint32_t;

// Language files hold the ids 0-65535.
inline constexpr TextId TextIdCount = 65536;

} // namespace lcdiag
