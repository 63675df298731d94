#include "gui/views/StatusView.h"

#include "core/views/LiveViewData.h"
#include "core/views/StatusIndicators.h"
#include "gui/views/Artwork.h"
#include "gui/views/PictureOps.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace lcdiag {

namespace {

using namespace status_layout;

constexpr int HeadingFont = 8;
constexpr int RowFont = 9;

// The unit's texts: function heading, "Active", "Signal", LED heading.
struct TableTexts {
    TextId functions;
    TextId active;
    TextId signal;
    TextId leds;
};

TableTexts TextsOf(ControllerType unit) {
    return unit == ControllerType::Emitter ? TableTexts{4100, 4101, 4102, 4130}
                                           : TableTexts{4000, 4001, 4002, 4030};
}

TextSize SizeOf(const QFontMetrics& metrics, const QString& text) {
    return {metrics.horizontalAdvance(text), metrics.height()};
}

} // namespace

StatusView::StatusView(const ViewResources& resources, QImage& picture)
    : resources_(resources), picture_(picture) {}

QImage StatusView::Scratch() const {
    const QRect picture = LogicalRect(picture_);
    QImage scratch = FilledImage(picture.width() / 2, picture.height(), resources_.Colours().face,
                                 resources_.Ratio());
    QPainter painter(&scratch);
    painter.setPen(resources_.Colours().highlight);
    painter.drawRect(LogicalRect(scratch).adjusted(0, 0, -1, -1));
    return scratch;
}

void StatusView::Heading(QPainter& painter, const QString& text, int left, int width,
                         int rule) const {
    resources_.UseFont(painter, HeadingFont);
    TextOut(painter, left, Margin, text);
    EtchedHLine(painter, width, rule);
}

void StatusView::EtchedHLine(QPainter& painter, int width, int y) const {
    HLine(painter, 4, width - 4, y, resources_.Colours().shadow);
    HLine(painter, 4, width - 4, y + 1, resources_.Colours().highlight);
}

void StatusView::EtchedVLine(QPainter& painter, int x, int top, int bottom) const {
    VLine(painter, x, top, bottom, resources_.Colours().shadow);
    VLine(painter, x + 1, top, bottom, resources_.Colours().highlight);
}

void StatusView::Frame(QPainter& painter, int width, int height) const {
    VLine(painter, width - 1, 0, height, resources_.Colours().shadow);
    HLine(painter, 0, width, height - 1, resources_.Colours().shadow);
}

QImage StatusView::FunctionTable() const {
    const TableTexts texts = TextsOf(connected_);
    const QString heading = resources_.Text(texts.functions);
    const QString active = resources_.Text(texts.active);
    const QString signal = resources_.Text(texts.signal);
    const std::span<const FunctionRow> rows = FunctionRows(connected_);
    const FunctionTableLayout& layout = functions_;
    QImage table = Scratch();
    QPainter painter(&table);
    Heading(painter, heading, layout.headingLeft, layout.width, layout.headingRule);
    resources_.UseFont(painter, RowFont);
    TextOut(painter, layout.activeHeadingLeft, layout.columnLine, active);
    TextOut(painter, layout.signalHeadingLeft, layout.columnLine, signal);
    const int bottom = layout.height - Margin;
    EtchedVLine(painter, layout.firstSeparator, layout.columnLine, bottom);
    EtchedVLine(painter, layout.secondSeparator, layout.columnLine, bottom);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        TextOut(painter, 8, layout.RowTop(i),
                resources_.Text(rows[static_cast<std::size_t>(i)].text));
        EtchedHLine(painter, layout.width, layout.RuleTop(i));
    }
    Frame(painter, layout.width, layout.height);
    return table;
}

QImage StatusView::LedTable() const {
    const QString heading = resources_.Text(TextsOf(connected_).leds);
    const std::span<const LedRow> rows = LedRows(connected_);
    const LedTableLayout& layout = leds_;
    const int tW = resources_.TileWidth();
    const int tH = resources_.TileHeight();
    const int c = layout.cellSize;
    const QImage& frame = resources_.LargeLedFrame(connected_ == ControllerType::Receiver ? 1 : 3);
    QImage table = Scratch();
    QPainter painter(&table);
    Heading(painter, heading, layout.headingLeft, layout.width, layout.headingRule);
    resources_.UseFont(painter, RowFont);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const LedRow& row = rows[static_cast<std::size_t>(i)];
        const int sourceX = row.cell / 3 == 0 ? c / 10 : LogicalRect(frame).width() - c - 2;
        DrawImagePart(painter, {8, layout.ImageTop(i, tH)}, frame,
                      {sourceX, row.cell % 3 * c, tW, tH});
        TextOut(painter, layout.textLeft, layout.TextTop(i), resources_.Text(row.text));
        if (i + 1 < static_cast<int>(rows.size())) {
            EtchedHLine(painter, layout.width, layout.RuleTop(i));
        }
    }
    EtchedVLine(painter, layout.separator, layout.top, layout.height - Margin);
    Frame(painter, layout.width, layout.height);
    return table;
}

