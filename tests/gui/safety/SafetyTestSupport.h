#pragma once

#include "AppTestSupport.h"
#include "core/app/Texts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

template <typename W> W* Child(const QWidget& parent, const char* name) {
    W* child = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// The messages go to recording dialogs for the test's duration.
class RecordedMessages : public ::testing::Test {
protected:
    RecordedMessages() { SetMessageDialogs(&dialogs); }
    ~RecordedMessages() override { SetMessageDialogs(nullptr); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& shown : dialogs.shown) {
            texts.push_back(shown.text);
        }
        return texts;
    }

    RecordingDialogs dialogs;
};

} // namespace lcdiag::test
