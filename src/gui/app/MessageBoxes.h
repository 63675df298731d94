#pragma once

#include "core/app/FileDialogs.h"
#include "core/app/Messages.h"

#include <exception>
#include <iosfwd>

class QWidget;

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

// The program's file dialogs on QFileDialog: a filter "Description (*.txt)|*.txt" shows its
// description; an existing file is overwritten without a question, a file to open must exist.
class TQtFileDialogs final : public FileDialogs {
public:
    explicit TQtFileDialogs(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> ChooseFileToSave(const std::string& filter,
                                                const std::string& offeredName) override;
    std::optional<std::string> ChooseFileToOpen(const std::string& filter) override;

private:
    QWidget* parent_;
};

// The program's general error display: a fault message with the exception's text.
void ShowException(const Texts& texts, const std::exception& error);

} // namespace lcdiag
