#include "gui/app/BrandLogo.h"

#include <QFont>
#include <QPainter>

namespace lcdiag {
namespace {

constexpr int LogoWidth = 315;
constexpr int LogoHeight = 38;
const QColor DarkBlue(43, 58, 127);

void DrawEmblem(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(DarkBlue);
    painter.drawRoundedRect(QRectF(1, 1, 10, 36), 2, 2);  // emitter
    painter.drawRoundedRect(QRectF(47, 1, 10, 36), 2, 2); // receiver
    const QColor beams[] = {QColor(0, 200, 0), QColor(230, 0, 0), QColor(0, 200, 0)};
    for (int beam = 0; beam < 3; ++beam) {
        painter.setBrush(beams[beam]);
        painter.drawRect(QRectF(13, 7 + 10 * beam, 32, 4));
    }
}

void DrawName(QPainter& painter) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(30);
    font.setBold(true);
    font.setItalic(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(font);
    painter.setPen(DarkBlue);
    painter.drawText(QRect(66, 0, LogoWidth - 66, LogoHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("KELBERG"));
}

constexpr QSizeF EmblemSize(58, 38);

} // namespace

QIcon BrandIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage square(size, size, QImage::Format_ARGB32_Premultiplied);
        square.fill(Qt::transparent);
        QPainter painter(&square);
        painter.setRenderHint(QPainter::Antialiasing);
        const double scale = size / EmblemSize.width();
        painter.translate(0, (size - EmblemSize.height() * scale) / 2);
        painter.scale(scale, scale);
        DrawEmblem(painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(square));
    }
    return icon;
}

QImage BrandLogo(int ratio) {
    QImage logo(LogoWidth * ratio, LogoHeight * ratio, QImage::Format_ARGB32_Premultiplied);
    logo.setDevicePixelRatio(ratio);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawEmblem(painter);
    DrawName(painter);
    return logo;
}

} // namespace lcdiag
