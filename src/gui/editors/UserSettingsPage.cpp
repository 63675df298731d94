#include "gui/editors/UserSettingsPage.h"

#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "core/files/SettingsReport.h"
#include "core/protocol/ConnectionController.h"
#include "gui/editors/ReceiverPages.h"
#include "gui/safety/UiText.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace lcdiag {
namespace {

constexpr int PageFont = 10; // the view font the pages take their size from
constexpr TextId ButtonCaptions[] = {3001, 3002, 3003, 3004};
constexpr TextId ConfirmCaption = 3002;
constexpr TextId BeamCodingGroup = 3030;
constexpr TextId BeamCodingLabel = 3031;
constexpr TextId TextFileFilter = 1901;
constexpr TextId WriteFailed = 187;

template <typename W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// The moment of a save as the user's system writes it: short date, long time.
std::string Now() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return (locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
            locale.toString(now.time(), QLocale::LongFormat))
        .toStdString();
}

// The unit as its information panel names it.
ReportIdentity Identity(const ConnectionController& link, int beams) {
    const InfoTexts& info = link.Info();
    return {info.type, info.resolution, info.protectionField, info.serialNumber, beams};
}

// An emitter unit standing upright: the head with its LEDs on the yellow housing.
QPixmap EmitterPicture() {
    QPixmap picture(60, 180);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(32, 32, 32));
    painter.drawRect(10, 2, 40, 26);
    painter.setBrush(QColor(255, 216, 0));
    painter.drawRect(10, 28, 40, 148);
    painter.setBrush(QColor(0, 200, 0));
    painter.drawEllipse(QPoint(22, 15), 5, 5);
    painter.setBrush(QColor(255, 160, 0));
    painter.drawEllipse(QPoint(38, 15), 5, 5);
    painter.setBrush(QColor(200, 0, 0));
    for (int y = 40; y < 170; y += 16) {
        painter.drawEllipse(QPoint(30, y), 3, 3);
    }
    return picture;
}

} // namespace

TUserSettingsPage::TUserSettingsPage(QFrame& panel, TPageHost& host, SaveConfirmation& confirmation,
                                     int screenProfile, bool passwordNeeded)
    : panel_(panel), host_(host), confirmation_(confirmation), locked_(passwordNeeded),
      receiver_(host.Language(), *this), emitter_(host.Language()) {
    auto* layout = new QVBoxLayout(&panel_);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(BuildReceiverFrame());
    layout->addWidget(BuildEmitterFrame());
    SetPointSize(panel_, ViewFont(screenProfile, PageFont).pointSize);
    confirmation_.SetReportFiling(this);
}

TUserSettingsPage::~TUserSettingsPage() {
    confirmation_.SetReportFiling(nullptr);
}

QWidget* TUserSettingsPage::BuildReceiverFrame() {
    receiverFrame_ = Named(new QWidget(&panel_), QStringLiteral("Pnl_RUserSet"));
    auto* layout = new QVBoxLayout(receiverFrame_);
    layout->setContentsMargins(0, 0, 0, 0);
    receiverPages_ = new TReceiverPages(receiver_, host_.Language(), receiverFrame_);
    receiverPages_->onChanged = [this] { AfterReceiverChange(); };
    receiverPages_->onSelection = [this](bool teach) { StartSelection(teach); };
    layout->addWidget(receiverPages_, 1);
    receiverButtons_ = BuildButtons(receiverFrame_, "Btn_RUS_");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : receiverButtons_) {
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    return receiverFrame_;
}

QWidget* TUserSettingsPage::BuildEmitterFrame() {
    const Texts& texts = host_.Language();
    emitterFrame_ = Named(new QWidget(&panel_), QStringLiteral("Pnl_EUserSet"));
    auto* group = Named(new QGroupBox(UiText(texts, BeamCodingGroup), emitterFrame_),
                        QStringLiteral("GrpBx_EUS_1"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(
        Named(new QLabel(UiText(texts, BeamCodingLabel), group), QStringLiteral("Lbl_EUS_11")));
    ChckBx_EUS_11 = Named(new QCheckBox(group), QStringLiteral("ChckBx_EUS_11"));
    row->addWidget(ChckBx_EUS_11);
    row->addStretch(1);
    QObject::connect(ChckBx_EUS_11, &QCheckBox::clicked, emitterFrame_, [this] {
        emitter_.Click();
        ChckBx_EUS_11->setChecked(emitter_.BeamCodingA());
    });
    auto* picture = Named(new QLabel(emitterFrame_), QStringLiteral("Img_EUS_1"));
    picture->setPixmap(EmitterPicture());
    emitterButtons_ = BuildButtons(emitterFrame_, "Btn_EUS_");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : emitterButtons_) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(emitterFrame_);
    layout->addWidget(group, 1, Qt::AlignTop);
    layout->addLayout(buttons);
    layout->addWidget(picture, 0, Qt::AlignTop);
    return emitterFrame_;
}

// Save, confirm, default values, cancel: the same four on both frames.
std::array<QPushButton*, 4> TUserSettingsPage::BuildButtons(QWidget* parent, const char* prefix) {
    std::array<QPushButton*, 4> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = Named(new QPushButton(UiText(host_.Language(), ButtonCaptions[i]), parent),
                           QString::fromLatin1(prefix) + QString::number(i + 1));
    }
    QObject::connect(buttons[0], &QPushButton::clicked, parent, [this] { Save(); });
    QObject::connect(buttons[1], &QPushButton::clicked, parent, [this] {
        confirmation_.Confirm(ReceiverShown() ? TransferKind::ReceiverCustomer
                                              : TransferKind::EmitterCustomer);
        SyncButtons();
    });
    QObject::connect(buttons[2], &QPushButton::clicked, parent, [this] { Defaults(); });
    QObject::connect(buttons[3], &QPushButton::clicked, parent, [this] { Cancel(); });
    return buttons;
}

