#include "gui/views/BarView.h"

#include "core/views/LiveViewData.h"
#include "gui/views/Artwork.h"
#include "gui/views/PictureOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace lcdiag {

namespace {

constexpr std::array<ControllerType, 2> Units{ControllerType::Emitter, ControllerType::Receiver};

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}

ControllerType Other(ControllerType unit) {
    return unit == ControllerType::Emitter ? ControllerType::Receiver : ControllerType::Emitter;
}

// The state colour shaded by the tile mask's shading cell.
QImage Coloured(const QImage& shading, QColor colour) {
    QImage cell(shading.size(), QImage::Format_RGB32);
    cell.setDevicePixelRatio(shading.devicePixelRatio());
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            const int shade = qRed(shading.pixel(x, y));
            cell.setPixel(x, y,
                          qRgb(colour.red() * shade / 255, colour.green() * shade / 255,
                               colour.blue() * shade / 255));
        }
    }
    return cell;
}

bool WriteText(const QString& path, const std::string& text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const auto size = static_cast<qint64>(text.size());
    return file.write(text.data(), size) == size;
}

} // namespace

BarView::BarView(const ViewResources& resources, QImage& picture)
    : resources_(resources), picture_(picture),
      geometry_(MakeBarGeometry(LogicalRect(picture).width(), LogicalRect(picture).height(),
                                resources.TileWidth(), resources.TileHeight(),
                                LogicalRect(resources.SmallLedFrame(0, false)).height(),
                                LogicalRect(resources.HeadIcon()).height())) {
    MakeTiles();
    MakeLines();
}

void BarView::MakeTiles() {
    const int tW = resources_.TileWidth();
    const int tH = resources_.TileHeight();
    const QImage& mask = resources_.TileMask();
    const QColor yellow = ToQColor(view_colour::HousingYellow);
    for (int column = 0; column < bar_tile::Columns; ++column) {
        const QColor colour = resources_.Beam(BarTileColours[Index(column)]);
        for (int row = 0; row < 3; ++row) {
            QImage tile = FilledImage(tW, tH, yellow, resources_.Ratio());
            Blend(tile, Coloured(CopyArea(mask, {tW, row * tH, tW, tH}), colour),
                  CopyArea(mask, {0, row * tH, tW, tH}));
            QImage dimmed = tile;
            BlendToward(dimmed, LogicalRect(dimmed), resources_.Colours().face,
                        view_colour::DimMask);
            tiles_[Index(column)][Index(row)] = {tile, dimmed};
        }
        lineCells_[Index(column)] = Coloured(CopyArea(mask, {tW, 3 * tH, tW, tH}), colour);
    }
    lineMask_ = CopyArea(mask, {0, 3 * tH, tW, tH});
}

QImage BarView::BackgroundStrip() const {
    // The row as the housings leave it: the emitter's body and right edge, the gap, the
    // receiver's left edge and body.
    const int left = geometry_.LineLeft();
    const int width = geometry_.LineWidth();
    const int height = geometry_.tileHeight;
    QImage strip = FilledImage(width, height, resources_.Colours().face, resources_.Ratio());
    QPainter painter(&strip);
    const QColor yellow = ToQColor(view_colour::HousingYellow);
    const int emitterEdge = geometry_.emitter.body.Right() - left;
    const int receiverEdge = geometry_.receiver.body.left - 1 - left;
    painter.fillRect(0, 0, std::max(emitterEdge, 0), height, yellow);
    painter.fillRect(receiverEdge + 1, 0, width, height, yellow);
    VLine(painter, emitterEdge, 0, height, Qt::black);
    VLine(painter, receiverEdge, 0, height, Qt::white);
    return strip;
}

