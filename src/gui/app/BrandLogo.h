#pragma once

#include <QIcon>
#include <QImage>

namespace lcdiag {

// The brand's logo (315 x 38 logical pixels, transparent where it is not drawn): a light
// curtain's emitter and receiver with three beams between them, beside the maker's name.
// Drawn with `ratio` device pixels per logical pixel, to stay sharp on dense screens.
QImage BrandLogo(int ratio = 1);

// The program's icon: the emblem of the logo alone, centred in squares of 16 to 256 pixels
// (the same drawing as the installed icon).
QIcon BrandIcon();

} // namespace lcdiag
