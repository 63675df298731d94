#pragma once

#include "core/device/ControllerType.h"
#include "core/views/BarGeometry.h"

#include <optional>
#include <string>
#include <vector>

namespace lcdiag {

struct BeamSelection;
struct LiveViewData;
enum class DimensioningMode;

// The pages that show the lines picture: the lines view, and the beam selection page on
// which the blanking editor lets the user teach or click beams.
enum class LinesPage { Lines, Selection };

// Text sizes the lines layout depends on.
struct LinesMetrics {
    int moduleTextHeight = 0;      // "0" in the module font (font 7)
    int labelTextHeight = 0;       // "0" in the label font (font 6)
    int labelWidth = 0;            // "0000 mm" in the label font
    int selectionButtonHeight = 0; // the selection page keeps room for its buttons
};

// The grid of the lines view: every beam a narrow cell, `perRow` cells a row, `rows` rows,
// module brackets above each row, beam labels below, the legend under the last row.
struct LinesLayout {
    static constexpr int Gap = 2;

    int perRow = 1;
    int rows = 1;
    int maxBeams = 0;
    int cellWidth = 0;
    int left = 0;
    int top = 0; // of the first cell row
    int rowPitch = 0;
    int barHeight = 0; // of a cell
    int labelTextHeight = 0;
    int legendColumn = 0; // the legend's column pitch

    // The cell of beam 1, 2, ...
    Rect Cell(int beam) const;
    // The index (from 0) of the beam whose cell holds the point, among the first beamCount
    // cells; none for a point in a gap, outside the grid or beside the bars.
    std::optional<int> BeamAt(int x, int y, int beamCount) const;
    // The top of legend row 0, 1, ...
    int LegendRowTop(int row) const;
};

LinesLayout MakeLinesLayout(int viewWidth, int viewHeight, int beamCode, LinesPage page,
                            const LinesMetrics& metrics);

// One box of the module brackets: module `number` (from 1) over `beams` cells of a row from
// `column` on. A module that runs over the end of a row gets a second box on the next row.
struct ModuleBox {
    int number = 0;
    int row = 0;
    int column = 0;
    int beams = 0;

    friend constexpr bool operator==(const ModuleBox&, const ModuleBox&) = default;
};

// The beams divided into modules: the sizes of the beam code's groups taken greedily from
// the largest, one step smaller (when there is one) before a module for which fewer beams
// are left than the current size.
std::vector<ModuleBox> ModuleBoxes(int beamCode, int beamCount, int perRow);

// The label of beam 1, 2, ...: its number, or its position "11 mm", "21 mm", ... from the
// beam pitch ("??? mm" for a code without a pitch).
std::string BeamLabel(int beam, int beamCode, DimensioningMode dimensioning);

// How many beams get a label: the beam count, at most the type's own count for a known type.
int LabelledBeams(int beamCode, int beamCount);

// The beam palette entry that fills beam `beam` (from 1) of a beam count, or FaceFill.
inline constexpr int FaceFill = -1;
int LinesCellColour(const LiveViewData& data, LinesPage page, int beam, int beamCount);

// Whether an active receiver beam shows anything but free: the beam-diagnostics hold.
bool ShowsInterruption(const LiveViewData& data, int beam, int beamCount);

// Whether the cell of a beam is drawn sunken: on the selection page, the beams the edited
// blanking mask blanks out.
bool CellSunken(const LiveViewData& data, LinesPage page, int beam);

// A press on the selection page in manual mode: the first beam (the synchronisation beam)
// cannot be blanked out; any other beam's bit of the edited blanking mask toggles.
enum class BeamClick { None, SynchronisationBeam, Toggled };
BeamClick ClickBeam(const LinesLayout& layout, int beamCount, int x, int y,
                    BeamSelection& selection);

} // namespace lcdiag
