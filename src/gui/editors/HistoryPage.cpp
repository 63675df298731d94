#include "gui/editors/HistoryPage.h"

#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "core/device/DeviceType.h"
#include "core/protocol/ConnectionController.h"
#include "core/views/BeamPalette.h"
#include "core/views/LinesLayout.h"
#include "gui/safety/UiText.h"
#include "gui/views/LinesView.h"
#include "gui/views/PictureOps.h"
#include "gui/views/ViewResources.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>

namespace lcdiag {
namespace {

constexpr int PageFont = 10; // the list, the grid and their texts
constexpr int LabelFont = 6; // beam labels and legend of the picture
constexpr int ModuleFont = 7;
constexpr TextId ColumnTexts[] = {2100, 2101, 2102, 2103};
constexpr TextId BackText = 2104;
constexpr TextId BlankingText = 2108;
constexpr TextId MutingText = 2109;
constexpr TextId WidestLabel = 3141; // "Muting multiple interruption of protective field"
constexpr TextId ModuleText = 1050;
constexpr TextId BeamActiveText = 1026;
constexpr TextId BeamBlankedText = 1027;
constexpr int GridRowsShown = 12;
const QColor EvenRow(223, 223, 223);

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The grid's cells: white and grey rows, headings bold, sub-rows (a leading blank) regular and
// indented, values right-aligned; the text trimmed, 2 pixels below the cell top.
class GridCells final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect cell = option.rect;
        painter->fillRect(cell, index.row() % 2 == 1 ? QColor(Qt::white) : EvenRow);
        const QString text = index.data().toString();
        if (text.isEmpty()) {
            return;
        }
        QFont font = option.font;
        const bool heading = index.column() == 0 && !text.startsWith(QLatin1Char(' '));
        font.setBold(heading);
        painter->save();
        painter->setFont(font);
        painter->setPen(Qt::black);
        const QRect area = cell.adjusted(index.column() == 0 ? (heading ? 2 : 22) : 0, 2, -2, 0);
        const Qt::Alignment align =
            (index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop;
        painter->drawText(area, static_cast<int>(align), text.trimmed());
        painter->restore();
    }
};

QColor Shifted(QColor colour, int by) {
    const auto channel = [by](int value) { return std::clamp(value + by, 0, 255); };
    return {channel(colour.red()), channel(colour.green()), channel(colour.blue())};
}

// The lines picture of a stored mask: the grid of the receiver's beams as the lines view
// lays it out for the picture's height, every cell framed in the darker and lighter face,
// active beams green, blanked-out ones grey; no beams selected leaves the cells empty.
class MaskPicture {
public:
    MaskPicture(int profile, QImage& image)
        : image_(image), labels_(MakeViewFont(ViewFont(profile, LabelFont))),
          modules_(MakeViewFont(ViewFont(profile, ModuleFont))),
          face_(ViewColours::FromPalette(QApplication::palette()).face),
          palette_(MakeBeamPalette(true)) {}

    void Draw(const Texts& texts, int beamCode, int beamCount, DimensioningMode dimensioning,
              const BeamMask* mask) {
        const QFontMetrics labels(labels_);
        const LinesMetrics metrics{QFontMetrics(modules_).height(), labels.height(),
                                   labels.horizontalAdvance(QStringLiteral("0000 mm")), 0};
        layout_ =
            MakeLinesLayout(image_.width(), image_.height(), beamCode, LinesPage::Lines, metrics);
        QPainter painter(&image_);
        painter.fillRect(image_.rect(), face_);
        painter.setPen(Qt::black);
        painter.setFont(labels_);
        for (int beam = 1; beam <= LabelledBeams(beamCode, beamCount); ++beam) {
            const QString label = QString::fromStdString(BeamLabel(beam, beamCode, dimensioning));
            const Rect cell = layout_.Cell(beam);
            RotatedTextOut(painter, cell.left + (cell.width - labels.height()) / 2,
                           cell.top + cell.height + 5 + labels.horizontalAdvance(label), 900,
                           label);
        }
        for (int beam = 1; beam <= layout_.maxBeams; ++beam) {
            const Rect cell = layout_.Cell(beam);
            const QRect rect(cell.left, cell.top, cell.width, cell.height);
            Frame(painter, rect);
            if (mask != nullptr && beam <= beamCount) {
                painter.fillRect(rect.adjusted(1, 1, -1, -1), Colour(mask->Test(beam - 1)));
            }
        }
        DrawModules(painter, texts, beamCode, beamCount);
        DrawLegend(painter, texts);
    }

private:
    QColor Colour(bool active) const {
        return ToQColor(palette_[active ? beam_colour::Green : beam_colour::Grey]);
    }

