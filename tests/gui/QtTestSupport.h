#pragma once

#include "AppTestSupport.h"
#include "core/app/Texts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace lcdiag::test {

// Runs the event loop until the condition holds; false when it still does not after a
// generous limit (which only ends a test that has failed).
inline bool WaitUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop for a while.
inline void Settle(int milliseconds) {
    WaitUntil([] { return false; }, milliseconds);
}

// Acts on the next modal dialog as soon as it is shown (from a zero-delay timer).
inline void WhenModalShows(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Counts the modal dialogs shown while it lives and closes them, so that a dialog a test does
// not expect cannot hang it.
class ModalCloser {
public:
    ModalCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++count;
                modal->close();
            }
        });
        timer_.start(0);
    }
    int count = 0;

private:
    QTimer timer_;
};

template <typename W = QWidget> W* Child(const QObject& parent, const char* name) {
    W* child = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

inline std::vector<std::string> ShownTexts(const RecordingDialogs& dialogs) {
    std::vector<std::string> texts;
    for (const auto& shown : dialogs.shown) {
        texts.push_back(shown.text);
    }
    return texts;
}

// The built-in texts, whose messages go to recording dialogs, for the test's widgets.
class RecordedMessages : public ::testing::Test {
protected:
    std::vector<std::string> Messages() const { return ShownTexts(dialogs); }

    RecordingDialogs dialogs;
    const lcdiag::Texts texts{nullptr, &dialogs};
};

} // namespace lcdiag::test
