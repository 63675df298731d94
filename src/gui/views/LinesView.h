#pragma once

#include "core/app/TextId.h"
#include "core/views/LinesLayout.h"
#include "core/views/LiveViewData.h"
#include "gui/views/ViewResources.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <optional>

namespace lcdiag {

// The lines picture: every beam of the device as a narrow cell of a grid, coloured by its
// state, module brackets above each row, beam numbers or positions below, a legend under
// the grid. The same picture serves the beam selection page, where blanked-out beams of the
// edited mask stand sunken.
class LinesView {
public:
    LinesView(const ViewResources& resources, QImage& picture, int selectionButtonHeight);

    // Redraws the grid when what it shows changed (beam count, beam code, page, unit,
    // dimensioning, the edited mask), then fills every cell; nothing while the
    // beam-diagnostics hold keeps the first interruption on the lines page.
    void Draw(const LiveViewData& data, LinesPage page);

    // The layout and beam count of the last drawing.
    const LinesLayout& Layout() const { return layout_; }
    int BeamCount() const { return beamCount_; }
    std::optional<LinesPage> Page() const;

    // The check box "Beam diagnostics": while it is checked, the first drawing that shows an
    // active receiver beam not free holds the picture. Setting it clears the hold.
    void SetBeamDiagnostics(bool checked);
    bool Held() const { return diagnostics_ && held_; }

private:
    // What the static grid depends on.
    struct GridKey {
        ControllerType controller;
        LinesPage page;
        int beamCode;
        int beamCount;
        DimensioningMode dimensioning;
        BeamMask fixedBlanking;

        friend bool operator==(const GridKey&, const GridKey&) = default;
    };

    void PreDraw(const LiveViewData& data, const GridKey& key);
    void DrawLabels(QPainter& painter, const GridKey& key);
    void DrawModules(QPainter& painter, const GridKey& key);
    void DrawLegend(QPainter& painter, const GridKey& key);
    void DrawSwatch(QPainter& painter, int x, int y, int paletteEntry, bool sunken,
                    TextId text) const;
    void DrawFrame(QPainter& painter, const QRect& cell, bool sunken) const;

    const ViewResources& resources_;
    QImage& picture_;
    LinesMetrics metrics_;
    LinesLayout layout_;
    std::optional<GridKey> grid_;
    int beamCount_ = 0;
    bool diagnostics_ = false;
    bool held_ = false;
};

// The modules' brackets above their beams: "Module" and the number, black on white and white
// on black in turn, in the painter's font. `moduleWord` is text 1050 with a blank after it.
void DrawModuleBoxes(QPainter& painter, const LinesLayout& layout, const QString& moduleWord,
                     int beamCode, int beamCount);

} // namespace lcdiag
