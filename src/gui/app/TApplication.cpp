#include "gui/app/TApplication.h"

#include "core/app/Texts.h"

#include <iostream>

namespace lcdiag {

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(error.what());
    } catch (...) {
        ShowError(""); // "Unknown Fault!"
    }
    return false;
}

void TApplication::ShowError(const char* what) const {
    if (texts_ == nullptr) {
        std::cerr << "lcdiag: " << (*what != '\0' ? what : "unknown fault") << '\n';
        return;
    }
    texts_->ShowMessageText(msg::Fault, what);
}

} // namespace lcdiag
