#include "gui/safety/CalcSafetyDistance.h"

#include "core/app/Messages.h"
#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "gui/safety/InstallationSketch.h"
#include "gui/safety/UiText.h"
#include "gui/views/ViewResources.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lcdiag {

namespace {

constexpr TextId Heading = 7000;
constexpr TextId Description = 7010;
constexpr TextId CategoryLabel = 7011;
constexpr TextId FirstInputLabel = 7012;  // 7012-7015
constexpr TextId FirstOutputLabel = 7016; // 7016-7018
constexpr TextId SPrefix = 7019;
constexpr TextId S1Prefix = 7020;
constexpr TextId CategoryCD = 7021;
constexpr TextId CategoryE = 7022;
constexpr TextId PointersCaption = 7030;
constexpr TextId ExitCaption = 7031;
constexpr TextId Note = 7032;
constexpr TextId PointersMessage = 174;
constexpr TextId ResolutionCaption = 1012; // as the information panel names the device's
constexpr int ViewFontOfPages = 10;
constexpr int HeadingFont = 0;
constexpr int DeviceWatchInterval = 1000;
constexpr std::array<const char*, 4> DefaultInputs = {"14", "300", "0", "0"};

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TCalcSafetyDistance::TCalcSafetyDistance(const Texts& texts, int screenProfile, QSize viewSize,
                                         QWidget* parent)
    : QWidget(parent), texts_(texts),
      fontSize_(ViewFont(screenProfile, ViewFontOfPages).pointSize) {
    setObjectName(QStringLiteral("Pnl_CalcSecurityDistanceMain"));
    SetPointSize(*this, fontSize_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* heading = Named(new QLabel(UiText(texts_, Heading), this), "Lbl_CSD_0");
    const ViewFontStyle headingStyle = ViewFont(screenProfile, HeadingFont);
    heading->setFont(MakeViewFont(headingStyle));
    QPalette blue = heading->palette();
    blue.setColor(QPalette::WindowText, QColor(43, 58, 127));
    heading->setPalette(blue);
    heading->setAlignment(Qt::AlignHCenter);
    layout->addWidget(heading);
    auto* description = Named(new QLabel(UiText(texts_, Description), this), "Lbl_CSD_1");
    description->setWordWrap(true);
    layout->addWidget(description);

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildInputs(), 1, Qt::AlignTop);
    middle->addWidget(BuildSketch(screenProfile, viewSize), 0, Qt::AlignTop);
    layout->addLayout(middle);

    auto* note = Named(new QLabel(UiText(texts_, Note), this), "Lbl_CSD_2");
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* pointers = Named(new QPushButton(UiText(texts_, PointersCaption), this), "Btn_CSD_1");
    auto* exit = Named(new QPushButton(UiText(texts_, ExitCaption), this), "Btn_CSD_2");
    buttons->addWidget(pointers);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(pointers, &QPushButton::clicked, this, &TCalcSafetyDistance::Btn_CSD_1Click);
    connect(exit, &QPushButton::clicked, this, [this] {
        if (onExit) {
            onExit();
        }
    });

    deviceWatch_ = new QTimer(this);
    deviceWatch_->setInterval(DeviceWatchInterval);
    connect(deviceWatch_, &QTimer::timeout, this, &TCalcSafetyDistance::OfferDeviceResolution);
    InitCSD();
}

// Label, prefix and field in rows: the category, the four inputs, the three outputs.
QWidget* TCalcSafetyDistance::BuildInputs() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    grid->addWidget(Named(new QLabel(UiText(texts_, CategoryLabel), box), "Lbl_CSD_11"), row, 0);
    RdBtn_CSD_111 = Named(new QRadioButton(UiText(texts_, CategoryCD), box), "RdBtn_CSD_111");
    RdBtn_CSD_112 = Named(new QRadioButton(UiText(texts_, CategoryE), box), "RdBtn_CSD_112");
    auto* categories = new QHBoxLayout;
    categories->addWidget(RdBtn_CSD_111);
    categories->addWidget(RdBtn_CSD_112);
    grid->addLayout(categories, row++, 1, 1, 2);
    for (QRadioButton* button : {RdBtn_CSD_111, RdBtn_CSD_112}) {
        connect(button, &QRadioButton::clicked, this, &TCalcSafetyDistance::RdBtn_CSD_11XClick);
    }
    for (int i = 0; i < 4; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const QString number = QString::number(i + 1);
        inputLabels_[index] =
            new QLabel(UiText(texts_, FirstInputLabel + static_cast<TextId>(i)), box);
        inputLabels_[index]->setObjectName(QStringLiteral("Lbl_CSD_1") + QString::number(i + 2));
        inputEdits_[index] = new QLineEdit(box);
        inputEdits_[index]->setObjectName(QStringLiteral("Edt_CSD_1") + number);
        grid->addWidget(inputLabels_[index], row, 0);
        grid->addWidget(inputEdits_[index], row++, 2);
        connect(inputEdits_[index], &QLineEdit::textChanged, this,
                [this, i](const QString& text) { Edt_CSD_1XChange(i, text); });
        if (i == 0) {
            Btn_CSD_3 = Named(new QPushButton(box), "Btn_CSD_3");
            Btn_CSD_3->hide();
            grid->addWidget(Btn_CSD_3, row++, 1, 1, 2);
            connect(Btn_CSD_3, &QPushButton::clicked, this, [this] {
                inputEdits_[0]->setText(Q(deviceResolution ? deviceResolution() : std::string()));
            });
        }
    }
    const std::array<QLineEdit**, 3> outputs = {&Edt_CSD_15, &Edt_CSD_16, &Edt_CSD_17};
    const std::array<TextId, 3> prefixes = {0, SPrefix, S1Prefix};
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        grid->addWidget(new QLabel(UiText(texts_, FirstOutputLabel + static_cast<TextId>(i)), box),
                        row, 0);
        if (prefixes[i] != 0) {
            grid->addWidget(new QLabel(UiText(texts_, prefixes[i]), box), row, 1, Qt::AlignRight);
        }
        *outputs[i] = new QLineEdit(box);
        (*outputs[i])->setObjectName(QStringLiteral("Edt_CSD_1") + QString::number(i + 5));
        (*outputs[i])->setReadOnly(true);
        (*outputs[i])->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(*outputs[i], row++, 2);
    }
    // Wide enough for the longest distance with its note; long labels wrap instead.
    const int fieldWidth =
        box->fontMetrics().horizontalAdvance(QStringLiteral("00000 (K = 1,6m/s)")) + 12;
    for (QLineEdit* field : box->findChildren<QLineEdit*>()) {
        field->setMinimumWidth(fieldWidth);
    }
    for (QLabel* label : box->findChildren<QLabel*>()) {
        label->setWordWrap(true);
    }
    grid->setColumnStretch(0, 1);
    return box;
}

