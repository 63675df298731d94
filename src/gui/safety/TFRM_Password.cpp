#include "gui/safety/TFRM_Password.h"

#include "core/app/Preferences.h"
#include "core/app/Texts.h"
#include "core/safety/Password.h"
#include "gui/safety/UiText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <array>

namespace lcdiag {

namespace {

constexpr TextId EnterTitle = 6000;
constexpr TextId ChangeTitle = 6001;
constexpr TextId OldLabel = 6010;
constexpr TextId FirstPrompt = 6020;
constexpr TextId ChangePrompt = 6021;
constexpr TextId OkCaption = 6030;
constexpr TextId CancelCaption = 6031;

constexpr int Margin = 20; // the icon's left offset, also the margin around the contents
constexpr int IconTop = 10;
constexpr int IconSize = 32;
constexpr int IconGap = 10;
constexpr int EditWidth = 200;
constexpr int LabelGap = 8;
constexpr int ButtonGap = 12;

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Every character shows as "*".
QLineEdit* PasswordEdit(QWidget* parent, const char* name) {
    auto* edit = Named(new QLineEdit(parent), name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    return edit;
}

} // namespace

// A gold key lying diagonally: a ring with a hole and a bit with two teeth.
QImage KeyIcon() {
    QImage icon(IconSize, IconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(16, 16);
    painter.rotate(-45);
    QPainterPath key;
    key.addEllipse(QRectF(-15, -7, 14, 14));
    key.addRect(QRectF(-2, -2.5, 17, 5));
    key.addRect(QRectF(8, 2, 3, 5));
    key.addRect(QRectF(12, 2, 3, 4));
    QPainterPath hole;
    hole.addEllipse(QRectF(-11, -3, 6, 6));
    painter.setPen(QPen(QColor(120, 84, 0), 1.2));
    painter.setBrush(QColor(230, 180, 40));
    painter.drawPath(key.simplified().subtracted(hole));
    return icon;
}

TFRM_Password::TFRM_Password(PreferenceStore& preferences, const Texts& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      preferences_(preferences), texts_(texts) {
    setObjectName(QStringLiteral("FRM_Password"));
    setModal(true);
    Img_Pwd_1 = Named(new QLabel(this), "Img_Pwd_1");
    Img_Pwd_1->setPixmap(QPixmap::fromImage(KeyIcon()));
    Lbl_Pwd_1 = Named(new QLabel(this), "Lbl_Pwd_1");
    Lbl_Pwd_2 = Named(new QLabel(this), "Lbl_Pwd_2");
    Lbl_Pwd_3 = Named(new QLabel(this), "Lbl_Pwd_3");
    Lbl_Pwd_4 = Named(new QLabel(this), "Lbl_Pwd_4");
    Edt_Pwd_1 = PasswordEdit(this, "Edt_Pwd_1");
    Edt_Pwd_2 = PasswordEdit(this, "Edt_Pwd_2");
    Edt_Pwd_3 = PasswordEdit(this, "Edt_Pwd_3");
    Btn_Pwd_1 = Named(new QPushButton(this), "Btn_Pwd_1");
    Btn_Pwd_2 = Named(new QPushButton(this), "Btn_Pwd_2");
    Btn_Pwd_1->setDefault(true);
    Btn_Pwd_1->setAutoDefault(true);
    Btn_Pwd_2->setAutoDefault(false);
    fontSize_ = font().pointSize();
    connect(Btn_Pwd_1, &QPushButton::clicked, this, &TFRM_Password::Btn_Pwd_1Click);
    connect(Btn_Pwd_2, &QPushButton::clicked, this, &TFRM_Password::reject);
}

void TFRM_Password::SetFontSize(int points) {
    fontSize_ = points;
}

bool TFRM_Password::Changing() const {
    return mode_ == PasswordMode::ChangePassword;
}

void TFRM_Password::InitForm(PasswordMode mode) {
    mode_ = mode;
    result_ = 0;
    SetPointSize(*this, fontSize_);
    for (QLineEdit* edit : {Edt_Pwd_1, Edt_Pwd_2, Edt_Pwd_3}) {
        edit->clear();
    }
    Caption();
    LayOut();
}

void TFRM_Password::Caption() {
    setWindowTitle(UiText(texts_, Changing() ? ChangeTitle : EnterTitle));
    Lbl_Pwd_1->setText(
        UiText(texts_, Changing() ? ChangePrompt : FirstPrompt + static_cast<TextId>(mode_)));
    const std::array<QLabel*, 3> labels = {Lbl_Pwd_2, Lbl_Pwd_3, Lbl_Pwd_4};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i]->setText(UiText(texts_, OldLabel + static_cast<TextId>(i)) + QLatin1Char(':'));
        labels[i]->setVisible(Changing());
    }
    Edt_Pwd_2->setVisible(Changing());
    Edt_Pwd_3->setVisible(Changing());
    Btn_Pwd_1->setText(UiText(texts_, OkCaption));
    Btn_Pwd_2->setText(UiText(texts_, CancelCaption));
}

// The icon at the top left with the prompt beside it; the entries below; the buttons under
// the entries, "Cancel" flush with their right edge.
void TFRM_Password::LayOut() {
    Img_Pwd_1->setGeometry(Margin, IconTop, IconSize, IconSize);
    Lbl_Pwd_1->resize(Lbl_Pwd_1->sizeHint());
    Lbl_Pwd_1->move(Margin + IconSize + IconGap, IconTop + (IconSize - Lbl_Pwd_1->height()) / 2);
    const int entriesTop = IconTop + IconSize + IconGap;
    int bottom = 0;
    int right = 0;
    if (Changing()) {
        bottom = LayOutChangeEntries(entriesTop);
        right = Edt_Pwd_1->geometry().right() + 1;
    } else {
        const int editHeight = Edt_Pwd_1->sizeHint().height();
        right = Lbl_Pwd_1->geometry().right() + 1;
        Edt_Pwd_1->setGeometry(Margin, entriesTop, right - Margin, editHeight);
        bottom = entriesTop + editHeight;
    }
    const int buttonWidth =
        Btn_Pwd_2->fontMetrics().horizontalAdvance(Btn_Pwd_2->text().remove(QLatin1Char('&'))) + 16;
    const int buttonHeight = Edt_Pwd_1->sizeHint().height() + 4;
    Btn_Pwd_2->setGeometry(right - buttonWidth, bottom + ButtonGap, buttonWidth, buttonHeight);
    Btn_Pwd_1->setGeometry(Btn_Pwd_2->x() - 4 - buttonWidth, Btn_Pwd_2->y(), buttonWidth,
                           buttonHeight);
    QRect contents;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        contents |= child->isVisibleTo(this) ? child->geometry() : QRect();
    }
    setFixedSize(contents.right() + 1 + Margin, contents.bottom() + 1 + Margin);
    if (parentWidget() != nullptr) {
        const QRect owner = parentWidget()->window()->geometry();
        move(owner.center() - rect().center());
    }
}

// Old, new and confirmation in rows an edit's height plus 4 apart: the labels left, the
// edits in a column beside the widest of them, each row's label centred on its edit.
int TFRM_Password::LayOutChangeEntries(int top) {
    const std::array<QLabel*, 3> labels = {Lbl_Pwd_2, Lbl_Pwd_3, Lbl_Pwd_4};
    const std::array<QLineEdit*, 3> edits = {Edt_Pwd_1, Edt_Pwd_2, Edt_Pwd_3};
    int labelWidth = 0;
    for (QLabel* label : labels) {
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    }
    const int editHeight = Edt_Pwd_1->sizeHint().height();
    int rowTop = top;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int labelHeight = labels[i]->sizeHint().height();
        labels[i]->setGeometry(Margin, rowTop + (editHeight - labelHeight) / 2, labelWidth,
                               labelHeight);
        edits[i]->setGeometry(Margin + labelWidth + LabelGap, rowTop, EditWidth, editHeight);
        rowTop += editHeight + 4;
    }
    return Edt_Pwd_3->geometry().bottom() + 1;
}

