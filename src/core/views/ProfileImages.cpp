#include "core/views/ProfileImages.h"

#include <array>

namespace lcdiag {

namespace {

constexpr std::array<ProfileImages, 5> Images{{
    {101, 23, 106, 105},
    {102, 28, 107, 106},
    {102, 28, 107, 106},
    {103, 34, 108, 107},
    {103, 34, 108, 107},
}};

} // namespace

const ProfileImages& GetProfileImages(int profile) {
    const bool valid = profile >= 0 && profile < static_cast<int>(Images.size());
    return Images[static_cast<std::size_t>(valid ? profile : 0)];
}

int LedCellSize(int ledImage) {
    switch (ledImage) {
    case 105:
        return 19;
    case 106:
        return 23;
    case 107:
        return 26;
    case 108:
        return 35;
    default:
        return 0;
    }
}

} // namespace lcdiag
