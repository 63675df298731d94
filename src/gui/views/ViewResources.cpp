#include "gui/views/ViewResources.h"

#include "core/app/Texts.h"
#include "gui/views/Artwork.h"
#include "gui/views/PictureOps.h"

#include <utility>

namespace lcdiag {

namespace {

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}

std::array<QImage, 4> Frames(const QImage& panel, int cellSize) {
    std::array<QImage, 4> frames;
    const int height = 3 * cellSize;
    for (int frame = 0; frame < LedFrames; ++frame) {
        frames[Index(frame)] = CopyArea(panel, {0, frame * height, 3 * cellSize, height});
    }
    return frames;
}

} // namespace

QFont MakeViewFont(const ViewFontStyle& style) {
    QFont font;
    font.setFamilies({QString::fromUtf8(ViewFontFace.data(), ViewFontFace.size()),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setPixelSize((style.pointSize * 96 + 36) / 72);
    font.setBold(style.bold);
    return font;
}

ViewColours ViewColours::FromPalette(const QPalette& palette) {
    return {palette.color(QPalette::Button), palette.color(QPalette::Dark),
            palette.color(QPalette::Light), palette.color(QPalette::ButtonText)};
}

ViewResources::ViewResources(int screenProfile, ViewBuild build, ViewColours colours, QImage logo,
                             const Texts& texts, int ratio)
    : profile_(screenProfile), ratio_(ratio), build_(build), colours_(colours),
      palette_(MakeBeamPalette(build.manufacturerFunctions)),
      tileSize_(GetProfileImages(screenProfile).tileSize),
      tileMask_(MakeTileMask(tileSize_, tileSize_, ratio)),
      smallCell_(LedCellSize(GetProfileImages(screenProfile).smallLedImage)),
      largeCell_(LedCellSize(GetProfileImages(screenProfile).largeLedImage)),
      logo_(std::move(logo)), texts_(texts) {
    for (int i = 0; i < ViewFontCount; ++i) {
        fonts_[Index(i)] = MakeViewFont(ViewFont(profile_, i));
    }
    const std::array<QImage, 4> small = Frames(MakeLedImage(smallCell_, ratio_), smallCell_);
    for (int frame = 0; frame < LedFrames; ++frame) {
        QImage dimmed = small[Index(frame)];
        BlendToward(dimmed, LogicalRect(dimmed), colours_.face, view_colour::DimMask);
        smallLeds_[Index(frame)] = {small[Index(frame)], dimmed};
    }
    largeLeds_ = Frames(MakeLedImage(largeCell_, ratio_), largeCell_);
    headIcon_ = FilledImage(40, 31, colours_.face, ratio_);
    Blend(headIcon_, MakeHeadIcon(ratio_), MakeHeadIconMask(ratio_));
}

QColor ViewResources::Beam(int paletteEntry) const {
    if (paletteEntry < 0 || paletteEntry >= static_cast<int>(palette_.size())) {
        return colours_.face;
    }
    return ToQColor(palette_[Index(paletteEntry)]);
}

const QFont& ViewResources::Font(int index) const {
    return fonts_[Index(index >= 0 && index < ViewFontCount ? index : 0)];
}

QColor ViewResources::FontColour(int index) const {
    switch (ViewFont(profile_, index).colour) {
    case FontColour::DarkBlue:
        return ToQColor(view_colour::DarkBlue);
    case FontColour::Black:
        return Qt::black;
    case FontColour::ButtonText:
        break;
    }
    return colours_.buttonText;
}

void ViewResources::UseFont(QPainter& painter, int index) const {
    painter.setFont(Font(index));
    painter.setPen(FontColour(index));
}

const QImage& ViewResources::SmallLedFrame(int frame, bool dimmed) const {
    return smallLeds_[Index(frame & 3)][dimmed ? 1 : 0];
}

const QImage& ViewResources::LargeLedFrame(int frame) const {
    return largeLeds_[Index(frame & 3)];
}

QString ViewResources::Text(TextId id) const {
    return QString::fromStdString(texts_.GetText(id));
}

bool ViewResources::TextExists(TextId id) const {
    return texts_.TextExists(id);
}

} // namespace lcdiag
