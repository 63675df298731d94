#include "core/views/LinesLayout.h"

#include "core/device/DeviceType.h"
#include "core/views/BeamPalette.h"
#include "core/views/LiveViewData.h"

#include <algorithm>

namespace lcdiag {

namespace {

bool IsKnownType(int type) {
    return type >= 1 && type <= 8;
}

// The receiver's beam state s = 2 x weak + free, where a weak beam that is not free (2)
// counts as interrupted: 0 interrupted, 1 free, 3 weak.
int ReceiverState(const ReceiverCycle& cycle, int bit) {
    const int state =
        2 * (cycle.WeakSignalMask().Test(bit) ? 1 : 0) + (cycle.FreeMask().Test(bit) ? 1 : 0);
    return state == 2 ? beam_colour::Interrupted : state;
}

int EmitterColour(const EmitterCycle& cycle, int bit) {
    if (cycle.CurrentExceededMask().Test(bit)) {
        return beam_colour::CurrentExceeded;
    }
    return cycle.CurrentNotReachedMask().Test(bit) ? beam_colour::CurrentNotReached
                                                   : beam_colour::EmitterActive;
}

int TeachColour(const LiveViewData& data, int bit) {
    int state = ReceiverState(data.receiverCycle, bit);
    if (state == beam_colour::WeakSignal) {
        state = beam_colour::Free; // teaching takes a weak beam as free
    }
    const bool blankedWhenLoaded = !data.selection.loadedBlanking.Test(bit);
    return blankedWhenLoaded ? beam_colour::DarkOffset + state : state;
}

} // namespace

Rect LinesLayout::Cell(int beam) const {
    const int i = beam - 1;
    return {left + (cellWidth + Gap) * (i % perRow), top + rowPitch * (i / perRow), cellWidth,
            barHeight};
}

std::optional<int> LinesLayout::BeamAt(int x, int y, int beamCount) const {
    const int pitch = cellWidth + Gap;
    if (x < left || y < top || pitch <= 0 || rowPitch <= 0) {
        return std::nullopt;
    }
    const int column = (x - left) / pitch;
    const int row = (y - top) / rowPitch;
    const bool inBar = (x - left) % pitch < cellWidth && (y - top) % rowPitch < barHeight;
    const int index = row * perRow + column;
    if (!inBar || column >= perRow || row >= rows || index >= std::min(beamCount, maxBeams)) {
        return std::nullopt;
    }
    return index;
}

int LinesLayout::LegendRowTop(int row) const {
    return rows * rowPitch + (labelTextHeight + Gap) * (row + 1);
}

LinesLayout MakeLinesLayout(int viewWidth, int viewHeight, int beamCode, LinesPage page,
                            const LinesMetrics& metrics) {
    LinesLayout layout;
    constexpr int g = LinesLayout::Gap;
    layout.perRow = std::max(1, device_type::MaxBeamsHalf(beamCode));
    layout.rows = std::max(1, device_type::BeamColumns(beamCode));
    layout.maxBeams = device_type::MaxBeams(beamCode);
    layout.cellWidth = (viewWidth - 8) / layout.perRow - g;
    layout.left = (viewWidth - (layout.perRow * layout.cellWidth + (layout.perRow - 1) * g)) / 2;
    layout.top = metrics.moduleTextHeight + 14;
    layout.labelTextHeight = metrics.labelTextHeight;
    const int legendRow = metrics.labelTextHeight + g;
    const int rowsHeight = page == LinesPage::Selection
                               ? viewHeight - 3 * legendRow - metrics.selectionButtonHeight
                               : viewHeight - 4 * legendRow;
    layout.rowPitch = rowsHeight / layout.rows;
    layout.barHeight = layout.rowPitch - layout.top - metrics.labelWidth - 10;
    layout.legendColumn = (viewWidth - 2 * layout.left) / (page == LinesPage::Selection ? 3 : 5);
    return layout;
}

std::vector<ModuleBox> ModuleBoxes(int beamCode, int beamCount, int perRow) {
    std::vector<ModuleBox> boxes;
    int level = 0;
    int size = device_type::BeamGroups(beamCode, 0);
    int first = 0;
    for (int number = 1; size > 0 && first < beamCount && perRow > 0; ++number) {
        const int left = beamCount - first;
        const int smaller = device_type::BeamGroups(beamCode, level + 1);
        if (left < size && level < 2 && smaller > 0) {
            size = smaller;
            ++level;
        }
        int beams = std::min(size, left);
        first += beams;
        // The module's cells, split where a row ends.
        for (int index = first - beams; beams > 0;) {
            const int column = index % perRow;
            const int inRow = std::min(beams, perRow - column);
            boxes.push_back({number, index / perRow, column, inRow});
            index += inRow;
            beams -= inRow;
        }
    }
    return boxes;
}

std::string BeamLabel(int beam, int beamCode, DimensioningMode dimensioning) {
    if (dimensioning == DimensioningMode::BeamNumber) {
        return std::to_string(beam);
    }
    const int pitch = device_type::BeamPitch(beamCode);
    return pitch == 0 ? "??? mm" : std::to_string((beam - 1) * pitch + 11) + " mm";
}

int LabelledBeams(int beamCode, int beamCount) {
    if (!IsKnownType(beamCode)) {
        return beamCount;
    }
    return std::min(beamCount, device_type::Beams(beamCode, beamCount));
}

int LinesCellColour(const LiveViewData& data, LinesPage page, int beam, int beamCount) {
    const int bit = beam - 1;
    if (beamCount < 1 || beam > beamCount) {
        return FaceFill;
    }
    if (data.controller == ControllerType::Emitter) {
        return EmitterColour(data.emitterCycle, bit);
    }
    if (page == LinesPage::Selection && data.selection.mode == BeamSelectionMode::Teach) {
        return TeachColour(data, bit);
    }
    if (!data.receiverCycle.ActiveMask().Test(bit)) {
        return beam_colour::BlankedOut;
    }
    return ReceiverState(data.receiverCycle, bit);
}

bool ShowsInterruption(const LiveViewData& data, int beam, int beamCount) {
    const int bit = beam - 1;
    return data.controller == ControllerType::Receiver && beam >= 1 && beam <= beamCount &&
           data.receiverCycle.ActiveMask().Test(bit) &&
           ReceiverState(data.receiverCycle, bit) != beam_colour::Free;
}

bool CellSunken(const LiveViewData& data, LinesPage page, int beam) {
    return page == LinesPage::Selection && !data.selection.fixedBlanking.Test(beam - 1);
}

BeamClick ClickBeam(const LinesLayout& layout, int beamCount, int x, int y,
                    BeamSelection& selection) {
    if (selection.mode != BeamSelectionMode::Manual) {
        return BeamClick::None;
    }
    const std::optional<int> beam = layout.BeamAt(x, y, beamCount);
    if (!beam) {
        return BeamClick::None;
    }
    if (*beam == 0) {
        return BeamClick::SynchronisationBeam;
    }
    selection.fixedBlanking.Toggle(*beam);
    return BeamClick::Toggled;
}

} // namespace lcdiag