void TFRM_Password::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edt_Pwd_1->setFocus();
}

// Checks the entries against the stored password (read each time; the default's hash while
// none is stored). A refusal that asks for a correction keeps the dialog open.
void TFRM_Password::Btn_Pwd_1Click() {
    result_ = 0;
    const std::string stored =
        RegReadString(preferences_, PreferenceKeyPath(), pref::Password, DefaultUserPasswordHash);
    const PasswordVerdict verdict =
        CheckPassword(mode_,
                      {Edt_Pwd_1->text().toStdU16String(), Edt_Pwd_2->text().toStdU16String(),
                       Edt_Pwd_3->text().toStdU16String()},
                      stored, hasher_);
    if (verdict.message != 0) {
        texts_.ShowMessageId(verdict.message);
    }
    if (!verdict.close) {
        return;
    }
    if (!verdict.rehashedPassword.empty()) {
        RegWriteString(preferences_, PreferenceKeyPath(), pref::Password, verdict.rehashedPassword);
    }
    result_ = StorePassword(verdict.storePassword) ? verdict.result : 0;
    done(result_ != 0 ? Accepted : Rejected);
}

// A new password that cannot be written is no change: the old one stays valid, and the user
// is told so instead of hearing of a success.
bool TFRM_Password::StorePassword(const std::string& hash) {
    if (hash.empty() || RegWriteString(preferences_, PreferenceKeyPath(), pref::Password, hash)) {
        return true;
    }
    texts_.ShowMessageId(msg::Fault | PasswordNotStored);
    return false;
}

void TFRM_Password::reject() {
    result_ = 0;
    QDialog::reject();
}

} // namespace lcdiag
