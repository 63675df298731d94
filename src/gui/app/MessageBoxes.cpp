#include "gui/app/MessageBoxes.h"

#include "core/app/Texts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <array>
#include <ostream>

namespace lcdiag {
namespace {

struct ButtonPair {
    MessageResult result;
    QMessageBox::StandardButton button;
};

constexpr std::array<ButtonPair, 7> ButtonPairs = {{
    {MessageResult::Ok, QMessageBox::Ok},
    {MessageResult::Cancel, QMessageBox::Cancel},
    {MessageResult::Abort, QMessageBox::Abort},
    {MessageResult::Retry, QMessageBox::Retry},
    {MessageResult::Ignore, QMessageBox::Ignore},
    {MessageResult::Yes, QMessageBox::Yes},
    {MessageResult::No, QMessageBox::No},
}};

QMessageBox::StandardButton StandardButtonOf(MessageResult result) {
    for (const ButtonPair& pair : ButtonPairs) {
        if (pair.result == result) {
            return pair.button;
        }
    }
    return QMessageBox::NoButton;
}

MessageResult ResultOf(QMessageBox::StandardButton button) {
    for (const ButtonPair& pair : ButtonPairs) {
        if (pair.button == button) {
            return pair.result;
        }
    }
    return MessageResult::None;
}

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Fault:
        return QMessageBox::Critical;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::Critical;
}

// The texts carry Windows line ends.
QString ShownText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

MessageResult TQtMessageDialogs::Show(const DialogMessage& message) {
    QMessageBox box(IconOf(message.kind), ShownText(message.caption), ShownText(message.text));
    box.setTextFormat(Qt::PlainText); // language texts are not markup
    for (const DialogMessage::Button& shown : message.buttons) {
        box.addButton(StandardButtonOf(shown.result))->setText(ShownText(shown.label));
    }
    if (!message.buttons.empty()) {
        box.setDefaultButton(StandardButtonOf(message.buttons.front().result));
    }
    box.setEscapeButton(box.button(StandardButtonOf(message.dismissed)));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked != nullptr ? ResultOf(box.standardButton(clicked)) : message.dismissed;
}

MessageResult TStreamMessageDialogs::Show(const DialogMessage& message) {
    out_ << message.caption << ": " << ShownText(message.text).toStdString() << '\n';
    return message.dismissed;
}

std::optional<std::string> TQtFileDialogs::ChooseFileToSave(const std::string& filter,
                                                            const std::string& offeredName) {
    const QString description = QString::fromStdString(filter).section(QLatin1Char('|'), 0, 0);
    const QString name =
        QFileDialog::getSaveFileName(parent_, QString(), QString::fromStdString(offeredName),
                                     description, nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name.toStdString();
}

std::optional<std::string> TQtFileDialogs::ChooseFileToOpen(const std::string& filter) {
    const QString description = QString::fromStdString(filter).section(QLatin1Char('|'), 0, 0);
    // The dialog accepts only an existing file in an existing folder.
    const QString name =
        QFileDialog::getOpenFileName(parent_, QString(), QString(), description, nullptr);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name.toStdString();
}

void ShowException(const Texts& texts, const std::exception& error) {
    texts.ShowMessageText(msg::Fault, error.what());
}

} // namespace lcdiag