    void Frame(QPainter& painter, const QRect& cell) const {
        painter.fillRect(cell, Shifted(face_, -20));
        painter.fillRect(cell.adjusted(0, 0, -1, -1), Shifted(face_, 20));
        painter.fillRect(cell.adjusted(1, 1, -1, -1), face_);
    }

    void DrawModules(QPainter& painter, const Texts& texts, int beamCode, int beamCount) const {
        painter.setFont(modules_);
        DrawModuleBoxes(painter, layout_, UiText(texts, ModuleText) + QStringLiteral(" "), beamCode,
                        beamCount);
    }

    void DrawLegend(QPainter& painter, const Texts& texts) const {
        painter.setFont(labels_);
        painter.setPen(Qt::black);
        const QFontMetrics metrics(labels_);
        const int y = layout_.LegendRowTop(0);
        const std::pair<TextId, bool> entries[] = {{BeamActiveText, true},
                                                   {BeamBlankedText, false}};
        for (int k = 0; k < 2; ++k) {
            const int x = layout_.left + 2 * k * layout_.legendColumn;
            const QRect swatch(x, y, metrics.horizontalAdvance(QStringLiteral("0000")),
                               metrics.height());
            Frame(painter, swatch);
            painter.fillRect(swatch.adjusted(1, 1, -1, -1), Colour(entries[k].second));
            TextOut(painter, swatch.right() + 1 + 8, y, UiText(texts, entries[k].first));
        }
    }

    QImage& image_;
    QFont labels_;
    QFont modules_;
    QColor face_;
    BeamPalette palette_;
    LinesLayout layout_;
};

} // namespace

THistoryPage::THistoryPage(QFrame& panel, TPageHost& host, int screenProfile)
    : panel_(panel), host_(host), profile_(screenProfile), model_(host.Language()) {
    SetPointSize(panel_, ViewFont(screenProfile, PageFont).pointSize);
    BuildList();
    BuildGrid();
    Img_H_2 = Named(new QLabel(&panel_), "Img_H_2");
    Img_H_2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BuildButtons();
    panel_.hide();
}

void THistoryPage::BuildList() {
    LstVw_H_1 = Named(new QTreeWidget(&panel_), "LstVw_H_1");
    LstVw_H_1->setRootIsDecorated(false);
    LstVw_H_1->setSelectionMode(QAbstractItemView::SingleSelection);
    LstVw_H_1->setSelectionBehavior(QAbstractItemView::SelectRows);
    LstVw_H_1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LstVw_H_1->setSortingEnabled(false); // the model sorts; the list shows its order
    LstVw_H_1->setColumnCount(HistoryEntry::Columns);
    QStringList headers;
    for (TextId id : ColumnTexts) {
        headers << UiText(host_.Language(), id);
    }
    LstVw_H_1->setHeaderLabels(headers);
    LstVw_H_1->header()->setSectionsClickable(true);
    LstVw_H_1->header()->setStretchLastSection(false);
    QObject::connect(LstVw_H_1->header(), &QHeaderView::sectionClicked, &panel_, [this](int c) {
        model_.ClickColumn(c);
        FillList();
    });
    QObject::connect(LstVw_H_1, &QTreeWidget::itemSelectionChanged, &panel_, [this] {
        if (!ready_) {
            return;
        }
        const QList<QTreeWidgetItem*> selected = LstVw_H_1->selectedItems();
        model_.Select(selected.isEmpty() ? -1 : LstVw_H_1->indexOfTopLevelItem(selected.front()));
        ShowEntry();
    });
}

