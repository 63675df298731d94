#pragma once

#include "core/device/ControllerType.h"

#include <array>

namespace lcdiag {

struct LiveViewData;

// A rectangle of picture pixels; right and bottom lie just outside it.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    constexpr bool Contains(int x, int y) const {
        return x >= left && x < Right() && y >= top && y < Bottom();
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// A unit of the bar picture: the head carrying the LEDs on top of the body.
struct UnitRects {
    Rect unit;
    Rect head;
    Rect body;
};

// The geometry of the bar picture, fixed at start: the emitter stands centred in the third
// quarter of the picture, the receiver in the fourth; the body holds 18 tile rows, rows 1-16
// carry the beams. Divisions round toward zero.
struct BarGeometry {
    static constexpr int Rows = 16;

    int viewWidth = 0;
    int viewHeight = 0;
    int tileWidth = 0;
    int tileHeight = 0;
    int iconHeight = 0;
    UnitRects emitter;
    UnitRects receiver;

    const UnitRects& Unit(ControllerType unit) const {
        return unit == ControllerType::Emitter ? emitter : receiver;
    }
    // The end tiles stand centred in the bodies; the beam line runs between them.
    int EmitterTileLeft() const { return emitter.body.left + (emitter.body.width - tileWidth) / 2; }
    int ReceiverTileLeft() const {
        return receiver.body.left + (receiver.body.width - tileWidth) / 2;
    }
    int LineLeft() const { return EmitterTileLeft() + tileWidth; }
    int LineWidth() const { return ReceiverTileLeft() - LineLeft(); }
    // The top of beam row 1 to 16.
    int RowTop(int row) const { return emitter.body.top + row * tileHeight; }
    // Where the beam scroll bar runs beside rows 1 to 16 (its width is the window's).
    Rect ScrollBar() const;
    // The part of the picture that fades when the unit is not the connected one: the unit
    // with its raised edge and the icon above it.
    Rect FadeArea(ControllerType unit) const;
};

// ledFrameHeight is the frame height of the profile's small LED image.
BarGeometry MakeBarGeometry(int viewWidth, int viewHeight, int tileWidth, int tileHeight,
                            int ledFrameHeight, int iconHeight);

// The blend mask that shades a beam line toward the unit that is not connected, for a
// picture column x on the line: grey 63 (dim) over that unit's part, 255 (as drawn) over
// the connected unit's part, and a linear ramp across the gap between the units.
int LineShadeMask(const BarGeometry& geometry, int x, ControllerType connected);

// The range of the beam scroll bar: positions 1 to beams - 15, movable only when the device
// has more than 16 beams.
struct ScrollRange {
    int minimum = 1;
    int maximum = 1;
    bool enabled = false;

    friend constexpr bool operator==(const ScrollRange&, const ScrollRange&) = default;
};
ScrollRange BarScrollRange(int beamCount);

// The 16 beams the bar view shows for a scroll position: the window is kept inside the
// device's beams; beams beyond `last` are drawn inactive.
struct BeamWindow {
    int first = 1;
    int last = 0;

    friend constexpr bool operator==(const BeamWindow&, const BeamWindow&) = default;
};
BeamWindow BarBeamWindow(int firstBeam, int beamCount);

// The tile columns of the beam pictures: receiver states 0-3, emitter states 4-7, each
// drawn in the beam palette entry of BarTileColours.
namespace bar_tile {
inline constexpr int Interrupted = 0;
inline constexpr int Free = 1;
inline constexpr int BlankedOut = 2; // also the receiver's inactive beams
inline constexpr int WeakSignal = 3;
inline constexpr int EmitterActive = 4;
inline constexpr int CurrentNotReached = 5;
inline constexpr int CurrentExceeded = 6;
inline constexpr int EmitterInactive = 7;
inline constexpr int Columns = 8;
} // namespace bar_tile
inline constexpr std::array<int, bar_tile::Columns> BarTileColours{0, 1, 2, 3, 10, 11, 12, 13};

// One beam row of the bar view.
struct BarRow {
    int beam = 0;   // the number written beside the units
    int column = 0; // bar_tile column
    bool active = false;

    friend constexpr bool operator==(const BarRow&, const BarRow&) = default;
};

// The 16 rows the bar view draws for the connected unit at a scroll position.
std::array<BarRow, BarGeometry::Rows> BarRows(const LiveViewData& data, int firstBeam);

} // namespace lcdiag
