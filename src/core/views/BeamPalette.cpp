#include "core/views/BeamPalette.h"

namespace lcdiag {

BeamPalette MakeBeamPalette(bool manufacturerFunctions) {
    constexpr Rgb red{255, 0, 0};
    constexpr Rgb green{0, 255, 0};
    constexpr Rgb grey{191, 191, 191};
    const Rgb weak = manufacturerFunctions ? Rgb{0, 0, 255} : Rgb{255, 159, 0};
    const Rgb darkWeak = manufacturerFunctions ? Rgb{0, 0, 127} : Rgb{127, 79, 0};
    const Rgb notReached = manufacturerFunctions ? Rgb{0, 0, 255} : red;
    return {red,
            green,
            grey,
            weak,
            Rgb{127, 0, 0},
            Rgb{0, 127, 0},
            Rgb{127, 127, 127},
            darkWeak,
            grey,
            green,
            green,
            notReached,
            red,
            grey};
}

} // namespace lcdiag
