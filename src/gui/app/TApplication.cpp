#include "gui/app/TApplication.h"

#include "core/app/Texts.h"
#include "gui/app/MessageBoxes.h"

namespace lcdiag {

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowMessageText(msg::Fault, {}); // "Unknown Fault!"
    }
    return false;
}

} // namespace lcdiag