void THistoryPage::BuildGrid() {
    StrngGrd_H_1 = Named(new QTableWidget(HistoryGridRows, 2, &panel_), "StrngGrd_H_1");
    StrngGrd_H_1->horizontalHeader()->hide();
    StrngGrd_H_1->verticalHeader()->hide();
    StrngGrd_H_1->setShowGrid(false);
    StrngGrd_H_1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StrngGrd_H_1->setSelectionMode(QAbstractItemView::NoSelection);
    StrngGrd_H_1->setFocusPolicy(Qt::NoFocus);
    StrngGrd_H_1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StrngGrd_H_1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrngGrd_H_1->setItemDelegate(new GridCells(StrngGrd_H_1));
    for (int row = 0; row < HistoryGridRows; ++row) {
        for (int column = 0; column < 2; ++column) {
            StrngGrd_H_1->setItem(row, column, new QTableWidgetItem);
        }
    }
}

void THistoryPage::BuildButtons() {
    const Texts& texts = host_.Language();
    Btn_H_1 = Named(new QPushButton(UiText(texts, BackText), &panel_), "Btn_H_1");
    RdBtn_HF_1 = Named(new QRadioButton(UiText(texts, BlankingText), &panel_), "RdBtn_HF_1");
    RdBtn_HF_2 = Named(new QRadioButton(UiText(texts, MutingText), &panel_), "RdBtn_HF_2");
    QObject::connect(Btn_H_1, &QPushButton::clicked, &panel_,
                     [this] { host_.SetViewMode(ViewMode::FactorySettings); });
    const auto choose = [this](HistoryMask mask) {
        model_.SetMask(mask);
        ShowEntry();
    };
    QObject::connect(RdBtn_HF_1, &QRadioButton::clicked, &panel_,
                     [choose] { choose(HistoryMask::Blanking); });
    QObject::connect(RdBtn_HF_2, &QRadioButton::clicked, &panel_,
                     [choose] { choose(HistoryMask::Muting); });
}

// The list at the top left, a third of the panel wide and as high as 12 grid rows; the grid
// beside it up to the right edge; the picture below both; the buttons in the bottom right
// corner over the picture.
void THistoryPage::Arrange() {
    const int width = panel_.width();
    const int height = panel_.height();
    const QFontMetrics metrics(panel_.font());
    const int rowHeight = metrics.height() + 4;
    const int listWidth = (width - 4) / 3;
    const int gridHeight = GridRowsShown * rowHeight + 2 * StrngGrd_H_1->frameWidth();
    LstVw_H_1->setGeometry(0, 0, listWidth, gridHeight);
    StrngGrd_H_1->setGeometry(listWidth + 4, 0, width - listWidth - 4, gridHeight);
    StrngGrd_H_1->verticalHeader()->setMinimumSectionSize(1);
    StrngGrd_H_1->verticalHeader()->setDefaultSectionSize(rowHeight);
    const int label = metrics.horizontalAdvance(UiText(host_.Language(), WidestLabel)) + 40;
    // The client widths from the frames: a hidden panel's views have not laid out yet.
    const int gridClient = StrngGrd_H_1->width() - 2 * StrngGrd_H_1->frameWidth() -
                           StrngGrd_H_1->verticalScrollBar()->sizeHint().width();
    StrngGrd_H_1->setColumnWidth(0, label);
    StrngGrd_H_1->setColumnWidth(1, std::max(0, gridClient - label));

    QHeaderView& header = *LstVw_H_1->header();
    const auto textWidth = [&](int column) {
        return header.fontMetrics().horizontalAdvance(LstVw_H_1->headerItem()->text(column)) + 12;
    };
    const int first = textWidth(0);
    const int last = textWidth(3);
    const int listClient = LstVw_H_1->width() - 2 * LstVw_H_1->frameWidth();
    const int rest = std::max(0, listClient - first - last);
    LstVw_H_1->setColumnWidth(0, first);
    LstVw_H_1->setColumnWidth(1, rest * 2 / 3);
    LstVw_H_1->setColumnWidth(2, rest - rest * 2 / 3);
    LstVw_H_1->setColumnWidth(3, last);

    const int pictureTop = gridHeight + 4;
    Img_H_2->setGeometry(0, pictureTop, width, std::max(1, height - pictureTop));
    Btn_H_1->resize(Btn_H_1->sizeHint());
    Btn_H_1->move(width - Btn_H_1->width(), height - Btn_H_1->height());
    const int centre = Btn_H_1->y() + Btn_H_1->height() / 2;
    int right = Btn_H_1->x();
    for (QRadioButton* radio : {RdBtn_HF_2, RdBtn_HF_1}) {
        radio->resize(radio->sizeHint());
        right -= 8 + radio->width();
        radio->move(right, centre - radio->height() / 2);
    }
}