// The mask is made per device pixel column, each taking the shade of its logical column.
QImage BarView::Shaded(const QImage& line, ControllerType connected) const {
    QImage mask(line.size(), QImage::Format_RGB32);
    for (int x = 0; x < mask.width(); ++x) {
        const int grey =
            LineShadeMask(geometry_, geometry_.LineLeft() + x / resources_.Ratio(), connected);
        for (int y = 0; y < mask.height(); ++y) {
            mask.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    QImage shaded = line;
    Blend(shaded, FilledImage(line.width(), line.height(), resources_.Colours().face), mask);
    return shaded;
}

void BarView::MakeLines() {
    const QImage background = BackgroundStrip();
    for (int column = 0; column < bar_tile::Columns; ++column) {
        QImage line = background;
        BlendBeamLine(line, column);
        lines_[Index(column)] = {line, Shaded(line, ControllerType::Receiver),
                                 Shaded(line, ControllerType::Emitter)};
    }
    inactiveLines_ = {background, Shaded(background, ControllerType::Receiver),
                      Shaded(background, ControllerType::Emitter)};
}

void BarView::BlendBeamLine(QImage& strip, int column) const {
    const QSize size = strip.size();
    Blend(strip, lineCells_[Index(column)].scaled(size), lineMask_.scaled(size));
}

const QImage& BarView::EndTile(int column, int row) const {
    return tiles_[Index(column)][Index(row)][0];
}

QColor BarView::BodyColour(ControllerType unit) const {
    const QColor yellow = ToQColor(view_colour::HousingYellow);
    return unit == connected_
               ? yellow
               : BlendColour(yellow, resources_.Colours().face, view_colour::DimMask);
}

void BarView::PreDraw(ControllerType connected) {
    connected_ = connected;
    const ViewColours& colours = resources_.Colours();
    {
        QPainter painter(&picture_);
        for (ControllerType unit : Units) {
            const UnitRects& rects = geometry_.Unit(unit);
            const QRect head(rects.head.left, rects.head.top, rects.head.width, rects.head.height);
            painter.fillRect(head, ToQColor(view_colour::UnitHead));
            painter.fillRect(rects.body.left, rects.body.top, rects.body.width, rects.body.height,
                             ToQColor(view_colour::HousingYellow));
            // A raised edge: light along the top and left, dark along the right and bottom.
            const Rect& u = rects.unit;
            HLine(painter, u.left - 1, u.Right() + 1, u.top - 1, Qt::white);
            VLine(painter, u.left - 1, u.top - 1, u.Bottom() + 1, Qt::white);
            VLine(painter, u.Right(), u.top - 1, u.Bottom() + 1, Qt::black);
            HLine(painter, u.left - 1, u.Right() + 1, u.Bottom(), Qt::black);
            const QRect icon = LogicalRect(resources_.HeadIcon());
            painter.drawImage(rects.head.left + (rects.head.width - icon.width()) / 2,
                              rects.head.top - icon.height() - 1, resources_.HeadIcon());
        }
        resources_.UseFont(painter, 4);
        const QFontMetrics metrics(painter.font());
        const int h = metrics.height();
        const Rect& emitter = geometry_.emitter.unit;
        const Rect& receiver = geometry_.receiver.unit;
        const QString emitterText = resources_.Text(1040);
        const QString receiverText = resources_.Text(1041);
        const int emitterWidth = metrics.horizontalAdvance(emitterText);
        const int receiverWidth = metrics.horizontalAdvance(receiverText);
        RotatedTextOut(painter, emitter.left - h - 10,
                       emitter.top + (emitterWidth + emitter.height) / 2, 900, emitterText);
        RotatedTextOut(painter, receiver.Right() + h + 10,
                       receiver.top + (receiver.height - receiverWidth) / 2, 2700, receiverText);
        const int middle = geometry_.viewWidth / 2;
        VLine(painter, middle - 1, 10, geometry_.viewHeight - 10, colours.shadow);
        VLine(painter, middle, 10, geometry_.viewHeight - 10, colours.highlight);
    }
    const Rect fade = geometry_.FadeArea(Other(connected));
    BlendToward(picture_, QRect(fade.left, fade.top, fade.width, fade.height), colours.face,
                view_colour::DimMask);
    QPainter painter(&picture_);
    for (ControllerType unit : Units) {
        const int offFrame = unit == ControllerType::Receiver ? 0 : 2;
        painter.drawImage(LedPanelOrigin(unit),
                          resources_.SmallLedFrame(offFrame, unit != connected));
    }
    emitterLeds_ = 0;
    receiverLeds_ = 0;
    drawnRows_.fill(std::nullopt);
    damage_ = LogicalRect(picture_);
}

QPoint BarView::LedPanelOrigin(ControllerType unit) const {
    const Rect& head = geometry_.Unit(unit).head;
    const QRect frame = LogicalRect(resources_.SmallLedFrame(0, false));
    return {head.left + (head.width - frame.width()) / 2,
            head.top + (head.height - frame.height()) / 2};
}

void BarView::DrawLedCells(QPainter& painter, ControllerType unit, std::uint8_t byte) {
    const int offFrame = unit == ControllerType::Receiver ? 0 : 2;
    const bool dimmed = unit != connected_;
    const QPoint origin = LedPanelOrigin(unit);
    for (int bit = 0; bit < 8; ++bit) {
        const int cell = LedCellOfBit(unit, bit);
        if (cell < 0) {
            continue;
        }
        const bool lit = (byte >> bit & 1) != 0;
        const QRect source = LedCellRect(resources_.SmallLedCell(), cell);
        DrawImagePart(painter, origin + source.topLeft(),
                      resources_.SmallLedFrame(offFrame + (lit ? 1 : 0), dimmed), source);
    }
}

void BarView::DrawLeds(std::uint8_t emitterByte, std::uint8_t receiverByte) {
    if (emitterByte == emitterLeds_ && receiverByte == receiverLeds_) {
        return;
    }
    QPainter painter(&picture_);
    DrawLedCells(painter, ControllerType::Emitter, emitterByte);
    DrawLedCells(painter, ControllerType::Receiver, receiverByte);
    emitterLeds_ = emitterByte;
    receiverLeds_ = receiverByte;
    const QSize panel = LogicalRect(resources_.SmallLedFrame(0, false)).size();
    for (ControllerType unit : Units) {
        damage_ |= QRect(LedPanelOrigin(unit), panel);
    }
}

std::uint8_t BarView::LastLedByte(ControllerType unit) const {
    return unit == ControllerType::Emitter ? emitterLeds_ : receiverLeds_;
}

void BarView::DrawRows(const LiveViewData& data, int firstBeam) {
    const std::array<BarRow, BarGeometry::Rows> rows = BarRows(data, firstBeam);
    QPainter painter(&picture_);
    resources_.UseFont(painter, 5);
    for (int row = 1; row <= BarGeometry::Rows; ++row) {
        std::optional<BarRow>& drawn = drawnRows_[Index(row - 1)];
        if (drawn == rows[Index(row - 1)]) {
            continue;
        }
        DrawRow(painter, row, rows[Index(row - 1)]);
        drawn = rows[Index(row - 1)];
        damage_ |= QRect(0, geometry_.RowTop(row), geometry_.viewWidth, geometry_.tileHeight);
    }
}

void BarView::DrawRow(QPainter& painter, int row, const BarRow& look) {
    const int y = geometry_.RowTop(row);
    const bool receiverConnected = connected_ == ControllerType::Receiver;
    const auto& tiles = tiles_[Index(look.column)];
    painter.drawImage(geometry_.EmitterTileLeft(), y,
                      tiles[look.active ? 1 : 0][receiverConnected ? 1 : 0]);
    DrawNumber(painter, row, look.beam, ControllerType::Emitter);
    Trace();
    const std::size_t copy = receiverConnected ? ShadedForReceiver : ShadedForEmitter;
    painter.drawImage(geometry_.LineLeft(), y,
                      look.active ? lines_[Index(look.column)][copy] : inactiveLines_[copy]);
    painter.drawImage(geometry_.ReceiverTileLeft(), y,
                      tiles[look.active ? 2 : 0][receiverConnected ? 0 : 1]);
    DrawNumber(painter, row, look.beam, ControllerType::Receiver);
}

void BarView::DrawNumber(QPainter& painter, int row, int beam, ControllerType side) {
    const int tW = geometry_.tileWidth;
    const int tH = geometry_.tileHeight;
    const int y = geometry_.RowTop(row);
    const bool emitter = side == ControllerType::Emitter;
    const int cellLeft =
        emitter ? geometry_.EmitterTileLeft() - tW : geometry_.ReceiverTileLeft() + tW;
    painter.fillRect(cellLeft, y, tW, tH, BodyColour(side));
    const QString number = QString::number(beam);
    const QFontMetrics metrics(painter.font());
    const int textTop = y + (tH - metrics.height()) / 2;
    const int textLeft =
        emitter ? cellLeft + tW - 3 - metrics.horizontalAdvance(number) : cellLeft + 3;
    TextOut(painter, textLeft, textTop, number);
}

void BarView::Trace() {
    const std::optional<std::string> text = trace_.CountRow(geometry_);
    if (text && !WriteText(TracePath(), *text)) {
        WriteText(QDir::temp().filePath(QStringLiteral("lcdiag/") + BarTrace::FileName), *text);
    }
}

QString BarView::TracePath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() && !qEnvironmentVariable("HOME").isEmpty()) {
        state = qEnvironmentVariable("HOME") + QStringLiteral("/.local/state");
    }
    if (state.isEmpty()) {
        state = QDir::tempPath();
    }
    return state + QStringLiteral("/lcdiag/") + BarTrace::FileName;
}

} // namespace lcdiag
