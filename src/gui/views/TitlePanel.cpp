#include "gui/views/TitlePanel.h"

#include "gui/views/PictureOps.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace lcdiag {

namespace {

constexpr int X0 = 30;
constexpr int TitleTop = 15;
constexpr int InfoLines = 9;

// Texts taken from the records are in the PC's 8-bit character set, where every byte is a
// character.
QString FromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// One row of the legend: a state's text and the tile column of its miniature beam.
struct LegendRow {
    TextId text;
    int column;
    bool active;
};

std::vector<LegendRow> LegendRows(ControllerType unit, bool manufacturerFunctions) {
    if (unit == ControllerType::Receiver) {
        return {{1021, bar_tile::Interrupted, true},
                {1022, bar_tile::Free, true},
                {1023, bar_tile::BlankedOut, true},
                {1024, bar_tile::WeakSignal, true},
                {1025, bar_tile::BlankedOut, false}};
    }
    if (manufacturerFunctions) {
        return {{1121, bar_tile::EmitterActive, true},
                {1122, bar_tile::CurrentNotReached, true},
                {1123, bar_tile::CurrentExceeded, true},
                {1124, bar_tile::EmitterInactive, false}};
    }
    return {{1126, bar_tile::EmitterActive, true}, {1127, bar_tile::CurrentExceeded, true}};
}

} // namespace

TitlePanel::TitlePanel(const ViewResources& resources, const BarView& bar)
    : resources_(resources), bar_(bar) {}

int TitlePanel::Half() const {
    return bar_.Geometry().viewWidth / 2;
}

void TitlePanel::CopyTitle(const QImage& barPicture, QImage& statusPicture) const {
    QPainter painter(&statusPicture);
    DrawImagePart(painter, {Half() + 1, 0}, barPicture, {0, 0, Half() - 1, titleEnd_});
}

void TitlePanel::Draw(QImage& barPicture, ControllerType connected) {
    connected_ = connected;
    const QColor face = resources_.Colours().face;
    {
        // The left side, up to the picture's divider.
        QPainter painter(&barPicture);
        painter.fillRect(0, 0, Half() - 1, LogicalRect(barPicture).height(), face);
    }
    titleEnd_ = DrawTitle(barPicture, TitleTop) + 10;
    int rowsTop = 0;
    {
        QPainter painter(&barPicture);
        EtchedRule(painter, titleEnd_);
        int y = DrawInfoLabels(painter, titleEnd_ + 12);
        EtchedRule(painter, y);
        rowsTop = DrawLegend(painter, y + 12);
    }
    DrawLegendRows(barPicture, rowsTop);
}

int TitlePanel::DrawTitle(QImage& picture, int y) const {
    const QString line1 = resources_.Text(static_cast<TextId>(resources_.Build().brand * 10 + 23));
    const QString line2 = resources_.Text(10);
    const QFontMetrics metrics(resources_.Font(0));
    if (line1 == QStringLiteral("[logo]")) {
        const QRect logo = LogicalRect(resources_.Logo());
        QPainter painter(&picture);
        painter.drawImage((Half() - logo.width()) / 2, y, resources_.Logo());
        y += logo.height();
        resources_.UseFont(painter, 0);
        TextOut(painter, (Half() - metrics.horizontalAdvance(line2)) / 2, y, line2);
        return y + metrics.height();
    }
    DrawShadow(picture, {line1, line2}, y);
    QPainter painter(&picture);
    resources_.UseFont(painter, 0);
    for (const QString& line : {line1, line2}) {
        TextOut(painter, X0, y, line);
        y += metrics.height();
    }
    return y;
}

void TitlePanel::DrawShadow(QImage& picture, const QStringList& lines, int y) const {
    // The lines in 50 % grey on white, blurred, become the mask that darkens the picture
    // toward navy; outside the text the white mask leaves the picture as it is.
    const QFontMetrics metrics(resources_.Font(0));
    const int height = std::min(LogicalRect(picture).height(),
                                y + 3 + static_cast<int>(lines.size()) * metrics.height() + 2);
    QImage scratch = FilledImage(Half() - 1, height, Qt::white, resources_.Ratio());
    {
        QPainter painter(&scratch);
        painter.setFont(resources_.Font(0));
        painter.setPen(QColor(127, 127, 127));
        int lineTop = y + 3;
        for (const QString& line : lines) {
            TextOut(painter, X0 + 3, lineTop, line);
            lineTop += metrics.height();
        }
    }
    QImage mask = scratch;
    Blur(mask, scratch);
    Blend(picture, FilledImage(mask.width(), mask.height(), ToQColor(view_colour::TitleShadow)),
          mask);
}

void TitlePanel::EtchedRule(QPainter& painter, int y) const {
    HLine(painter, X0, Half() - X0, y, resources_.Colours().shadow);
    HLine(painter, X0, Half() - X0, y + 1, resources_.Colours().highlight);
}

