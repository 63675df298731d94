#pragma once

#include <QImage>

namespace lcdiag {

class Texts;

// The calculator's sketch of an installation seen from above: the danger zone, a reflective
// object, emitter and receiver with the spread of the beams and the central beam aimed at a
// test piece, and the dimensions D, S and S1. W / 2 wide and W / 4 + 20 high for the view
// width W, in fonts 1 and 2 of the screen profile, labelled in the language of `texts`.
QImage DrawInstallationSketch(const Texts& texts, int screenProfile, int viewWidth);

// The test piece the central beam points at (48 x 48): a rod of diameter d seen end on.
QImage TestPieceImage();

} // namespace lcdiag
