#pragma once

#include "core/views/Rgb.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace lcdiag {

// The raster operations of the live pictures. Every picture is a 32-bit QImage
// (Format_RGB32); geometry is integer pixel arithmetic.
//
// On a screen with more device pixels than logical ones the pictures carry the screen's
// ratio (a whole number, 1 on an ordinary screen): the layout and every painter work in
// logical pixels, and the ratio gives the picture that many device pixels per logical one.
// Blend and Blur work on the pictures' own pixels, so their pictures share one ratio.

QColor ToQColor(Rgb colour);
// A new picture of the logical size at the ratio, filled with the colour.
QImage FilledImage(int width, int height, QColor colour, int ratio = 1);
// The picture's rectangle in logical pixels.
QRect LogicalRect(const QImage& image);
// A part of the picture given in logical pixels, as a picture of the same ratio.
QImage CopyArea(const QImage& image, const QRect& area);
// Draws the part `source` (logical pixels of the image) with its top-left corner at `at`.
void DrawImagePart(QPainter& painter, QPoint at, const QImage& image, const QRect& source);

// One channel of a blend: dest + (src - dest) x (256 - mask) / 256, rounding toward zero.
// A white mask (255) leaves dest as it is, a black one (0) replaces it by src.
constexpr int BlendChannel(int dest, int src, int mask) {
    return dest + (src - dest) * (256 - mask) / 256;
}
QColor BlendColour(QColor dest, QColor src, int mask);

// Blends src into dest through mask, each pixel and each colour channel on its own, over
// the smallest width and height of the three pictures.
void Blend(QImage& dest, const QImage& src, const QImage& mask);
// Blends a rectangle (logical pixels) of dest toward one colour through a uniform mask grey (the
// dimming of a faded unit, a dimmed image: grey 63 moves it 75 % toward the colour).
void BlendToward(QImage& dest, const QRect& area, QColor colour, int maskGrey);

// A 3 x 3 box average of src into dest: each channel the integer mean of the 9 neighbours,
// for every pixel of the common size but a one-pixel border, which dest keeps.
void Blur(QImage& dest, const QImage& src);

// Text with the top-left corner of its line at (x, y), in the painter's font and pen.
void TextOut(QPainter& painter, int x, int y, const QString& text);
// Text turned by an angle in tenths of a degree counter-clockwise (900 runs upward, 2700
// downward), its line's top-left corner, turned with it, at (x, y).
void RotatedTextOut(QPainter& painter, int x, int y, int angle, const QString& text);

// Lines of one pixel: horizontal from x1 up to (not including) x2, vertical from y1 up to
// (not including) y2.
void HLine(QPainter& painter, int x1, int x2, int y, QColor colour);
void VLine(QPainter& painter, int x, int y1, int y2, QColor colour);

} // namespace lcdiag
