#include "gui/safety/InstallationSketch.h"

#include "core/app/ScreenProfile.h"
#include "gui/safety/UiText.h"
#include "gui/views/ViewResources.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace lcdiag {

namespace {

constexpr TextId DangerZoneText = 7100;
constexpr TextId ReflectiveObjectText = 7101;
constexpr TextId EmitterText = 7102;
constexpr TextId ReceiverText = 7103;
constexpr TextId CentralBeamText = 7104;

constexpr int HeadingFont = 1;
constexpr int LabelFont = 2;
constexpr int ArrowLength = 8;
constexpr int PieceSize = 48;
const QColor Grey(191, 191, 191);
const QColor LightRed(255, 127, 127);
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);

// A closed arrowhead whose tip is at `tip`, pointing in the direction (dx, dy) of -1, 0, 1.
void Arrowhead(QPainter& painter, QPoint tip, int dx, int dy) {
    const QPoint back(-dx * ArrowLength, -dy * ArrowLength);
    const QPoint side(dy * ArrowLength / 3, dx * ArrowLength / 3);
    painter.setBrush(painter.pen().color());
    painter.drawPolygon(QPolygon({tip, tip + back + side, tip + back - side}));
    painter.setBrush(Qt::NoBrush);
}

void OutlinedBox(QPainter& painter, const QRect& box) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

// A dimension along x at height y from x1 to x2, arrowheads at both ends.
void HorizontalDimension(QPainter& painter, int x1, int x2, int y) {
    painter.drawLine(x1, y, x2, y);
    Arrowhead(painter, {x1, y}, -1, 0);
    Arrowhead(painter, {x2, y}, 1, 0);
}

void VerticalDimension(QPainter& painter, int x, int y1, int y2) {
    painter.drawLine(x, y1, x, y2);
    Arrowhead(painter, {x, y1}, 0, -1);
    Arrowhead(painter, {x, y2}, 0, 1);
}

// A dimension's letter left of its vertical line, centred on it.
void LetterLeftOf(QPainter& painter, const QString& letter, int x, int y1, int y2) {
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(letter);
    painter.drawText(QRect(x - 3 - width, y1, width, y2 - y1), Qt::AlignCenter, letter);
}

class Sketch {
public:
    Sketch(const Texts& texts, int profile, int viewWidth)
        : texts_(texts), picture_(std::max(1, viewWidth / 2), std::max(1, viewWidth / 4 + 20),
                                  QImage::Format_RGB32),
          heading_(MakeViewFont(ViewFont(profile, HeadingFont))),
          label_(MakeViewFont(ViewFont(profile, LabelFont))), painter_(&picture_) {
        picture_.fill(Qt::white);
    }

    QImage Draw() {
        DangerZone();
        ReflectiveObject();
        Units();
        BeamSpread();
        CentralBeam();
        Dimensions();
        CentralBeamLabel();
        painter_.end();
        return picture_;
    }

private:
    int Width() const { return picture_.width(); }
    int Height() const { return picture_.height(); }

    void DangerZone() {
        painter_.setFont(heading_);
        const QFontMetrics metrics(heading_);
        danger_ = QRect(20, 0, Width() - 40, std::max(30, metrics.height() + 10));
        painter_.fillRect(danger_, Grey);
        painter_.setPen(Qt::black);
        for (int y = danger_.top(); y <= danger_.bottom(); ++y) {
            for (int x = danger_.left() + (4 - (danger_.left() + y) % 4) % 4; x <= danger_.right();
                 x += 4) {
                painter_.drawPoint(x, y);
            }
        }
        OutlinedBox(painter_, danger_);
        // The name on the zone's grey, so that the hatching does not cross it.
        const QString name = QLatin1Char(' ') + UiText(texts_, DangerZoneText) + QLatin1Char(' ');
        painter_.setBackgroundMode(Qt::OpaqueMode);
        painter_.setBackground(Grey);
        painter_.drawText(danger_, Qt::AlignCenter, name);
        painter_.setBackgroundMode(Qt::TransparentMode);
    }