int TitlePanel::DrawInfoLabels(QPainter& painter, int y) {
    resources_.UseFont(painter, 1);
    const QString heading = resources_.Text(1010);
    TextOut(painter, (Half() - painter.fontMetrics().horizontalAdvance(heading)) / 2, y, heading);
    y += painter.fontMetrics().height() + 10;

    resources_.UseFont(painter, 2);
    const QFontMetrics metrics = painter.fontMetrics();
    panelTop_ = y;
    lineHeight_ = metrics.height();
    std::vector<std::pair<int, TextId>> labels{{0, 1011}, {2, 1012}, {3, 1013},
                                               {4, 1014}, {5, 1015}, {6, 1016}};
    if (resources_.TextExists(1017)) {
        labels.emplace_back(7, 1017);
    }
    if (connected_ == ControllerType::Receiver) {
        labels.emplace_back(8, 1018);
    }
    int widest = 0;
    for (const auto& [line, id] : labels) {
        const QString label = resources_.Text(id);
        widest = std::max(widest, metrics.horizontalAdvance(label));
        TextOut(painter, X0, panelTop_ + line * lineHeight_, label + QStringLiteral(": "));
    }
    valueLeft_ = X0 + widest + metrics.horizontalAdvance(QStringLiteral(": "));
    const bool logo = resources_.Text(static_cast<TextId>(resources_.Build().brand * 10 + 23)) ==
                      QStringLiteral("[logo]");
    return panelTop_ + InfoLines * lineHeight_ + (logo ? 10 : 20);
}

void TitlePanel::OutputInfo(QImage& barPicture, const InfoTexts& info) const {
    QPainter painter(&barPicture);
    painter.fillRect(valueLeft_, panelTop_, Half() - 1 - valueLeft_, InfoLines * lineHeight_,
                     resources_.Colours().face);
    resources_.UseFont(painter, 2);
    const QString mm = QStringLiteral(" mm");
    std::vector<std::pair<int, QString>> values{{0, FromBytes(info.type)},
                                                {2, FromBytes(info.resolution) + mm},
                                                {3, FromBytes(info.protectionField) + mm},
                                                {4, FromBytes(info.firmware)},
                                                {5, FromBytes(info.serialNumber)},
                                                {6, FromBytes(info.configurationDate)},
                                                {7, FromBytes(info.configurationTime)}};
    if (connected_ == ControllerType::Receiver) {
        values.emplace_back(8, FromBytes(info.operatingHours) + QStringLiteral(" ") +
                                   resources_.Text(1019));
    }
    for (const auto& [line, value] : values) {
        TextOut(painter, valueLeft_, panelTop_ + line * lineHeight_, value);
    }
}

int TitlePanel::DrawLegend(QPainter& painter, int y) const {
    resources_.UseFont(painter, 1);
    const QString heading = resources_.Text(1020);
    TextOut(painter, (Half() - painter.fontMetrics().horizontalAdvance(heading)) / 2, y, heading);
    y += painter.fontMetrics().height() + 10;

    const bool receiver = connected_ == ControllerType::Receiver;
    const QImage& leds = resources_.SmallLedFrame(receiver ? 1 : 3, false);
    const int imageLeft = (Half() - LogicalRect(leds).width()) / 2;
    painter.drawImage(imageLeft, y, leds);
    DrawLedNames(painter, imageLeft, y);
    y += LogicalRect(leds).height() + 20;

    // The two housings the miniature beams run between.
    const int tW = resources_.TileWidth();
    const int rows =
        static_cast<int>(LegendRows(connected_, resources_.Build().manufacturerFunctions).size());
    for (int left : {X0, X0 + 3 * tW}) {
        const QRect box(left, y, tW + 20, 20 + rows * resources_.TileHeight());
        painter.fillRect(box, ToQColor(view_colour::HousingYellow));
        HLine(painter, box.left(), box.right() + 1, box.top(), Qt::white);
        VLine(painter, box.left(), box.top(), box.bottom() + 1, Qt::white);
        VLine(painter, box.right(), box.top(), box.bottom() + 1, Qt::black);
        HLine(painter, box.left(), box.right() + 1, box.bottom(), Qt::black);
    }
    return y + 10;
}

void TitlePanel::DrawLedNames(QPainter& painter, int imageLeft, int imageTop) const {
    resources_.UseFont(painter, 3);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect image = LogicalRect(resources_.SmallLedFrame(0, false));
    const int imageWidth = image.width();
    const int third = image.height() / 3;
    const auto name = [&](TextId id, int row, bool left) {
        const QString text = resources_.Text(id);
        const int top = imageTop + row * third + (third - metrics.height()) / 2;
        const int x =
            left ? imageLeft - 8 - metrics.horizontalAdvance(text) : imageLeft + imageWidth + 8;
        TextOut(painter, x, top, text);
    };
    if (connected_ == ControllerType::Receiver) {
        name(4036, 0, true);
        name(4035, 1, true);
        name(4034, 2, true);
        name(4033, 0, false);
        name(4032, 1, false);
        name(4031, 2, false);
    } else {
        name(4132, 2, true);
        name(4131, 2, false);
    }
}

void TitlePanel::DrawLegendRows(QImage& picture, int top) const {
    const int tW = resources_.TileWidth();
    const int tH = resources_.TileHeight();
    const int left = X0 + 10;
    const std::vector<LegendRow> rows =
        LegendRows(connected_, resources_.Build().manufacturerFunctions);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LegendRow& row = rows[i];
        const int y = top + static_cast<int>(i) * tH;
        QImage line = CopyArea(picture, {left + tW, y, 2 * tW, tH});
        if (row.active) {
            bar_.BlendBeamLine(line, row.column);
        }
        QPainter painter(&picture);
        painter.drawImage(left, y, bar_.EndTile(row.column, row.active ? 1 : 0));
        painter.drawImage(left + tW, y, line);
        painter.drawImage(left + 3 * tW, y, bar_.EndTile(row.column, row.active ? 2 : 0));
        resources_.UseFont(painter, 2);
        const int textTop = y + (tH - painter.fontMetrics().height()) / 2;
        TextOut(painter, left + 5 * tW, textTop, resources_.Text(row.text));
    }
}

} // namespace lcdiag
