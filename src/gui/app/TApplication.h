#pragma once

#include <QApplication>

namespace lcdiag {

// The application object: an exception that escapes an event handler ends at the general
// error display instead of ending the program.
class TApplication final : public QApplication {
public:
    TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace lcdiag