    // Grey rising from both edges to white in the middle, its name white outlined in black.
    void ReflectiveObject() {
        painter_.setFont(label_);
        const QFontMetrics metrics(label_);
        const QString name = UiText(texts_, ReflectiveObjectText);
        const int width = metrics.horizontalAdvance(name) + 20;
        const int height = std::max(30, metrics.height() + 10);
        reflective_ = QRect((Width() - width) / 2, danger_.bottom() + 1 + 20, width, height);
        for (int i = 0; i <= width / 2; ++i) {
            const int level = std::min(255, static_cast<int>(std::lround(512.0 * i / width)));
            painter_.setPen(QColor(level, level, level));
            for (int x : {reflective_.left() + i, reflective_.right() - i}) {
                painter_.drawLine(x, reflective_.top(), x, reflective_.bottom());
            }
        }
        OutlinedBox(painter_, reflective_);
        painter_.setPen(Qt::black);
        for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
            painter_.drawText(reflective_.translated(offset), Qt::AlignCenter, name);
        }
        painter_.setPen(Qt::white);
        painter_.drawText(reflective_, Qt::AlignCenter, name);
    }

    void Units() {
        painter_.setFont(label_);
        const QFontMetrics metrics(label_);
        const QString emitter = UiText(texts_, EmitterText);
        const QString receiver = UiText(texts_, ReceiverText);
        const int width =
            std::max(metrics.horizontalAdvance(emitter), metrics.horizontalAdvance(receiver)) + 20;
        const int height = metrics.height() + 10;
        const int below = reflective_.bottom() + 1;
        const int top = below + (Height() - below - height) / 2;
        emitter_ = QRect(10, top, width, height);
        receiver_ = QRect(Width() - 10 - width, top, width, height);
        middle_ = top + height / 2;
        for (const auto& [box, name] : {std::pair{emitter_, emitter}, {receiver_, receiver}}) {
            painter_.fillRect(box, Yellow);
            OutlinedBox(painter_, box);
            painter_.drawText(box, Qt::AlignCenter, name);
        }
    }

    // From the emitter to the middle of the reflective object's bottom, to the receiver and
    // to the mirror point below the units' middle.
    void BeamSpread() {
        const QPoint from(emitter_.right() + 1, middle_);
        const QPoint top(reflective_.center().x(), reflective_.bottom() + 1);
        const QPoint to(receiver_.left(), middle_);
        const QPoint bottom(top.x(), 2 * middle_ - top.y());
        painter_.setPen(LightRed);
        painter_.drawPolygon(QPolygon({from, top, to, bottom}));
    }

    void CentralBeam() {
        const QRect piece((Width() - PieceSize) / 2, middle_ - PieceSize / 2, PieceSize, PieceSize);
        painter_.drawImage(piece.topLeft(), TestPieceImage());
        painter_.setPen(Red);
        painter_.drawLine(emitter_.right() + 1, middle_, piece.left() - 1, middle_);
        Arrowhead(painter_, {piece.left() - 1, middle_}, 1, 0);
    }

    void Dimensions() {
        painter_.setPen(Qt::black);
        painter_.setFont(label_);
        // D: between the units, below them.
        const int below = emitter_.bottom() + 1;
        const int left = emitter_.right() + 1;
        const int right = receiver_.left();
        painter_.drawLine(left, below + 30, left, below + 41);
        painter_.drawLine(right, below + 30, right, below + 41);
        HorizontalDimension(painter_, left, right, below + 35);
        const QFontMetrics metrics(label_);
        painter_.drawText(
            QRect(left, below + 35 - metrics.height(), right - left, metrics.height()),
            Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("D"));
        // S: from the danger zone to the beam, just right of the emitter.
        const int zone = danger_.bottom() + 1;
        painter_.drawLine(left + 10, zone, left + 21, zone);
        painter_.drawLine(left + 10, middle_, left + 21, middle_);
        VerticalDimension(painter_, left + 15, zone, middle_);
        LetterLeftOf(painter_, QStringLiteral("S"), left + 15, zone, middle_);
        // S1: from the reflective object to the beam, at the object's left edge.
        const int object = reflective_.bottom() + 1;
        const int edge = reflective_.left();
        painter_.drawLine(edge, middle_, edge + 11, middle_);
        VerticalDimension(painter_, edge + 5, object, middle_);
        LetterLeftOf(painter_, QStringLiteral("S1"), edge + 5, object, middle_);
    }

    // Below the emitter, with a leader to the emitter's right edge and up at 45 degrees to the
    // central beam.
    void CentralBeamLabel() {
        painter_.setFont(label_);
        painter_.setPen(Qt::black);
        const QFontMetrics metrics(label_);
        const QString name = UiText(texts_, CentralBeamText);
        const QRect text(emitter_.left(), emitter_.bottom() + 1 + 10,
                         metrics.horizontalAdvance(name), metrics.height());
        painter_.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, name);
        const QPoint end(text.right() + 3, text.center().y());
        const QPoint corner(std::max(end.x(), emitter_.right() + 1), end.y());
        painter_.drawLine(end, corner);
        painter_.drawLine(corner, corner + QPoint(corner.y() - middle_, middle_ - corner.y()));
    }

    const Texts& texts_;
    QImage picture_;
    QFont heading_;
    QFont label_;
    QPainter painter_;
    QRect danger_;
    QRect reflective_;
    QRect emitter_;
    QRect receiver_;
    int middle_ = 0;
};

} // namespace

QImage DrawInstallationSketch(const Texts& texts, int screenProfile, int viewWidth) {
    return Sketch(texts, screenProfile, viewWidth).Draw();
}

// A shaded rod end on, its diameter d marked across it.
QImage TestPieceImage() {
    QImage piece(PieceSize, PieceSize, QImage::Format_ARGB32_Premultiplied);
    piece.fill(Qt::transparent);
    QPainter painter(&piece);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(18, 18), 30);
    shade.setColorAt(0, QColor(250, 250, 250));
    shade.setColorAt(1, QColor(110, 110, 120));
    painter.setBrush(shade);
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.drawEllipse(QRectF(4, 4, 40, 40));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(8, 24), QPointF(40, 24));
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF({QPointF(6, 24), QPointF(11, 21.5), QPointF(11, 26.5)}));
    painter.drawPolygon(QPolygonF({QPointF(42, 24), QPointF(37, 21.5), QPointF(37, 26.5)}));
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setPixelSize(13);
    font.setItalic(true);
    painter.setFont(font);
    painter.drawText(QRectF(4, 8, 40, 15), Qt::AlignCenter, QStringLiteral("d"));
    return piece;
}

} // namespace lcdiag
