#include "core/safety/Password.h"

#include "../QtTestSupport.h"
#include "gui/safety/TFRM_Password.h"
#include "platform/prefs/SodiumPasswordHasher.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lcdiag {
namespace {

using test::Child;

const std::string NoPassword = "No password was entered!";
const std::string WrongPassword = "An incorrect password was entered!";
const std::string TooShort = "The password must consist of at least 4 symbols!";
const std::string Mismatch = "The new password does not agree with the confirmation!";

class PasswordTest : public test::RecordedMessages {
protected:
    void Open(PasswordMode mode) {
        dialog.InitForm(mode);
        dialog.show();
    }
    // Types the entries (old or only, new, confirmation) and presses "OK".
    void Enter(const QString& password, const QString& newPassword = {},
               const QString& confirmation = {}) {
        Child<QLineEdit>(dialog, "Edt_Pwd_1")->setText(password);
        Child<QLineEdit>(dialog, "Edt_Pwd_2")->setText(newPassword);
        Child<QLineEdit>(dialog, "Edt_Pwd_3")->setText(confirmation);
        Child<QPushButton>(dialog, "Btn_Pwd_1")->click();
    }
    std::string Stored() {
        return RegReadString(preferences, PreferenceKeyPath(), pref::Password, "<none>");
    }

    test::MemoryPreferenceStore preferences;
    TFRM_Password dialog{preferences, texts};
};

TEST_F(PasswordTest, WithNothingStoredTheDefaultUnlocksAndAWrongEntryRefusesAndCloses) {
    Open(PasswordMode::UserSettings);
    Enter(QStringLiteral("light-curtain"));
    EXPECT_EQ(dialog.PasswordResult(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialogs.shown.empty());

    Open(PasswordMode::UserSettings);
    Enter({});
    EXPECT_EQ(Messages(), std::vector<std::string>{NoPassword});
    EXPECT_TRUE(dialog.isVisible());
    Enter(QStringLiteral("Light-curtain"));
    EXPECT_EQ(dialog.PasswordResult(), 0);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Messages(), (std::vector<std::string>{NoPassword, WrongPassword}));
    EXPECT_EQ(dialogs.shown.back().kind, MessageKind::Warning);
}

TEST_F(PasswordTest, CancelRefusesEvenAfterAnAcceptedShowing) {
    Open(PasswordMode::UserSettings);
    Enter(QStringLiteral("light-curtain"));
    Open(PasswordMode::UserSettings);
    EXPECT_EQ(dialog.PasswordResult(), 0);
    EXPECT_TRUE(Child<QLineEdit>(dialog, "Edt_Pwd_1")->text().isEmpty());
    Child<QPushButton>(dialog, "Btn_Pwd_2")->click();
    EXPECT_EQ(dialog.PasswordResult(), 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PasswordTest, ChangingRefusesForCorrectionsAndStoresTheNewPasswordsHash) {
    Open(PasswordMode::ChangePassword);
    Enter(QStringLiteral("wrong"), QStringLiteral("abcd"), QStringLiteral("abcd"));
    EXPECT_TRUE(dialog.isVisible());
    Enter(QStringLiteral("light-curtain"), QStringLiteral("abc"), QStringLiteral("abc"));
    EXPECT_TRUE(dialog.isVisible());
    Enter(QStringLiteral("light-curtain"), QStringLiteral("abcd"), QStringLiteral("ABCD"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Messages(), (std::vector<std::string>{WrongPassword, TooShort, Mismatch}));
    EXPECT_EQ(Stored(), "<none>");

    Enter(QStringLiteral("light-curtain"), QStringLiteral("abcd"), QStringLiteral("abcd"));
    EXPECT_EQ(dialog.PasswordResult(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(SodiumPasswordHasher().Verify("abcd", Stored()));
    EXPECT_EQ(Stored().find("abcd"), std::string::npos);

    Open(PasswordMode::UserSettings); // the new password replaces the default
    Enter(QStringLiteral("light-curtain"));
    EXPECT_EQ(dialog.PasswordResult(), 0);
    Open(PasswordMode::UserSettings);
    Enter(QStringLiteral("abcd"));
    EXPECT_EQ(dialog.PasswordResult(), 1);
}

// A password an earlier version stored scrambled opens once more and is replaced by its hash;
// a wrong entry leaves it as it is.
TEST_F(PasswordTest, OldScrambledPasswordOpensAndIsReplacedByItsHash) {
    RegWriteString(preferences, PreferenceKeyPath(), pref::Password, ScramblePassword(u"guard"));
    Open(PasswordMode::UserSettings);
    Enter(QStringLiteral("Guard"));
    EXPECT_EQ(dialog.PasswordResult(), 0);
    EXPECT_EQ(Stored(), ScramblePassword(u"guard"));

    Open(PasswordMode::UserSettings);
    Enter(QStringLiteral("guard"));
    EXPECT_EQ(dialog.PasswordResult(), 1);
    EXPECT_TRUE(SodiumPasswordHasher().Verify("guard", Stored()));
    Open(PasswordMode::UserSettings);
    Enter(QStringLiteral("guard"));
    EXPECT_EQ(dialog.PasswordResult(), 1);
}

TEST_F(PasswordTest, CaptionsAndEntriesFollowTheMode) {
    for (PasswordMode mode : {PasswordMode::ChangePassword, PasswordMode::UserSettings}) {
        const bool changing = mode == PasswordMode::ChangePassword;
        Open(mode);
        EXPECT_EQ(dialog.windowTitle(),
                  changing ? QStringLiteral("Change password") : QStringLiteral("Enter password"));
        for (const char* name : {"Lbl_Pwd_2", "Lbl_Pwd_3", "Lbl_Pwd_4", "Edt_Pwd_2", "Edt_Pwd_3"}) {
            EXPECT_EQ(Child<QWidget>(dialog, name)->isVisible(), changing) << name;
        }
        EXPECT_EQ(Child<QLineEdit>(dialog, "Edt_Pwd_1")->echoMode(), QLineEdit::Password);
    }
    EXPECT_EQ(Child<QLabel>(dialog, "Lbl_Pwd_1")->text(), QStringLiteral("Please enter password"));
    Open(PasswordMode::Factory);
    EXPECT_EQ(Child<QLabel>(dialog, "Lbl_Pwd_1")->text(), "Password for factory settings");
    Enter(QStringLiteral("LCD-factory-7013"));
    EXPECT_EQ(dialog.PasswordResult(), 1);
}

} // namespace
} // namespace lcdiag
