#include "core/safety/Password.h"

#include <cstdint>
#include <vector>

namespace lcdiag {

std::string ScramblePassword(std::u16string_view password) {
    const std::size_t n = password.size();
    std::vector<std::uint8_t> out(n, 0);
    for (std::size_t plane = 0; plane < 8; ++plane) {
        for (std::size_t i = 0; i < n; ++i) {
            if ((password[i] >> plane & 1U) != 0) {
                const std::size_t bit = plane * n + i;
                out[bit / 8] = static_cast<std::uint8_t>(out[bit / 8] | 1U << (bit % 8));
            }
        }
    }
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : out) {
        text += Hex[byte >> 4];
        text += Hex[byte & 0x0F];
    }
    return text;
}

} // namespace lcdiag
