#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace lcdiag {

// A 24-byte bit field with one bit per beam, the first beam in the most significant bit of
// byte 0. Beam indexes count from 0 (the device's first beam, the synchronisation beam, is
// index 0). The long layout holds 192 beams, the short one 144 (its last six bytes are fill).
class BeamMask {
public:
    static constexpr int Bytes = 24;
    static constexpr int Capacity = Bytes * 8;

    std::array<std::uint8_t, Bytes> bytes{};

    // The first `count` beams set; a count beyond the mask (a device sends up to 255) sets all.
    static constexpr BeamMask FirstBeams(int count) {
        BeamMask mask;
        for (int beam = 0; beam < Clamp(count); ++beam) {
            mask.Set(beam, true);
        }
        return mask;
    }

    // The mask held in the first 24 bytes of a block; missing bytes stay clear.
    static constexpr BeamMask From(std::span<const std::uint8_t> block) {
        BeamMask mask;
        std::copy_n(block.begin(), std::min<std::size_t>(block.size(), Bytes), mask.bytes.begin());
        return mask;
    }

    // A beam outside the mask reads as clear and cannot be set.
    constexpr bool Test(int beam) const {
        return Holds(beam) && (bytes[ByteOf(beam)] & BitOf(beam)) != 0;
    }
    constexpr void Set(int beam, bool on) {
        if (!Holds(beam)) {
            return;
        }
        if (on) {
            bytes[ByteOf(beam)] |= BitOf(beam);
        } else {
            bytes[ByteOf(beam)] &= static_cast<std::uint8_t>(~BitOf(beam));
        }
    }
    constexpr void Toggle(int beam) { Set(beam, !Test(beam)); }

    constexpr BeamMask Complement() const {
        BeamMask mask;
        for (int i = 0; i < Bytes; ++i) {
            mask.bytes[Index(i)] = static_cast<std::uint8_t>(bytes[Index(i)] ^ 0xFF);
        }
        return mask;
    }

    // How many of the first `beams` beams are set (the count is clamped to the mask).
    constexpr int CountSet(int beams) const {
        int count = 0;
        for (int beam = 0; beam < Clamp(beams); ++beam) {
            count += Test(beam) ? 1 : 0;
        }
        return count;
    }

    // A beam count limited to what a mask can hold: 0 to 192.
    static constexpr int Clamp(int count) { return std::clamp(count, 0, Capacity); }

    friend constexpr bool operator==(const BeamMask&, const BeamMask&) = default;

private:
    static constexpr bool Holds(int beam) { return beam >= 0 && beam < Capacity; }
    static constexpr std::size_t Index(int i) { return static_cast<std::size_t>(i); }
    static constexpr std::size_t ByteOf(int beam) { return Index(beam / 8); }
    static constexpr std::uint8_t BitOf(int beam) {
        return static_cast<std::uint8_t>(0x80 >> (beam % 8));
    }
};

} // namespace lcdiag