bool TUserSettingsPage::Admit() {
    if (!locked_) {
        return true;
    }
    const int result = host_.ShowPasswordDialog(PasswordMode::UserSettings);
    locked_ = result != 1 && result != 2; // unlocked for the rest of the run
    return !locked_;
}

bool TUserSettingsPage::Enter(ViewMode previous) {
    if (previous != ViewMode::BeamSelection && !Load(false)) {
        return false;
    }
    receiver_.SelectTab(0); // the general page first, also after a beam selection
    const bool receiver = ReceiverShown();
    receiverFrame_->setVisible(receiver);
    emitterFrame_->setVisible(!receiver);
    panel_.show();
    receiverPages_->Sync();
    ChckBx_EUS_11->setChecked(emitter_.BeamCodingA());
    SyncButtons();
    return true;
}

void TUserSettingsPage::Leave() {
    panel_.hide();
}

void TUserSettingsPage::Sync(PageRedraw /*redraw*/) {
    SyncButtons();
}

bool TUserSettingsPage::ReceiverShown() const {
    return host_.Link().Unit() == ControllerType::Receiver;
}

ReceiverSource TUserSettingsPage::Source() {
    const ConnectionController& link = host_.Link();
    return {link.ReceiverFactoryValid() ? &link.ReceiverFactory() : nullptr,
            link.ReceiverCustomers().ActiveRecord(), link.Firmware()};
}

bool TUserSettingsPage::Load(bool defaults) {
    if (ReceiverShown()) {
        return receiver_.Load(Source(), defaults, host_.RecordContext());
    }
    const ConnectionController& link = host_.Link();
    return emitter_.Load(link.EmitterFactoryValid(),
                         link.EmitterCustomerValid() ? &link.EmitterCustomer() : nullptr, defaults);
}

// The record and the report of what it holds, then the ten-second confirmation.
void TUserSettingsPage::Save() {
    const ConnectionController& link = host_.Link();
    const Texts& texts = host_.Language();
    if (!ReceiverShown()) {
        const EmitterCustomerRecord record = emitter_.Save(host_.RecordContext().clock);
        const int beams = link.EmitterFactory().Byte(EmitterFactoryField::BeamCount);
        confirmation_.Begin(
            SettingsWrite::EmitterCustomer(record),
            BuildEmitterReport(texts, Now(), Identity(link, beams), emitter_.BeamCodingA()));
    } else if (const auto record = receiver_.Save(Source(), host_.RecordContext())) {
        const int beams = link.ReceiverFactory().Byte(ReceiverFactoryField::BeamCount);
        confirmation_.Begin(
            SettingsWrite::ReceiverCustomer(*record),
            BuildReceiverReport(texts, Now(), Identity(link, beams), *record, link.Firmware()));
    }
    SyncButtons();
}

void TUserSettingsPage::Defaults() {
    if (ReceiverShown()) {
        Load(true);
        receiverPages_->Sync();
    } else {
        emitter_.Defaults();
        ChckBx_EUS_11->setChecked(false);
    }
}

// A waiting save is cancelled; without one the page is left for the live picture.
void TUserSettingsPage::Cancel() {
    const TransferKind kind =
        ReceiverShown() ? TransferKind::ReceiverCustomer : TransferKind::EmitterCustomer;
    if (confirmation_.Cancel(kind)) {
        SyncButtons();
        return;
    }
    host_.SetViewMode(ViewMode::Bar);
}

void TUserSettingsPage::StartSelection(bool teach) {
    if (teach) {
        receiver_.StartTeachSelection(SelectionTarget::FixedBlanking);
    } else {
        receiver_.StartManualSelection();
    }
    host_.SetViewMode(ViewMode::BeamSelection);
}

void TUserSettingsPage::AfterReceiverChange() {
    if (receiver_.TakeSelectionRequest()) {
        host_.SetViewMode(ViewMode::BeamSelection);
    }
}

// The buttons of both frames as the confirmation holds them; the confirm buttons count down.
void TUserSettingsPage::SyncButtons() {
    const EditorButtons& state = confirmation_.Buttons();
    const QString confirm =
        UiText(host_.Language().GetTextInt(ConfirmCaption, state.customerConfirmSeconds));
    receiverButtons_[0]->setEnabled(state.Btn_RUS_1);
    receiverButtons_[1]->setEnabled(state.Btn_RUS_2);
    emitterButtons_[0]->setEnabled(state.Btn_EUS_1);
    emitterButtons_[1]->setEnabled(state.Btn_EUS_2);
    for (QPushButton* button : {receiverButtons_[1], emitterButtons_[1]}) {
        if (button->text() != confirm) {
            button->setText(confirm);
        }
    }
}

bool TUserSettingsPage::ConfirmSafetyNote(int mode) {
    return host_.ConfirmSafetyNote(mode);
}

// The name chosen gets ".txt" when it has no extension; a file that cannot be written is
// said so, and no part of it is left.
void TUserSettingsPage::SaveToTextFile(const std::string& report) {
    const std::optional<std::string> chosen = host_.ChooseFileToSave(TextFileFilter);
    if (!chosen || chosen->empty()) {
        return;
    }
    if (!SaveReport(ReportFileName(*chosen), report)) {
        host_.Language().ShowMessageId(msg::Fault | WriteFailed);
    }
}

} // namespace lcdiag
