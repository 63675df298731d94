#include "core/views/BarGeometry.h"

#include "core/views/LiveViewData.h"
#include "core/views/Rgb.h"

#include <algorithm>

namespace lcdiag {

namespace {

UnitRects MakeUnit(int left, int bodyTop, int tileWidth, int tileHeight, int ledFrameHeight) {
    const Rect body{left, bodyTop, 3 * tileWidth + 20, 18 * tileHeight};
    const int headHeight = ledFrameHeight + 20;
    const Rect head{left, bodyTop - headHeight, body.width, headHeight};
    const Rect unit{left, head.top, body.width, headHeight + body.height};
    return {unit, head, body};
}

BarRow ReceiverRow(const ReceiverCycle& cycle, int beam, int last) {
    const int bit = beam - 1;
    if (beam > last) {
        return {beam, bar_tile::BlankedOut, false};
    }
    if (!cycle.ActiveMask().Test(bit)) {
        return {beam, bar_tile::BlankedOut, true};
    }
    if (cycle.WeakSignalMask().Test(bit)) {
        return {beam, bar_tile::WeakSignal, true};
    }
    return {beam, cycle.FreeMask().Test(bit) ? bar_tile::Free : bar_tile::Interrupted, true};
}

BarRow EmitterRow(const EmitterCycle& cycle, int beam, int last) {
    const int bit = beam - 1;
    if (beam > last) {
        return {beam, bar_tile::EmitterInactive, false};
    }
    if (cycle.CurrentExceededMask().Test(bit)) {
        return {beam, bar_tile::CurrentExceeded, true};
    }
    if (cycle.CurrentNotReachedMask().Test(bit)) {
        return {beam, bar_tile::CurrentNotReached, true};
    }
    return {beam, bar_tile::EmitterActive, true};
}

} // namespace

Rect BarGeometry::ScrollBar() const {
    return {receiver.body.Right() + 2 * tileWidth, receiver.body.top + tileHeight, 0,
            Rows * tileHeight};
}

Rect BarGeometry::FadeArea(ControllerType unit) const {
    const Rect& rect = Unit(unit).unit;
    return {rect.left - 1, rect.top - iconHeight - 1, rect.width + 2, iconHeight + rect.height + 2};
}

BarGeometry MakeBarGeometry(int viewWidth, int viewHeight, int tileWidth, int tileHeight,
                            int ledFrameHeight, int iconHeight) {
    BarGeometry geometry;
    geometry.viewWidth = viewWidth;
    geometry.viewHeight = viewHeight;
    geometry.tileWidth = tileWidth;
    geometry.tileHeight = tileHeight;
    geometry.iconHeight = iconHeight;
    const int margin = (viewWidth / 4 - 3 * tileWidth) / 2;
    const int bodyTop = (ledFrameHeight + viewHeight + 20 - 18 * tileHeight + iconHeight) / 2;
    geometry.emitter =
        MakeUnit(margin + viewWidth / 2 - 20, bodyTop, tileWidth, tileHeight, ledFrameHeight);
    geometry.receiver =
        MakeUnit(margin + 3 * viewWidth / 4 - 20, bodyTop, tileWidth, tileHeight, ledFrameHeight);
    return geometry;
}

int LineShadeMask(const BarGeometry& geometry, int x, ControllerType connected) {
    constexpr int dim = view_colour::DimMask;
    // The emitter's part ends with its right edge line, the receiver's starts with its left
    // edge line; the n columns between them form the ramp.
    const int emitterEnd = geometry.emitter.body.Right();
    const int receiverStart = geometry.receiver.body.left - 1;
    const int n = receiverStart - emitterEnd - 1;
    int value = 0;
    if (x <= emitterEnd) {
        value = dim;
    } else if (x >= receiverStart || n <= 0) {
        value = 255;
    } else {
        const int i = x - emitterEnd - 1;
        value = dim + (2 * i * (255 - dim) + n) / (2 * n);
    }
    value = std::clamp(value, 0, 255);
    // An emitter connected dims the receiver's side: the same ramp the other way round.
    return connected == ControllerType::Receiver ? value : 255 + dim - value;
}

ScrollRange BarScrollRange(int beamCount) {
    ScrollRange range;
    if (beamCount >= BarGeometry::Rows) {
        range.maximum = range.minimum + beamCount - BarGeometry::Rows;
    }
    range.enabled = range.minimum < range.maximum;
    return range;
}

BeamWindow BarBeamWindow(int firstBeam, int beamCount) {
    int first = std::min(std::max(1, firstBeam), beamCount - (BarGeometry::Rows - 1));
    int last = first + BarGeometry::Rows - 1;
    if (first < 1) {
        first = 1;
        last = beamCount;
    }
    return {first, last};
}

std::array<BarRow, BarGeometry::Rows> BarRows(const LiveViewData& data, int firstBeam) {
    const BeamWindow window = BarBeamWindow(firstBeam, ShownBeamCount(data));
    std::array<BarRow, BarGeometry::Rows> rows;
    for (int row = 0; row < BarGeometry::Rows; ++row) {
        const int beam = window.first + row;
        rows[static_cast<std::size_t>(row)] =
            data.controller == ControllerType::Emitter
                ? EmitterRow(data.emitterCycle, beam, window.last)
                : ReceiverRow(data.receiverCycle, beam, window.last);
    }
    return rows;
}

} // namespace lcdiag
