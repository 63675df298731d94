// The main window's use of the safety aids: the password before the user settings and on the
// menu, the calculator page, and the notice of an incompatible program.
#include "GuiTestSupport.h"
#include "core/safety/Password.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using test::EnterPassword;
using test::MainWindowTest;
using test::WhenModalShows;

// Counts the modal dialogs shown while it lives, and cancels them, so that a dialog that is
// not expected cannot hang the test.
class ModalCounter {
public:
    ModalCounter() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++count;
                modal->close();
            }
        });
        timer_.start();
    }
    int count = 0;

private:
    QTimer timer_;
};

template <typename W> W* Control(TFRM_Main& window, const char* name) {
    return window.findChild<W*>(QString::fromLatin1(name));
}

TEST_F(MainWindowTest, UserSettingsAskForThePasswordUntilItIsGiven) {
    auto window = MakeWindow();
    dialogs.shown.clear(); // the port the start-up could not open
    EnterPassword(QStringLiteral("curtain"));
    Click(*window, "MNU_P5");
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"An incorrect password was entered!"});

    EnterPassword(QStringLiteral("light-curtain"));
    Click(*window, "MNU_P5");
    EXPECT_EQ(window->ViewMode(), 4);

    ModalCounter dialogs;
    window->SetViewMode(1);
    window->SetViewMode(4); // unlocked for the rest of the run
    EXPECT_EQ(window->ViewMode(), 4);
    EXPECT_EQ(dialogs.count, 0);
}

TEST_F(MainWindowTest, ChangedPasswordIsStoredScrambledAndReported) {
    auto window = MakeWindow();
    dialogs.shown.clear(); // the port the start-up could not open
    WhenModalShows([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Change password"));
        const char* names[] = {"Edt_Pwd_1", "Edt_Pwd_2", "Edt_Pwd_3"};
        const char* entries[] = {"light-curtain", "guard", "guard"};
        for (int i = 0; i < 3; ++i) {
            dialog->findChild<QLineEdit*>(names[i])->setText(entries[i]);
        }
        dialog->findChild<QPushButton*>("Btn_Pwd_1")->click();
    });
    Click(*window, "MNU_P1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The password was successfully changed!"});
    EXPECT_EQ(preferences.Read("Password"), ScramblePassword(u"guard"));
}

TEST_F(MainWindowTest, CalculatorStartsAfreshAndExitsToThePageItCameFrom) {
    auto window = MakeWindow();
    dialogs.shown.clear();    // the port the start-up could not open
    Click(*window, "MNU_V2"); // the status view
    Click(*window, "MNU_P7");
    ASSERT_EQ(window->ViewMode(), 8);
    auto* resolution = Control<QLineEdit>(*window, "Edt_CSD_11");
    ASSERT_NE(resolution, nullptr);
    EXPECT_TRUE(resolution->isVisible() || !window->isVisible());
    EXPECT_TRUE(Control<QFrame>(*window, "Pnl_CalcSecurityDistance")
                    ->isAncestorOf(Control<QWidget>(*window, "Img_CSD_1")));
    resolution->setText("20");
    Control<QPushButton>(*window, "Btn_CSD_2")->click();
    EXPECT_EQ(window->ViewMode(), 7);

    Click(*window, "MNU_V1");
    Click(*window, "MNU_P7");
    EXPECT_EQ(resolution->text(), "14");
    EXPECT_EQ(Control<QLineEdit>(*window, "Edt_CSD_16")->text(), "100");
    Control<QPushButton>(*window, "Btn_CSD_2")->click();
    EXPECT_EQ(window->ViewMode(), 1);
}

TEST_F(MainWindowTest, IncompatibleProgramIsTheAdviceNoteWithOnlyOk) {
    auto window = MakeWindow();
    dialogs.shown.clear(); // the port the start-up could not open
    QString title;
    bool checkBoxShown = true;
    WhenModalShows([&](QWidget* dialog) {
        title = dialog->windowTitle();
        checkBoxShown = dialog->findChild<QCheckBox*>("CheckBox1")->isVisible();
        dialog->findChild<QPushButton*>("Button1")->click();
    });
    window->ShowIncompatibilityNotice("2.05");
    EXPECT_EQ(title, QStringLiteral("Advice"));
    EXPECT_FALSE(checkBoxShown);
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace lcdiag
