#include "gui/app/MessageBoxes.h"

#include "GuiTestSupport.h"
#include "core/app/Texts.h"
#include "gui/app/QtEventDispatcher.h"
#include "platform/serial/EComPort.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>
#include <thread>

namespace lcdiag {
namespace {

struct SeenBox {
    QString caption;
    QString text;
    QStringList buttons;
    MessageResult nested = MessageResult::Ok;
};

// Reads the box that shows, asks for a second message meanwhile and presses the button.
void AnswerWith(const Texts& texts, SeenBox& seen, const QString& label) {
    test::WhenModalShows([&texts, &seen, label](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen.caption = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << button->text();
        }
        seen.nested = texts.ShowMessageId(msg::Warning | 175);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == label) {
                button->click();
            }
        }
    });
}

class MessageBoxes : public ::testing::Test {
protected:
    TQtMessageDialogs dialogs;
    const Texts texts{nullptr, &dialogs};
};

TEST_F(MessageBoxes, CaptionsAndLabelsFollowTheKindAndOneBoxShowsAtATime) {
    SeenBox seen;
    AnswerWith(texts, seen, "&No");
    EXPECT_EQ(texts.ShowMessageId(msg::Confirmation | 114), MessageResult::No);
    EXPECT_EQ(seen.caption, QString("Confirmation"));
    EXPECT_EQ(seen.text, QString("The data was successfully transmitted!\nWould you like to "
                                 "store the data in a text file?"));
    EXPECT_EQ(seen.buttons.size(), 2);
    EXPECT_TRUE(seen.buttons.contains("&Yes"));
    EXPECT_EQ(seen.nested, MessageResult::None);

    SeenBox warning;
    AnswerWith(texts, warning, "OK");
    EXPECT_EQ(texts.ShowMessageId(msg::Warning | 177), MessageResult::Ok);
    EXPECT_EQ(warning.caption, QString("Warning"));
    EXPECT_EQ(warning.buttons, QStringList{"OK"});

    SeenBox fault;
    AnswerWith(texts, fault, "OK");
    ShowException(texts, EComPort(EComPort::WriteFailed));
    EXPECT_EQ(fault.caption, QString("Fault"));
    EXPECT_EQ(fault.text, QString("WriteFile function failed"));
}

using EventDispatcher = test::RecordedMessages;

TEST_F(EventDispatcher, JobsRunInOrderOnTheUserInterfaceThreadAndFailuresAreShown) {
    TQtEventDispatcher dispatcher(texts);
    std::vector<std::thread::id> ran;
    std::thread events([&] {
        dispatcher.Post([&] { ran.push_back(std::this_thread::get_id()); });
        dispatcher.Post([] { throw EComPort(EComPort::Disconnected); });
        dispatcher.Post([&] { ran.push_back(std::this_thread::get_id()); });
    });
    events.join();
    EXPECT_TRUE(test::WaitUntil([&] { return ran.size() == 2; }));
    EXPECT_EQ(ran, (std::vector<std::thread::id>(2, std::this_thread::get_id())));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[0].text, "Device has been disconnected");
}

} // namespace
} // namespace lcdiag
