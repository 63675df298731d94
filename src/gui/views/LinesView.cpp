#include "gui/views/LinesView.h"

#include "core/device/DeviceType.h"
#include "core/views/BeamPalette.h"
#include "gui/views/PictureOps.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace lcdiag {

namespace {

constexpr int LabelFont = 6;
constexpr int ModuleFont = 7;

QRect ToQRect(const Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

LinesMetrics MeasureLines(const ViewResources& resources, int selectionButtonHeight) {
    const QFontMetrics labels(resources.Font(LabelFont));
    const QFontMetrics modules(resources.Font(ModuleFont));
    return {modules.height(), labels.height(), labels.horizontalAdvance(QStringLiteral("0000 mm")),
            selectionButtonHeight};
}

} // namespace

LinesView::LinesView(const ViewResources& resources, QImage& picture, int selectionButtonHeight)
    : resources_(resources), picture_(picture),
      metrics_(MeasureLines(resources, selectionButtonHeight)) {}

std::optional<LinesPage> LinesView::Page() const {
    return grid_ ? std::optional(grid_->page) : std::nullopt;
}

void LinesView::SetBeamDiagnostics(bool checked) {
    diagnostics_ = checked;
    held_ = false;
}

void LinesView::Draw(const LiveViewData& data, LinesPage page) {
    if (page == LinesPage::Lines && Held()) {
        return;
    }
    const int code = DeviceTypeCode(data);
    const int count = std::min(CycleBeamCount(data), device_type::MaxBeams(code));
    GridKey key{data.controller, page, code, count, data.dimensioning, {}};
    if (page == LinesPage::Selection) {
        key.fixedBlanking = data.selection.fixedBlanking;
    }
    if (grid_ != key) {
        PreDraw(data, key);
    }
    QPainter painter(&picture_);
    bool interruption = false;
    for (int beam = 1; beam <= layout_.maxBeams; ++beam) {
        const QRect inner = ToQRect(layout_.Cell(beam)).adjusted(1, 1, -1, -1);
        const int entry = LinesCellColour(data, page, beam, count);
        painter.fillRect(inner,
                         entry == FaceFill ? resources_.Colours().face : resources_.Beam(entry));
        interruption = interruption || ShowsInterruption(data, beam, count);
    }
    if (page == LinesPage::Lines && diagnostics_ && interruption) {
        held_ = true;
    }
}

void LinesView::PreDraw(const LiveViewData& data, const GridKey& key) {
    grid_ = key;
    beamCount_ = key.beamCount;
    const QRect picture = LogicalRect(picture_);
    layout_ = MakeLinesLayout(picture.width(), picture.height(), key.beamCode, key.page, metrics_);
    QPainter painter(&picture_);
    painter.fillRect(picture, resources_.Colours().face);
    DrawLabels(painter, key);
    for (int beam = 1; beam <= key.beamCount; ++beam) {
        DrawFrame(painter, ToQRect(layout_.Cell(beam)), CellSunken(data, key.page, beam));
    }
    DrawModules(painter, key);
    DrawLegend(painter, key);
}

void LinesView::DrawFrame(QPainter& painter, const QRect& cell, bool sunken) const {
    // Light top and left, dark right and bottom edge: a raised cell; swapped: sunken.
    const ViewColours& colours = resources_.Colours();
    painter.fillRect(cell, sunken ? colours.highlight : colours.shadow);
    painter.fillRect(cell.adjusted(0, 0, -1, -1), sunken ? colours.shadow : colours.highlight);
    painter.fillRect(cell.adjusted(1, 1, -1, -1), colours.face);
}

void LinesView::DrawLabels(QPainter& painter, const GridKey& key) {
    resources_.UseFont(painter, LabelFont);
    const QFontMetrics metrics = painter.fontMetrics();
    const int labelled = LabelledBeams(key.beamCode, key.beamCount);
    for (int beam = 1; beam <= labelled; ++beam) {
        const QString label =
            QString::fromStdString(BeamLabel(beam, key.beamCode, key.dimensioning));
        const Rect cell = layout_.Cell(beam);
        RotatedTextOut(painter, cell.left + (cell.width - metrics.height()) / 2,
                       cell.top + cell.height + 5 + metrics.horizontalAdvance(label), 900, label);
    }
}

void LinesView::DrawModules(QPainter& painter, const GridKey& key) {
    painter.setFont(resources_.Font(ModuleFont));
    DrawModuleBoxes(painter, layout_, resources_.Text(1050) + QStringLiteral(" "), key.beamCode,
                    key.beamCount);
}

void DrawModuleBoxes(QPainter& painter, const LinesLayout& layout, const QString& moduleWord,
                     int beamCode, int beamCount) {
    const int textHeight = painter.fontMetrics().height();
    const int pitch = layout.cellWidth + LinesLayout::Gap;
    for (const ModuleBox& box : ModuleBoxes(beamCode, beamCount, layout.perRow)) {
        const QRect rect(layout.left + pitch * box.column,
                         layout.top + layout.rowPitch * box.row - (textHeight + 4),
                         pitch * box.beams - LinesLayout::Gap, textHeight + 2);
        const bool odd = box.number % 2 == 1;
        painter.fillRect(rect, odd ? Qt::white : Qt::black);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.setPen(odd ? Qt::black : Qt::white);
        painter.drawText(rect.adjusted(0, 1, 0, 1), Qt::AlignHCenter | Qt::AlignTop,
                         moduleWord + QString::number(box.number));
    }
}

void LinesView::DrawSwatch(QPainter& painter, int x, int y, int paletteEntry, bool sunken,
                           TextId text) const {
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect swatch(x, y, metrics.horizontalAdvance(QStringLiteral("0000")), metrics.height());
    DrawFrame(painter, swatch, sunken);
    painter.fillRect(swatch.adjusted(1, 1, -1, -1), resources_.Beam(paletteEntry));
    TextOut(painter, swatch.x() + swatch.width() + 8, y, resources_.Text(text));
}

void LinesView::DrawLegend(QPainter& painter, const GridKey& key) {
    resources_.UseFont(painter, LabelFont);
    const int x0 = layout_.left;
    const int q = layout_.legendColumn;
    if (key.page == LinesPage::Selection) {
        // Raised: how active beams look; sunken and dark: how blanked-out beams look.
        DrawSwatch(painter, x0 + q, layout_.LegendRowTop(1), beam_colour::Interrupted, false, 1021);
        DrawSwatch(painter, x0 + q, layout_.LegendRowTop(2), beam_colour::Free, false, 1022);
        DrawSwatch(painter, x0 + 2 * q, layout_.LegendRowTop(1),
                   beam_colour::DarkOffset + beam_colour::Interrupted, true, 1021);
        DrawSwatch(painter, x0 + 2 * q, layout_.LegendRowTop(2),
                   beam_colour::DarkOffset + beam_colour::Free, true, 1022);
        return;
    }
    struct Entry {
        TextId text;
        int entry;
    };
    const std::vector<Entry> entries =
        key.controller == ControllerType::Emitter
            ? std::vector<Entry>{{1121, beam_colour::EmitterActive},
                                 {1122, beam_colour::CurrentNotReached},
                                 {1123, beam_colour::CurrentExceeded}}
            : std::vector<Entry>{{1021, beam_colour::Interrupted},
                                 {1022, beam_colour::Free},
                                 {1023, beam_colour::BlankedOut},
                                 {1024, beam_colour::WeakSignal}};
    for (int k = 0; k < static_cast<int>(entries.size()); ++k) {
        const Entry& entry = entries[static_cast<std::size_t>(k)];
        DrawSwatch(painter, x0 + 2 * (k % 2) * q, layout_.LegendRowTop(k / 2), entry.entry, false,
                   entry.text);
    }
}

} // namespace lcdiag
