#include "gui/safety/TFRM_Warnings.h"

#include "core/app/Texts.h"
#include "gui/safety/DocImage.h"
#include "gui/safety/UiText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace lcdiag {

namespace {

constexpr TextId OkCaption = 402;
constexpr TextId CancelCaption = 403;
constexpr int AdviceMode = 4;
constexpr int Gap = 4;
constexpr int CheckBoxLeft = 200;
constexpr int DocumentInset = 4;
constexpr int DocumentMargin = 10;
constexpr int FirstDocumentHeight = 2000;
constexpr int TimerInterval = 50;
const QString DocumentFace = QStringLiteral("Arial Unicode MS");

// One side of the window: the whole work area on a small screen, else the larger of two
// fixed sizes that the screen holds, centred in the work area.
std::pair<int, int> WindowSpan(int screen, int workStart, int workSize, int small, int large) {
    if (screen <= small) {
        return {workStart, workSize};
    }
    const int size = screen <= large ? small : large;
    return {workStart + (workSize - size) / 2, size};
}

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

std::string WithCompleteHeading(const NoteParagraph& table) {
    const std::string& text = table.text;
    const auto cells = std::count(text.begin(), text.end(), '|') + 1;
    const auto missing = static_cast<long long>(table.columns) * table.rows - cells;
    if (missing <= 0 || missing >= table.columns) {
        return text;
    }
    const std::string empties(static_cast<std::size_t>(missing), '|');
    std::size_t rowEnd = 0;
    for (long long cell = 0; cell < table.columns - missing; ++cell) {
        const std::size_t bar = text.find('|', rowEnd);
        if (bar == std::string::npos) {
            return text + empties; // a table of one row
        }
        rowEnd = bar + 1;
    }
    return text.substr(0, rowEnd) + empties + text.substr(rowEnd);
}

TFRM_Warnings::TFRM_Warnings(const Texts& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      texts_(texts) {
    setObjectName(QStringLiteral("FRM_Warnings"));
    setModal(true);
    QFont face = font();
    face.setFamilies({DocumentFace, QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    setFont(face);
    ScrollBox1 = Named(new QScrollArea(this), "ScrollBox1");
    scrollContent_ = new QWidget;
    ScrollBox1->setWidget(scrollContent_);
    ScrollBox1->setWidgetResizable(false);
    doc_ = Named(new TDocImage(scrollContent_), "DocImage1");
    CheckBox1 = Named(new QCheckBox(this), "CheckBox1");
    Button1 = Named(new QPushButton(this), "Button1");
    Button2 = Named(new QPushButton(this), "Button2");
    Label1 = Named(new QLabel(this), "Label1");
    Label1->hide();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TimerInterval);
    noteFontSize_ = Button1->font().pointSize();
    connect(Timer1, &QTimer::timeout, this, &TFRM_Warnings::Timer1Timer);
    connect(CheckBox1, &QCheckBox::clicked, this, &TFRM_Warnings::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TFRM_Warnings::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { done(NotConfirmed); });
}

void TFRM_Warnings::SetNoteArg(int index, const std::string& text) {
    if (index >= 0 && index < static_cast<int>(args_.size())) {
        args_[static_cast<std::size_t>(index)] = text;
    }
}

bool TFRM_Warnings::IsAdvice() const {
    return NoteMode == AdviceMode;
}

void TFRM_Warnings::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        InitControls();
        Timer1->start();
    }
    QDialog::showEvent(event);
}

void TFRM_Warnings::InitControls() {
    const SafetyNote note = AssembleSafetyNote(texts_, NoteMode, args_);
    for (QWidget* control : std::initializer_list<QWidget*>{Button1, Button2, CheckBox1, Label1}) {
        SetPointSize(*control, noteFontSize_);
    }
    Label1->setText(UiText(texts_, CancelCaption));
    Button1->setText(UiText(texts_, OkCaption));
    Button2->setText(UiText(texts_, CancelCaption));
    Button1->setEnabled(IsAdvice());
    Button1->setDefault(true);
    Button2->setVisible(!IsAdvice());
    CheckBox1->setText(UiText(note.checkBoxText));
    QPalette red = CheckBox1->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        red.setColor(group, QPalette::WindowText, QColor(255, 0, 0));
        red.setColor(group, QPalette::ButtonText, QColor(255, 0, 0));
    }
    CheckBox1->setPalette(red);
    CheckBox1->setChecked(IsAdvice());
    CheckBox1->setEnabled(false);
    CheckBox1->setVisible(!IsAdvice());
    setWindowTitle(UiText(note.title).trimmed());
    PlaceWindow();
    LayoutControls();
    FillDocument(note);
    ScrollBox1->verticalScrollBar()->setValue(0);
}

