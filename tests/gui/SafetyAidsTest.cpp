// The main window's use of the safety aids: the password before the user settings and on the
// menu, the calculator page, and the notice of an incompatible program.
#include "GuiTestSupport.h"
#include "platform/prefs/SodiumPasswordHasher.h"

#include <QCheckBox>

namespace lcdiag {
namespace {

using test::Child;
using test::EnterPassword;
using test::MainWindowTest;
using test::WhenModalShows;

TEST_F(MainWindowTest, UserSettingsAskForThePasswordUntilItIsGivenAndNeedTheUnit) {
    auto offline = MakeWindow();
    dialogs.shown.clear(); // the port the start-up could not open
    EnterPassword(QStringLiteral("light-curtain"));
    Click(*offline, "MNU_P5");
    EXPECT_EQ(offline->CurrentViewMode(), ViewMode::Bar);
    EXPECT_EQ(Messages(), std::vector<std::string>{"No data can be transmitted, as long as the "
                                                   "controller type is unknown!"});
    offline.reset();

    auto window = MakeLiveWindow();
    dialogs.shown.clear();
    EnterPassword(QStringLiteral("curtain"));
    Click(*window, "MNU_P5");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::Bar);
    EXPECT_EQ(Messages(), std::vector<std::string>{"An incorrect password was entered!"});

    EnterPassword(QStringLiteral("LCD-service-2026")); // the service code unlocks as well
    Click(*window, "MNU_P5");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::CustomerSettings);

    test::ModalCloser modals; // unlocked for the rest of the run
    window->SetViewMode(ViewMode::Bar);
    window->SetViewMode(ViewMode::CustomerSettings);
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::CustomerSettings);
    EXPECT_EQ(modals.count, 0);
}

TEST_F(MainWindowTest, ChangedPasswordIsStoredAsItsHashAndReported) {
    auto window = MakeWindow();
    dialogs.shown.clear();
    WhenModalShows([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Change password"));
        Child<QLineEdit>(*dialog, "Edt_Pwd_1")->setText("light-curtain");
        Child<QLineEdit>(*dialog, "Edt_Pwd_2")->setText("guard");
        Child<QLineEdit>(*dialog, "Edt_Pwd_3")->setText("guard");
        Child<QPushButton>(*dialog, "Btn_Pwd_1")->click();
    });
    Click(*window, "MNU_P1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The password was successfully changed!"});
    EXPECT_TRUE(SodiumPasswordHasher().Verify("guard", preferences.Read("Password")));
}

// A new password that cannot be written is no change: the user is told so, never of a
// success, and the old password still opens the user settings.
TEST_F(MainWindowTest, PasswordThatCannotBeStoredChangesNothing) {
    auto window = MakeLiveWindow();
    dialogs.shown.clear();
    preferences.writesFail = true;
    WhenModalShows([](QWidget* dialog) {
        Child<QLineEdit>(*dialog, "Edt_Pwd_1")->setText("light-curtain");
        Child<QLineEdit>(*dialog, "Edt_Pwd_2")->setText("guard");
        Child<QLineEdit>(*dialog, "Edt_Pwd_3")->setText("guard");
        Child<QPushButton>(*dialog, "Btn_Pwd_1")->click();
    });
    Click(*window, "MNU_P1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The new password could not be stored.\r\n"
                                                   "The old password remains valid."});
    EXPECT_EQ(dialogs.shown.at(0).kind, MessageKind::Fault);
    EXPECT_EQ(preferences.Read("Password"), "<none>");

    EnterPassword(QStringLiteral("light-curtain"));
    Click(*window, "MNU_P5");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::CustomerSettings);
}

TEST_F(MainWindowTest, CalculatorStartsAfreshAndExitsToThePageItCameFrom) {
    auto window = MakeWindow();
    Click(*window, "MNU_V2"); // the status view
    Click(*window, "MNU_P7");
    ASSERT_EQ(window->CurrentViewMode(), ViewMode::Calculator);
    auto* resolution = Child<QLineEdit>(*window, "Edt_CSD_11");
    ASSERT_NE(resolution, nullptr);
    resolution->setText("20");
    Child<QPushButton>(*window, "Btn_CSD_2")->click();
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::Status);

    Click(*window, "MNU_V1");
    Click(*window, "MNU_P7");
    EXPECT_EQ(resolution->text(), "14");
    Child<QPushButton>(*window, "Btn_CSD_2")->click();
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::Bar);
}

TEST_F(MainWindowTest, IncompatibleProgramIsTheAdviceNoteWithOnlyOk) {
    auto window = MakeWindow();
    dialogs.shown.clear();
    QString title;
    bool checkBoxShown = true;
    WhenModalShows([&](QWidget* dialog) {
        title = dialog->windowTitle();
        checkBoxShown = Child<QCheckBox>(*dialog, "CheckBox1")->isVisible();
        Child<QPushButton>(*dialog, "Button1")->click();
    });
    window->ShowIncompatibilityNotice("2.05");
    EXPECT_EQ(title, QStringLiteral("Advice"));
    EXPECT_FALSE(checkBoxShown);
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace lcdiag