bool THistoryPage::Enter(ViewMode /*previous*/) {
    ready_ = false;
    if (!model_.Init(host_.Link())) {
        return false;
    }
    dimensioning_ = host_.CurrentViewData().dimensioning;
    panel_.show();
    Arrange();
    const HistoryGridColumn& labels = model_.Labels();
    for (int row = 0; row < HistoryGridRows; ++row) {
        StrngGrd_H_1->item(row, 0)->setText(QString::fromStdString(labels[row]));
    }
    RdBtn_HF_1->setChecked(true);
    RdBtn_HF_2->setEnabled(model_.MutingSelectable());
    FillList();
    return true;
}

void THistoryPage::Leave() {
    ready_ = false;
    model_.Clear();
    LstVw_H_1->clear();
    panel_.hide();
}

void THistoryPage::Sync(PageRedraw redraw) {
    if (redraw == PageRedraw::None) {
        return;
    }
    const DimensioningMode dimensioning = host_.CurrentViewData().dimensioning;
    if (dimensioning != dimensioning_) {
        dimensioning_ = dimensioning;
        DrawPicture();
    }
}

// The entries in the model's order, the model's selection kept.
void THistoryPage::FillList() {
    ready_ = false;
    LstVw_H_1->clear();
    for (const HistoryEntry& entry : model_.Entries()) {
        QStringList columns;
        for (const std::string& column : entry.columns) {
            columns << QString::fromStdString(column);
        }
        LstVw_H_1->addTopLevelItem(new QTreeWidgetItem(columns));
    }
    if (QTreeWidgetItem* item = LstVw_H_1->topLevelItem(model_.SelectedIndex())) {
        item->setSelected(true);
        LstVw_H_1->setCurrentItem(item);
    }
    ready_ = true;
    ShowEntry();
}

void THistoryPage::ShowEntry() {
    RdBtn_HF_1->setChecked(model_.Mask() == HistoryMask::Blanking);
    RdBtn_HF_2->setChecked(model_.Mask() == HistoryMask::Muting);
    const HistoryGridColumn& values = model_.Values();
    for (int row = 0; row < HistoryGridRows; ++row) {
        StrngGrd_H_1->item(row, 1)->setText(QString::fromStdString(values[row]));
    }
    DrawPicture();
}

// For the receiver's beams as its factory record gives them.
void THistoryPage::DrawPicture() {
    const ConnectionController& link = host_.Link();
    const ReceiverFactoryRecord& factory = link.ReceiverFactory();
    const bool known = link.ReceiverFactoryValid();
    const int code = known ? factory.Byte(ReceiverFactoryField::DeviceType) : 0;
    const int count = known ? std::min<int>(factory.Byte(ReceiverFactoryField::BeamCount),
                                            device_type::MaxBeams(code))
                            : 0;
    QImage image(Img_H_2->size(), QImage::Format_RGB32);
    MaskPicture picture(profile_, image);
    const BeamMask mask = model_.SelectedMask();
    picture.Draw(host_.Language(), code, count, dimensioning_,
                 model_.Selected() != nullptr ? &mask : nullptr);
    Img_H_2->setPixmap(QPixmap::fromImage(image));
}

} // namespace lcdiag
