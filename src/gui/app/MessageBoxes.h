#pragma once

#include "core/app/Messages.h"

#include <QString>
#include <array>
#include <exception>
#include <iosfwd>

namespace lcdiag {

// The message dialogs of the program on QMessageBox: modal, centred on the screen, with the
// captions (texts 300-303) and button labels (400-406) of the language. The texts are looked
// up when the dialogs are made, after the language has been loaded.
class TQtMessageDialogs final : public MessageDialogs {
public:
    TQtMessageDialogs();

    MessageResult Show(MessageKind kind, MessageButtons buttons, const std::string& text) override;

private:
    std::array<QString, 4> captions_;     // by MessageKind
    std::array<QString, 8> buttonLabels_; // by MessageResult
};

// Dialogs for a run that nobody watches (a screenshot): each message is written to the stream
// and answered with the button that does nothing (OK, Cancel, No or Abort).
class TStreamMessageDialogs final : public MessageDialogs {
public:
    explicit TStreamMessageDialogs(std::ostream& out) : out_(out) {}

    MessageResult Show(MessageKind kind, MessageButtons buttons, const std::string& text) override;

private:
    std::ostream& out_;
};

// The answer of a dialog closed without a choice: the button that does nothing.
MessageResult DismissResult(MessageButtons buttons);

// The program's general error display: a fault message with the exception's text.
void ShowException(const std::exception& error);

} // namespace lcdiag
