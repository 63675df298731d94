#include "gui/app/MessageBoxes.h"

#include "core/app/Texts.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <ostream>
#include <vector>

namespace lcdiag {
namespace {

constexpr std::array<MessageKind, 4> Kinds = {MessageKind::Fault, MessageKind::Confirmation,
                                              MessageKind::Warning, MessageKind::Information};

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

std::vector<MessageResult> ButtonsOf(MessageButtons buttons) {
    using R = MessageResult;
    switch (buttons) {
    case MessageButtons::Ok:
        return {R::Ok};
    case MessageButtons::OkCancel:
        return {R::Ok, R::Cancel};
    case MessageButtons::AbortRetryIgnore:
        return {R::Abort, R::Retry, R::Ignore};
    case MessageButtons::YesNoCancel:
        return {R::Yes, R::No, R::Cancel};
    case MessageButtons::YesNo:
        return {R::Yes, R::No};
    }
    return {R::Ok};
}

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

std::size_t IndexOf(MessageKind kind) {
    return static_cast<std::size_t>(kind);
}

std::size_t IndexOf(MessageResult result) {
    return static_cast<std::size_t>(result);
}

// The texts carry Windows line ends.
QString ShownText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

TQtMessageDialogs::TQtMessageDialogs() {
    for (const MessageKind kind : Kinds) {
        captions_[IndexOf(kind)] = QString::fromStdString(GetText(CaptionTextId(kind)));
    }
    for (const ButtonPair& pair : ButtonPairs) {
        buttonLabels_[IndexOf(pair.result)] =
            QString::fromStdString(GetText(ButtonTextId(pair.result)));
    }
}

MessageResult TQtMessageDialogs::Show(MessageKind kind, MessageButtons buttons,
                                      const std::string& text) {
    QMessageBox box(IconOf(kind), captions_[IndexOf(kind)], ShownText(text));
    box.setTextFormat(Qt::PlainText); // language texts are not markup
    const std::vector<MessageResult> shown = ButtonsOf(buttons);
    for (const MessageResult result : shown) {
        QAbstractButton* button = box.addButton(StandardButtonOf(result));
        button->setText(buttonLabels_[IndexOf(result)]);
    }
    box.setDefaultButton(StandardButtonOf(shown.front()));
    box.setEscapeButton(box.button(StandardButtonOf(DismissResult(buttons))));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked != nullptr ? ResultOf(box.standardButton(clicked)) : DismissResult(buttons);
}

MessageResult TStreamMessageDialogs::Show(MessageKind kind, MessageButtons buttons,
                                          const std::string& text) {
    out_ << GetText(CaptionTextId(kind)) << ": " << ShownText(text).toStdString() << '\n';
    return DismissResult(buttons);
}

MessageResult DismissResult(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        return MessageResult::Cancel;
    case MessageButtons::AbortRetryIgnore:
        return MessageResult::Abort;
    case MessageButtons::YesNo:
        return MessageResult::No;
    }
    return MessageResult::Ok;
}

void ShowException(const std::exception& error) {
    ShowMessageText(msg::Fault, error.what());
}

} // namespace lcdiag
