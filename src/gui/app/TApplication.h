#pragma once

#include <QApplication>

namespace lcdiag {

class Texts;

// The application object: an exception that escapes an event handler ends at the general
// error display instead of ending the program.
class TApplication final : public QApplication {
public:
    TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    // The texts the error display speaks in (the main window's); until they are known an
    // error goes to the error output.
    void SetTexts(const Texts* texts) { texts_ = texts; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void ShowError(const char* what) const;

    const Texts* texts_ = nullptr;
};

} // namespace lcdiag
