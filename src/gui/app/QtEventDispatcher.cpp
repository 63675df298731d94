#include "gui/app/QtEventDispatcher.h"

#include "gui/app/MessageBoxes.h"
#include "platform/serial/UsbClass.h"

#include <QSocketNotifier>

namespace lcdiag {
namespace {

void RunReportingFailures(const Texts& texts, const std::function<void()>& job) {
    try {
        job();
    } catch (const std::exception& error) {
        ShowException(texts, error);
    }
}

} // namespace

void TQtEventDispatcher::Post(std::function<void()> job) {
    QMetaObject::invokeMethod(
        &receiver_, [this, job = std::move(job)] { RunReportingFailures(texts_, job); },
        Qt::QueuedConnection);
}

QSocketNotifier* WatchDevices(TUsbClass& watcher, QObject* parent, const Texts& texts) {
    if (watcher.Handle() < 0) {
        return nullptr;
    }
    auto* notifier = new QSocketNotifier(watcher.Handle(), QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [&watcher, &texts] {
        RunReportingFailures(texts, [&watcher] { watcher.ProcessNotices(); });
    });
    return notifier;
}

} // namespace lcdiag
