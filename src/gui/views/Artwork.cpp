#include "gui/views/Artwork.h"

#include "core/device/ControllerType.h"
#include "core/views/Rgb.h"
#include "core/views/StatusIndicators.h"
#include "gui/views/PictureOps.h"

#include <QFont>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

namespace lcdiag {

namespace {

// The shapes of one tile cell in cell coordinates (pixel centres at +0.5).
struct TileShape {
    double centreX;
    double centreY;
    double beamHalfHeight;
    double lensRadius;
    int row;

    bool InLens(double x, double y) const {
        return std::hypot(x - centreX, y - centreY) <= lensRadius;
    }
    bool InBeam(double x, double y) const {
        const bool band = std::abs(y - centreY) <= beamHalfHeight;
        switch (row) {
        case 1:
            return band && x >= centreX;
        case 2:
            return band && x <= centreX;
        case 3:
            return band;
        default:
            return false;
        }
    }
    // The share of the pixel the state colour covers, sampled 4 x 4.
    double Coverage(int px, int py) const {
        int inside = 0;
        for (int sy = 0; sy < 4; ++sy) {
            for (int sx = 0; sx < 4; ++sx) {
                const double x = px + (sx + 0.5) / 4;
                const double y = py + (sy + 0.5) / 4;
                inside += (row != 3 && InLens(x, y)) || InBeam(x, y) ? 1 : 0;
            }
        }
        return inside / 16.0;
    }
    // 1 for the full colour, darker toward the beam's edges and the lens's rim; the middle
    // of beam and lens keep the state colour exactly.
    double Shade(int px, int py) const {
        const double x = px + 0.5;
        const double y = py + 0.5;
        if (row != 3 && InLens(x, y)) {
            const double r = std::hypot(x - centreX, y - centreY);
            const double rim = std::max(0.0, (r - 0.45 * lensRadius) / (0.55 * lensRadius));
            return 1.0 - 0.45 * rim * rim;
        }
        const double d = std::max(0.0, std::abs(y - centreY) - 1.0);
        const double edge = std::min(1.0, d / std::max(1.0, beamHalfHeight - 1.0));
        return 1.0 - 0.35 * edge * edge;
    }
};

int Grey(double share) {
    return std::clamp(static_cast<int>(std::lround(255 * share)), 0, 255);
}

QColor Scaled(QColor colour, double factor) {
    return QColor(static_cast<int>(colour.red() * factor),
                  static_cast<int>(colour.green() * factor),
                  static_cast<int>(colour.blue() * factor));
}

void DrawLed(QPainter& painter, const QRectF& cell, QColor colour, bool on) {
    const QPointF centre = cell.center();
    const double c = cell.width();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(78, 78, 78));
    painter.drawEllipse(centre, 0.42 * c, 0.42 * c);
    painter.setBrush(QColor(14, 14, 14));
    painter.drawEllipse(centre, 0.36 * c, 0.36 * c);
    const double r = 0.32 * c;
    if (!on) {
        painter.setBrush(Scaled(colour, 0.3));
        painter.drawEllipse(centre, r, r);
        return;
    }
    QRadialGradient glow(centre - QPointF(0.3 * r, 0.3 * r), r * 1.3);
    glow.setColorAt(0.0, QColor(255, 255, 255));
    glow.setColorAt(0.25, colour.lighter(130));
    glow.setColorAt(0.6, colour);
    glow.setColorAt(1.0, Scaled(colour, 0.6));
    painter.setBrush(glow);
    painter.drawEllipse(centre, r, r);
}

void DrawLedFrame(QPainter& painter, int cellSize, int frame) {
    const ControllerType unit = frame < 2 ? ControllerType::Receiver : ControllerType::Emitter;
    const bool on = frame % 2 == 1;
    const int top = frame * 3 * cellSize;
    for (const LedRow& led : LedRows(unit)) {
        const QRect cell = LedCellRect(cellSize, led.cell).translated(0, top);
        DrawLed(painter, QRectF(cell), ToQColor(led.colour), on);
    }
}

} // namespace

// The shapes are sampled per device pixel, so the tiles stay smooth at every ratio.
QImage MakeTileMask(int logicalWidth, int logicalHeight, int ratio) {
    const int tileWidth = logicalWidth * ratio;
    const int tileHeight = logicalHeight * ratio;
    QImage mask(2 * tileWidth, 4 * tileHeight, QImage::Format_RGB32);
    mask.setDevicePixelRatio(ratio);
    for (int row = 0; row < 4; ++row) {
        const TileShape shape{tileWidth / 2.0, tileHeight / 2.0, std::max(1.5, tileHeight * 0.2),
                              tileWidth * 0.3, row};
        for (int y = 0; y < tileHeight; ++y) {
            for (int x = 0; x < tileWidth; ++x) {
                const int alpha = 255 - Grey(shape.Coverage(x, y));
                const int shade = Grey(shape.Shade(x, y));
                mask.setPixel(x, row * tileHeight + y, qRgb(alpha, alpha, alpha));
                mask.setPixel(tileWidth + x, row * tileHeight + y, qRgb(shade, shade, shade));
            }
        }
    }
    return mask;
}

QRect LedCellRect(int cellSize, int cell) {
    const int column = cell / 3;
    const int left = column == 0 ? cellSize / 10 : 3 * cellSize - cellSize - 2;
    return {left, cell % 3 * cellSize, cellSize, cellSize};
}

QImage MakeLedImage(int cellSize, int ratio) {
    QImage image =
        FilledImage(3 * cellSize, LedFrames * 3 * cellSize, ToQColor(view_colour::UnitHead), ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int frame = 0; frame < LedFrames; ++frame) {
        DrawLedFrame(painter, cellSize, frame);
    }
    return image;
}

namespace {

// The head icon: a small light curtain, two yellow posts with beams between them, drawn
// with its coverage so that the icon and its mask come from one drawing.
QImage HeadIconCoverage(int ratio) {
    QImage icon(40 * ratio, 31 * ratio, QImage::Format_ARGB32_Premultiplied);
    icon.setDevicePixelRatio(ratio);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 20), 1.2));
    painter.setBrush(ToQColor(view_colour::HousingYellow));
    painter.drawRoundedRect(QRectF(2.5, 2.5, 7, 26), 1.5, 1.5);
    painter.drawRoundedRect(QRectF(30.5, 2.5, 7, 26), 1.5, 1.5);
    const std::array<QColor, 4> beams{QColor(0, 200, 0), QColor(0, 200, 0), QColor(230, 0, 0),
                                      QColor(0, 200, 0)};
    for (std::size_t i = 0; i < beams.size(); ++i) {
        const double y = 7.5 + 5.5 * static_cast<double>(i);
        painter.fillRect(QRectF(10, y - 1, 20, 2.2), beams[i]);
    }
    return icon;
}

} // namespace

QImage MakeHeadIcon(int ratio) {
    QImage icon(40 * ratio, 31 * ratio, QImage::Format_RGB32);
    icon.setDevicePixelRatio(ratio);
    icon.fill(Qt::black);
    QPainter painter(&icon);
    painter.drawImage(0, 0, HeadIconCoverage(ratio));
    return icon;
}

QImage MakeHeadIconMask(int ratio) {
    const QImage coverage = HeadIconCoverage(ratio);
    QImage mask(coverage.size(), QImage::Format_RGB32);
    mask.setDevicePixelRatio(ratio);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const int grey = 255 - qAlpha(coverage.pixel(x, y));
            mask.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return mask;
}

} // namespace lcdiag
