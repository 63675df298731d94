#pragma once

#include "core/device/ControllerType.h"
#include "core/device/InfoTexts.h"
#include "core/views/BarGeometry.h"
#include "core/views/LinesLayout.h"
#include "core/views/LiveViewData.h"
#include "gui/views/BarView.h"
#include "gui/views/LinesView.h"
#include "gui/views/PictureOps.h"
#include "gui/views/StatusView.h"
#include "gui/views/TitlePanel.h"
#include "gui/views/ViewResources.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>

namespace lcdiag {

// The three live pictures of the main window, each W x H, 32 bits per pixel, drawn off
// screen: the bar picture (title, information, legend and the two units with 16 beam rows),
// the status picture (function and LED tables) and the lines picture (every beam in a grid;
// also the beam selection page). The window copies the picture of its view mode to the
// screen after each redraw.
//
// Everything the pictures are made of is prepared once by the constructor; a redraw only
// copies prepared images and writes short texts. When the data name another connected unit
// than the pictures were drawn for, the static parts are drawn again first.
class ViewPictures {
public:
    // screenProfile 0-4 (another value counts as 0); viewSize the fixed size of every
    // picture; logo the brand's logo (image 110, 315 x 38), the title of brand 1;
    // selectionButtonHeight the height of the beam selection page's buttons, which the lines
    // picture keeps free below the grid on that page; ratio the screen's device pixels per
    // logical pixel (every size and coordinate here is logical).
    ViewPictures(int screenProfile, QSize viewSize, ViewBuild build, ViewColours colours,
                 QImage logo, int selectionButtonHeight, const Texts& texts, int ratio = 1);
    // The views hold on to the pictures and resources: a ViewPictures stays where it is.
    ViewPictures(const ViewPictures&) = delete;
    ViewPictures& operator=(const ViewPictures&) = delete;

    QSize Size() const { return LogicalRect(bar_).size(); }
    ControllerType Controller() const { return controller_; }

    // Draws the static parts of the three pictures for the connected unit: the bar view's
    // units, title, information labels with the last values and legend; the status tables.
    void SetControllerType(ControllerType unit);
    // Draws the information values (type, resolution, ...) into the bar picture.
    void OutputInfo(const InfoTexts& info);

    // The bar picture with the 16 beam rows from scroll position firstBeam and the LEDs of
    // the connected unit (the other unit keeps its last LEDs).
    const QImage& DrawBar(const LiveViewData& data, int firstBeam);
    // What the bar picture's draws changed since the last call (logical pixels).
    QRect TakeBarDamage();
    // The status picture with every indicator from the data.
    const QImage& DrawStatus(const LiveViewData& data);
    // The lines picture for the lines view or the beam selection page.
    const QImage& DrawLines(const LiveViewData& data, LinesPage page);

    const QImage& BarPicture() const { return bar_; }
    // Null until drawn first.
    const QImage& StatusPicture() const { return status_; }
    const QImage& LinesPicture() const { return lines_; }

    // The beam scroll bar ScrlBr1: its range for the data, and where it stands in picture
    // coordinates (x, y and height; the window adds the picture's offset and the width).
    static ScrollRange BarScroll(const LiveViewData& data);
    QRect ScrollBarPlace() const;

    // A press on the beam selection page at picture coordinates: toggles the clicked beam of
    // the edited blanking mask in manual mode; the first beam answers SynchronisationBeam
    // (the window warns with text 140). None unless the selection page was drawn last.
    BeamClick ClickBeam(QPoint at, BeamSelection& selection) const;

    // The grid of the last lines drawing (cells in picture coordinates).
    const LinesLayout& LinesGrid() const;

    // The check box "Beam diagnostics" of the lines view (see LinesView).
    void SetBeamDiagnostics(bool checked);
    bool LinesHeld() const;

    // The bar picture's geometry (units, rows, tiles) in picture coordinates.
    const BarGeometry& Bar() const;

private:
    void Follow(ControllerType unit);
    QImage BlankPicture() const;
    void PrepareStatus();

    ViewResources resources_;
    QImage bar_;
    QImage status_;
    QImage lines_;
    std::unique_ptr<BarView> barView_;
    std::unique_ptr<TitlePanel> title_;
    std::unique_ptr<StatusView> statusView_;
    std::unique_ptr<LinesView> linesView_;
    ControllerType controller_ = ControllerType::Receiver;
    InfoTexts info_;
};

} // namespace lcdiag
