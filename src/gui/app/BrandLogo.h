#pragma once

#include <QImage>

namespace lcdiag {

// The brand's logo (315 x 38, transparent where it is not drawn): a light curtain's emitter
// and receiver with three beams between them, beside the maker's name.
QImage BrandLogo();

} // namespace lcdiag