void StatusView::PreDraw(ControllerType connected, int titleEnd) {
    connected_ = connected;
    const TableTexts texts = TextsOf(connected);
    const QFontMetrics headingMetrics(resources_.Font(HeadingFont));
    const QFontMetrics rowMetrics(resources_.Font(RowFont));
    const TextSize active = SizeOf(rowMetrics, resources_.Text(texts.active));

    FunctionTableMetrics functionMetrics{
        SizeOf(headingMetrics, resources_.Text(texts.functions)), active,
        rowMetrics.horizontalAdvance(resources_.Text(texts.signal)), 0,
        static_cast<int>(FunctionRows(connected).size())};
    for (const FunctionRow& row : FunctionRows(connected)) {
        functionMetrics.widestRow = std::max(
            functionMetrics.widestRow, rowMetrics.horizontalAdvance(resources_.Text(row.text)));
    }
    functions_ = MakeFunctionTableLayout(functionMetrics);

    const std::span<const LedRow> ledRows = LedRows(connected);
    LedTableMetrics ledMetrics{SizeOf(headingMetrics, resources_.Text(texts.leds)),
                               rowMetrics.height(),
                               0,
                               active.height,
                               resources_.LargeLedCell(),
                               static_cast<int>(ledRows.size())};
    for (const LedRow& row : ledRows) {
        ledMetrics.widestText = std::max(ledMetrics.widestText,
                                         rowMetrics.horizontalAdvance(resources_.Text(row.text)));
    }
    leds_ = MakeLedTableLayout(ledMetrics);

    const int width = LogicalRect(picture_).width();
    const int half = width / 2;
    const int height = LogicalRect(picture_).height();
    functionsAt_ = {(half - functions_.width) / 2, (height - functions_.height) / 2};
    ledsAt_ = {half + (half - leds_.width) / 2, (height - leds_.height) / 2};
    QPainter painter(&picture_);
    painter.fillRect(0, 0, half, height, resources_.Colours().face);
    painter.fillRect(half, titleEnd, width - half, height - titleEnd, resources_.Colours().face);
    DrawImagePart(painter, functionsAt_, FunctionTable(),
                  {0, 0, functions_.width, functions_.height});
    DrawImagePart(painter, ledsAt_, LedTable(), {0, 0, leds_.width, leds_.height});
    painter.end();
    DrawIndicators(LiveViewData{}); // no cycle: every indicator dark
}

void StatusView::DrawIndicator(QPainter& painter, QPoint at, const QColor* lit) const {
    // A raised square: light outline, dark right and bottom edge, the lit colour inside.
    const int s = functions_.indicatorSize;
    const ViewColours& colours = resources_.Colours();
    painter.fillRect(at.x(), at.y(), s, s, colours.face);
    painter.setPen(colours.highlight);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(at.x(), at.y(), s - 1, s - 1);
    VLine(painter, at.x() + s - 1, at.y(), at.y() + s, colours.shadow);
    HLine(painter, at.x(), at.x() + s, at.y() + s - 1, colours.shadow);
    if (lit != nullptr && s > 6) {
        painter.fillRect(at.x() + 3, at.y() + 3, s - 6, s - 6, *lit);
    }
}

void StatusView::DrawCycleCount(QPainter& painter, int count) const {
    const QString active = resources_.Text(TextsOf(connected_).active);
    resources_.UseFont(painter, RowFont);
    const QFontMetrics metrics = painter.fontMetrics();
    const int s = functions_.indicatorSize;
    const int width = metrics.horizontalAdvance(active) + 16;
    const int height = metrics.height() + 6;
    const QPoint centre = functionsAt_ + QPoint(functions_.activeLeft + s / 2,
                                                functions_.RowTop(CycleCountRow) + s / 2);
    const QRect box(centre.x() - width / 2, centre.y() - height / 2, width, height);
    painter.fillRect(box, resources_.Colours().face);
    painter.drawText(box, Qt::AlignCenter, QString::number(count));
}

void StatusView::DrawIndicators(const LiveViewData& data) {
    QPainter painter(&picture_);
    const QColor green = ToQColor(view_colour::IndicatorGreen);
    const auto lights = FunctionTableLights(data);
    const std::span<const FunctionRow> rows = FunctionRows(connected_);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const FunctionRow& row = rows[static_cast<std::size_t>(i)];
        const FunctionLights& light = lights[static_cast<std::size_t>(i)];
        const int top = functionsAt_.y() + functions_.RowTop(i);
        if (row.hasActive) {
            DrawIndicator(painter, {functionsAt_.x() + functions_.activeLeft, top},
                          light.active ? &green : nullptr);
        }
        if (row.hasSignal) {
            DrawIndicator(painter, {functionsAt_.x() + functions_.signalLeft, top},
                          light.signal ? &green : nullptr);
        }
    }
    if (connected_ == ControllerType::Receiver) {
        DrawCycleCount(painter, CycleCountShown(data));
    }
    const std::uint8_t byte =
        connected_ == ControllerType::Receiver ? ReceiverLedByte(data) : EmitterLedByte(data);
    const std::span<const LedRow> ledRows = LedRows(connected_);
    for (int i = 0; i < static_cast<int>(ledRows.size()); ++i) {
        const LedRow& row = ledRows[static_cast<std::size_t>(i)];
        const QColor colour = ToQColor(row.colour);
        const bool lit = (byte >> row.bit & 1) != 0;
        DrawIndicator(painter, ledsAt_ + QPoint(leds_.indicatorLeft, leds_.TextTop(i)),
                      lit ? &colour : nullptr);
    }
}

} // namespace lcdiag
