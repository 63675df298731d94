#include "gui/views/PictureOps.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>

namespace lcdiag {

namespace {

QRgb BlendPixel(QRgb dest, QRgb src, QRgb mask) {
    return qRgb(BlendChannel(qRed(dest), qRed(src), qRed(mask)),
                BlendChannel(qGreen(dest), qGreen(src), qGreen(mask)),
                BlendChannel(qBlue(dest), qBlue(src), qBlue(mask)));
}

// Pictures made elsewhere are taken in the one format the operations read.
QImage AsRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

const QRgb* Line(const QImage& image, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

QRgb* Line(QImage& image, int y) {
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}

int Ratio(const QImage& image) {
    return std::max(1, qRound(image.devicePixelRatio()));
}

QRect DevicePixels(const QImage& image, const QRect& area) {
    const int ratio = Ratio(image);
    return {area.topLeft() * ratio, area.size() * ratio};
}

} // namespace

QColor ToQColor(Rgb colour) {
    return QColor(colour.r, colour.g, colour.b);
}

QImage FilledImage(int width, int height, QColor colour, int ratio) {
    QImage image(std::max(width, 1) * ratio, std::max(height, 1) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(colour);
    return image;
}

QRect LogicalRect(const QImage& image) {
    const int ratio = Ratio(image);
    return {0, 0, image.width() / ratio, image.height() / ratio};
}

QImage CopyArea(const QImage& image, const QRect& area) {
    QImage part = image.copy(DevicePixels(image, area));
    part.setDevicePixelRatio(image.devicePixelRatio());
    return part;
}

void DrawImagePart(QPainter& painter, QPoint at, const QImage& image, const QRect& source) {
    painter.drawImage(QRect(at, source.size()), image, DevicePixels(image, source));
}

QColor BlendColour(QColor dest, QColor src, int mask) {
    return QColor::fromRgb(BlendPixel(dest.rgb(), src.rgb(), qRgb(mask, mask, mask)));
}

void Blend(QImage& dest, const QImage& src, const QImage& mask) {
    if (dest.format() != QImage::Format_RGB32) {
        dest = AsRgb32(dest);
    }
    const QImage source = AsRgb32(src);
    const QImage masks = AsRgb32(mask);
    const int width = std::min({dest.width(), source.width(), masks.width()});
    const int height = std::min({dest.height(), source.height(), masks.height()});
    for (int y = 0; y < height; ++y) {
        QRgb* d = Line(dest, y);
        const QRgb* s = Line(source, y);
        const QRgb* m = Line(masks, y);
        for (int x = 0; x < width; ++x) {
            d[x] = BlendPixel(d[x], s[x], m[x]);
        }
    }
}

void BlendToward(QImage& dest, const QRect& area, QColor colour, int maskGrey) {
    if (dest.format() != QImage::Format_RGB32) {
        dest = AsRgb32(dest);
    }
    const QRect clipped = DevicePixels(dest, area).intersected(dest.rect());
    const QRgb src = colour.rgb();
    const QRgb mask = qRgb(maskGrey, maskGrey, maskGrey);
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        QRgb* d = Line(dest, y);
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            d[x] = BlendPixel(d[x], src, mask);
        }
    }
}

void Blur(QImage& dest, const QImage& src) {
    if (dest.format() != QImage::Format_RGB32) {
        dest = AsRgb32(dest);
    }
    const QImage source = AsRgb32(src);
    const int width = std::min(dest.width(), source.width());
    const int height = std::min(dest.height(), source.height());
    for (int y = 1; y < height - 1; ++y) {
        const std::array<const QRgb*, 3> rows{Line(source, y - 1), Line(source, y),
                                              Line(source, y + 1)};
        QRgb* d = Line(dest, y);
        for (int x = 1; x < width - 1; ++x) {
            int red = 0;
            int green = 0;
            int blue = 0;
            for (const QRgb* row : rows) {
                for (int dx = -1; dx <= 1; ++dx) {
                    red += qRed(row[x + dx]);
                    green += qGreen(row[x + dx]);
                    blue += qBlue(row[x + dx]);
                }
            }
            d[x] = qRgb(red / 9, green / 9, blue / 9);
        }
    }
}

void TextOut(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

void RotatedTextOut(QPainter& painter, int x, int y, int angle, const QString& text) {
    painter.save();
    painter.translate(x, y);
    painter.rotate(-angle / 10.0);
    painter.drawText(0, painter.fontMetrics().ascent(), text);
    painter.restore();
}

void HLine(QPainter& painter, int x1, int x2, int y, QColor colour) {
    if (x2 > x1) {
        painter.fillRect(x1, y, x2 - x1, 1, colour);
    }
}

void VLine(QPainter& painter, int x, int y1, int y2, QColor colour) {
    if (y2 > y1) {
        painter.fillRect(x, y1, 1, y2 - y1, colour);
    }
}

} // namespace lcdiag
