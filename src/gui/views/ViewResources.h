#pragma once

#include "core/app/ScreenProfile.h"
#include "core/app/TextId.h"
#include "core/views/BeamPalette.h"
#include "core/views/ProfileImages.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <array>

namespace lcdiag {

class Texts;

// The parts of the build variant the pictures depend on.
struct ViewBuild {
    bool manufacturerFunctions = false; // selects the beam palette and the emitter legend
    int brand = 1;                      // brand 1 shows the logo as its title
};

// The desktop's system colours the pictures are drawn in.
struct ViewColours {
    QColor face;       // button face: the background of every picture
    QColor shadow;     // button shadow
    QColor highlight;  // button highlight
    QColor buttonText; // button text

    static ViewColours FromPalette(const QPalette& palette);
};

// A view font: the face, mapped to the metric-compatible free face where the desktop lacks
// it, at the pixel height of its point size on a 96 dots-per-inch screen (the pictures are
// images, whose own resolution would otherwise decide).
QFont MakeViewFont(const ViewFontStyle& style);

// The drawing resources every live picture shares, made once at start from the screen
// profile: fonts, colours, the beam palette, the tile mask, the LED panels (each frame also
// dimmed), the head icon, the brand's logo as the window hands it over, and the texts of the
// language. Its images are made at the pictures' ratio of device to logical pixels.
class ViewResources {
public:
    ViewResources(int screenProfile, ViewBuild build, ViewColours colours, QImage logo,
                  const Texts& texts, int ratio = 1);

    int Ratio() const { return ratio_; }

    QString Text(TextId id) const;
    bool TextExists(TextId id) const;

    const ViewBuild& Build() const { return build_; }
    const ViewColours& Colours() const { return colours_; }
    QColor Beam(int paletteEntry) const;

    const QFont& Font(int index) const;
    QColor FontColour(int index) const;
    // Gives the painter the font and its colour.
    void UseFont(QPainter& painter, int index) const;

    int TileWidth() const { return tileSize_; }
    int TileHeight() const { return tileSize_; }
    const QImage& TileMask() const { return tileMask_; }

    // LED panel frames (0 receiver off, 1 receiver on, 2 emitter off, 3 emitter on): the
    // small panel of the unit heads and the legend, the large one of the status view.
    const QImage& SmallLedFrame(int frame, bool dimmed) const;
    const QImage& LargeLedFrame(int frame) const;
    int SmallLedCell() const { return smallCell_; }
    int LargeLedCell() const { return largeCell_; }

    // The head icon already blended onto the button face.
    const QImage& HeadIcon() const { return headIcon_; }
    const QImage& Logo() const { return logo_; }

private:
    int profile_;
    int ratio_;
    ViewBuild build_;
    ViewColours colours_;
    BeamPalette palette_;
    std::array<QFont, ViewFontCount> fonts_;
    int tileSize_;
    QImage tileMask_;
    int smallCell_;
    int largeCell_;
    std::array<std::array<QImage, 2>, 4> smallLeds_; // [frame][dimmed]
    std::array<QImage, 4> largeLeds_;
    QImage headIcon_;
    QImage logo_;
    const Texts& texts_;
};

} // namespace lcdiag