// The sketch, drawn once, in a sunken panel.
QWidget* TCalcSafetyDistance::BuildSketch(int screenProfile, QSize viewSize) {
    auto* panel = Named(new QFrame(this), "Pnl_CSD_1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(panel->frameWidth(), panel->frameWidth(), panel->frameWidth(),
                               panel->frameWidth());
    auto* sketch = Named(new QLabel(panel), "Img_CSD_1");
    sketch->setPixmap(
        QPixmap::fromImage(DrawInstallationSketch(texts_, screenProfile, viewSize.width())));
    layout->addWidget(sketch);
    return panel;
}

void TCalcSafetyDistance::InitCSD() {
    for (std::size_t i = 0; i < inputEdits_.size(); ++i) {
        inputEdits_[i]->setText(QString::fromLatin1(DefaultInputs[i]));
    }
    RdBtn_CSD_112->setChecked(true);
    CalcSD();
    OfferDeviceResolution();
}

void TCalcSafetyDistance::Edt_CSD_1XChange(int index, const QString& text) {
    const std::int32_t value = ParseDistanceInput(text.toStdString());
    switch (index) {
    case 0:
        inputs_.resolution = value;
        break;
    case 1:
        inputs_.emitterReceiverGap = value;
        break;
    case 2:
        inputs_.overrunTime = value;
        break;
    default:
        inputs_.responseTime = value;
        break;
    }
    CalcSD();
}

void TCalcSafetyDistance::RdBtn_CSD_11XClick() {
    CalcSD();
}

void TCalcSafetyDistance::CalcSD() {
    if (RdBtn_CSD_111 == nullptr || Edt_CSD_17 == nullptr) {
        return; // the fields are being built
    }
    inputs_.level = RdBtn_CSD_111->isChecked() ? PerformanceLevel::CD : PerformanceLevel::E;
    const SafetyDistanceFields fields = CalcSDFields(inputs_);
    const SafetyDistanceResult& result = fields.result;
    const std::array<bool, 4> invalid = {result.resolutionInvalid, result.gapInvalid,
                                         result.overrunInvalid, result.responseInvalid};
    for (std::size_t i = 0; i < invalid.size(); ++i) {
        QPalette colours = inputLabels_[i]->palette();
        colours.setColor(QPalette::WindowText, invalid[i] ? QColor(255, 0, 0) : QColor(0, 0, 0));
        inputLabels_[i]->setPalette(colours);
    }
    Edt_CSD_15->setText(Q(fields.totalResponseTime));
    Edt_CSD_16->setText(Q(fields.safetyDistance));
    Edt_CSD_17->setText(Q(fields.reflectionDistance));
}

void TCalcSafetyDistance::Btn_CSD_1Click() {
    texts_.ShowMessageId(msg::Information | PointersMessage);
}

// Offered only while the device's resolution is known.
void TCalcSafetyDistance::OfferDeviceResolution() {
    const std::string resolution = deviceResolution ? deviceResolution() : std::string();
    const bool known = ParseDistanceInput(resolution) >= 0;
    Btn_CSD_3->setText(UiText(texts_, ResolutionCaption) + QStringLiteral(": ") + Q(resolution));
    Btn_CSD_3->setVisible(known);
}

void TCalcSafetyDistance::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    OfferDeviceResolution();
    deviceWatch_->start();
}

void TCalcSafetyDistance::hideEvent(QHideEvent* event) {
    deviceWatch_->stop();
    QWidget::hideEvent(event);
}

} // namespace lcdiag
