#pragma once

#include "core/app/Messages.h"

#include <exception>
#include <iosfwd>

namespace lcdiag {

class Texts;

// The message dialogs of the program on QMessageBox: modal, centred on the screen.
class TQtMessageDialogs final : public MessageDialogs {
public:
    MessageResult Show(const DialogMessage& message) override;
};

// Dialogs for a run that nobody watches (a screenshot): each message is written to the stream
// and answered with the button that does nothing (OK, Cancel, No or Abort).
class TStreamMessageDialogs final : public MessageDialogs {
public:
    explicit TStreamMessageDialogs(std::ostream& out) : out_(out) {}

    MessageResult Show(const DialogMessage& message) override;

private:
    std::ostream& out_;
};

// The program's general error display: a fault message with the exception's text.
void ShowException(const Texts& texts, const std::exception& error);

} // namespace lcdiag