// From the work area: a screen of up to 800 x 600 gives the whole work area, a larger one
// 800 x 600 or (from 1025 x 769) 1024 x 768, centred.
void TFRM_Warnings::PlaceWindow() {
    const QScreen* shown = screen();
    if (shown == nullptr) {
        return;
    }
    const QRect screenRect = shown->geometry();
    const QRect work = shown->availableGeometry();
    const auto [x, width] = WindowSpan(screenRect.width(), work.x(), work.width(), 800, 1024);
    const auto [y, height] = WindowSpan(screenRect.height(), work.y(), work.height(), 600, 768);
    setFixedSize(width, height);
    move(x, y);
}

// Buttons at the bottom right, the check box on their line at the left, the scroll box
// filling the rest; the document as wide as the scroll box leaves beside a scroll bar.
void TFRM_Warnings::LayoutControls() {
    const QFontMetrics metrics(Label1->font());
    const int buttonHeight = metrics.height() + 8;
    const int buttonWidth = metrics.horizontalAdvance(UiText(texts_, CancelCaption)) + 16;
    const int buttonTop = height() - Gap - buttonHeight;
    Button2->setGeometry(width() - Gap - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    Button1->setGeometry(IsAdvice() ? Button2->geometry()
                                    : Button2->geometry().translated(-Gap - buttonWidth, 0));
    const int boxWidth =
        QFontMetrics(CheckBox1->font()).horizontalAdvance(CheckBox1->text()) + buttonHeight + 8;
    CheckBox1->setGeometry(CheckBoxLeft, buttonTop, boxWidth, buttonHeight);
    ScrollBox1->setGeometry(Gap, Gap, width() - 2 * Gap, buttonTop - 2 * Gap);
}

// The note's paragraphs, an empty line between two; tables centred, text aligned left.
void TFRM_Warnings::FillDocument(const SafetyNote& note) {
    const int client = ScrollBox1->width() - 2 * ScrollBox1->frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1);
    doc_->setGeometry(DocumentInset, DocumentInset,
                      std::max(1, client - scrollBar - DocumentInset - 1), FirstDocumentHeight);
    doc_->BackColor = palette().color(QPalette::Button);
    doc_->SetMargins(DocumentMargin, DocumentMargin, DocumentMargin, DocumentMargin);
    doc_->Font() = TDocFont{DocumentFace, noteTextSize_, false, false, false, Qt::black};
    doc_->Clear();
    bool first = true;
    for (const NoteParagraph& paragraph : note.paragraphs) {
        if (!std::exchange(first, false)) {
            doc_->AddText({});
        }
        if (paragraph.table) {
            doc_->Alignment = MarkupAlignment::Centred;
            doc_->AddTable(paragraph.columns, paragraph.rows, WithCompleteHeading(paragraph));
        } else {
            doc_->Alignment = MarkupAlignment::Left;
            doc_->AddText(paragraph.text);
        }
    }
    scrollContent_->resize(doc_->x() + doc_->width(), doc_->y() + doc_->height());
}

void TFRM_Warnings::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutControls();
}

void TFRM_Warnings::Timer1Timer() {
    const QScrollBar* bar = ScrollBox1->verticalScrollBar();
    if (bar->value() >= bar->maximum()) {
        CheckBox1->setEnabled(true);
        Timer1->stop();
    }
}

void TFRM_Warnings::CheckBox1Click() {
    Button1->setEnabled(CheckBox1->isChecked());
}

void TFRM_Warnings::Button1Click() {
    done(CheckBox1->isChecked() ? Confirmed : NotConfirmed);
}

void TFRM_Warnings::reject() {
    done(NotConfirmed);
}

} // namespace lcdiag
