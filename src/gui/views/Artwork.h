#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace lcdiag {

// The program's own artwork for the live pictures, drawn at start in the sizes the screen
// profile asks for, at the pictures' ratio of device to logical pixels (sizes and places
// below are logical). Every image is Format_RGB32.

// Tile mask (images 101-103): 2 columns x 4 rows of tile cells. Column 0 is the blend mask
// of the beam tiles (black where the state colour shows, white where the housing does),
// column 1 the shading of the state colour (white: the colour itself). Rows: 0 the end of an
// inactive beam (the lens alone), 1 the emitter's end (lens and beam leaving to the right),
// 2 the receiver's end (beam arriving from the left), 3 the beam line.
QImage MakeTileMask(int tileWidth, int tileHeight, int ratio = 1);

// LED panel (images 105-108): four frames stacked, each 3 cells wide and 3 cells high
// holding 2 columns x 3 rows of LEDs: 0 receiver LEDs off, 1 receiver LEDs on, 2 emitter LEDs
// off, 3 emitter LEDs on. The emitter has only its cells 2 and 5.
QImage MakeLedImage(int cellSize, int ratio = 1);
inline constexpr int LedFrames = 4;
// Where LED cell 0-5 (column x 3 + row) lies in a frame.
QRect LedCellRect(int cellSize, int cell);

// Head icon (image 111, 40 x 31) and its blend mask (image 112: black where the icon shows).
QImage MakeHeadIcon(int ratio = 1);
QImage MakeHeadIconMask(int ratio = 1);

} // namespace lcdiag
