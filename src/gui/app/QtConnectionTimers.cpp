#include "gui/app/QtConnectionTimers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace lcdiag {

void QtConnectionTimers::StartCyclicTimer() {
    timer1_.start();
}

void QtConnectionTimers::StopCyclicTimer() {
    timer1_.stop();
}

void QtConnectionTimers::ArmResultReporter(int milliseconds) {
    timer2_.start(milliseconds);
}

void QtConnectionTimers::DisarmResultReporter() {
    timer2_.stop();
}

void QtConnectionTimers::RunAfter(int milliseconds, std::function<void()> step) {
    QTimer::singleShot(milliseconds, &owner_, std::move(step));
}

void QtConnectionTimers::Wait(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        const auto left = static_cast<int>(milliseconds - waited.elapsed());
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, std::max(left, 1));
        QThread::msleep(1);
    }
}

} // namespace lcdiag
