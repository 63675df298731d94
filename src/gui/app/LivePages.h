#pragma once

#include "core/editors/ReceiverSettings.h"
#include "gui/views/TPage.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <optional>

class QCheckBox;
class QPushButton;
class QScrollBar;

namespace lcdiag {

class TPictureBox;
class ViewPictures;

// The controls of the view area the live pictures are shown with; the window lays them out.
struct TLiveArea {
    ViewPictures* pictures = nullptr;
    TPictureBox* Img_Main = nullptr;
    QScrollBar* ScrlBr1 = nullptr;
    QPushButton* Btn_Main_2 = nullptr; // the beam selection's accept button
    QPushButton* Btn_Main_3 = nullptr; // ... and its discard button
    QCheckBox* ChckBx_Main_1 = nullptr;
};

// What the live pictures show of the link at the tick.
LiveViewData ViewDataOf(const ConnectionController& link, std::uint32_t tick,
                        DimensioningMode dimensioning);

// A page that shows one live picture in Img_Main, drawn whenever the data changed.
class TLivePage : public TPage {
public:
    TLivePage(TPageHost& host, TLiveArea& area) : host_(host), area_(area) {}

    bool Enter(ViewMode previous) override;
    void Leave() override;
    void Sync(PageRedraw redraw) override;

protected:
    // The picture for the data, drawn into the page's picture of ViewPictures.
    virtual const QImage& Draw(const LiveViewData& data) = 0;
    // The part the last Draw changed; nothing: possibly all of it.
    virtual std::optional<QRect> TakeDrawnArea() { return std::nullopt; }

    TPageHost& host_;
    TLiveArea& area_;

private:
    std::optional<LiveViewData> shown_; // what the picture on screen was drawn from
};

// The bar view: the units with 16 beam rows, scrolled by ScrlBr1, which the wheel over the
// picture and the picture's keys move too.
class TBarPage final : public TLivePage {
public:
    TBarPage(TPageHost& host, TLiveArea& area);

    bool Enter(ViewMode previous) override;
    void Leave() override;

private:
    const QImage& Draw(const LiveViewData& data) override;
    std::optional<QRect> TakeDrawnArea() override;
};

// The lines view: every beam in a grid; the manufacturer build holds the first interruption
// of each beam while "Beam diagnostics" (ChckBx_Main_1) is checked.
class TLinesPage final : public TLivePage {
public:
    TLinesPage(TPageHost& host, TLiveArea& area, bool beamDiagnostics);

    bool Enter(ViewMode previous) override;
    void Leave() override;

private:
    const QImage& Draw(const LiveViewData& data) override;

    bool beamDiagnostics_;
};

// The beam selection of the receiver's user settings: the lines picture with the blanking or
// muting area being edited. By hand a press on a beam toggles it (the synchronisation beam
// refuses with a warning); a teach selection takes the beams the latest cycle reports
// interrupted. Btn_Main_2 accepts, Btn_Main_3 discards; both return to the settings.
class TBeamSelectionPage final : public TLivePage {
public:
    TBeamSelectionPage(TPageHost& host, TLiveArea& area, ReceiverSettings& settings);

    bool Enter(ViewMode previous) override;
    void Leave() override;
    bool ShowsUnitSettings() const override { return true; }

private:
    const QImage& Draw(const LiveViewData& data) override;
    void Click(QPoint at);
    void End(bool accept);

    ReceiverSettings& settings_;
};

// The status view: the function and LED tables.
class TStatusPage final : public TLivePage {
public:
    using TLivePage::TLivePage;

    bool Enter(ViewMode previous) override;

private:
    const QImage& Draw(const LiveViewData& data) override;
};

} // namespace lcdiag
