#pragma once

#include "core/safety/Password.h"
#include "platform/prefs/SodiumPasswordHasher.h"

#include <QDialog>
#include <QImage>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lcdiag {

class PreferenceStore;
class Texts;

// The password dialog: asks for the user settings password (mode 0), replaces it (mode 1) or
// asks for the factory password (mode 8). The caller reads PasswordResult after it closed:
// 0 cancelled or refused, 1 the user's password (mode 8: the factory code), 2 the service
// code (mode 8: any other entry). The user's password is kept as its hash in the preference
// "Password".
class TFRM_Password final : public QDialog {
public:
    TFRM_Password(PreferenceStore& preferences, const Texts& texts, QWidget* parent = nullptr);

    // The point size of the dialog's texts; set before InitForm.
    void SetFontSize(int points);
    // Clears the entries and lays the dialog out for the mode; before every showing.
    void InitForm(PasswordMode mode);

    PasswordMode Mode() const { return mode_; }
    int PasswordResult() const { return result_; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    bool Changing() const;
    void Caption();
    void LayOut();
    int LayOutChangeEntries(int top);
    void Btn_Pwd_1Click();
    bool StorePassword(const std::string& hash);

    PreferenceStore& preferences_;
    const Texts& texts_;
    SodiumPasswordHasher hasher_;
    PasswordMode mode_ = PasswordMode::UserSettings;
    int result_ = 0;
    int fontSize_ = 0;

    QLabel* Img_Pwd_1 = nullptr;
    QLabel* Lbl_Pwd_1 = nullptr;
    QLabel* Lbl_Pwd_2 = nullptr;
    QLabel* Lbl_Pwd_3 = nullptr;
    QLabel* Lbl_Pwd_4 = nullptr;
    QLineEdit* Edt_Pwd_1 = nullptr;
    QLineEdit* Edt_Pwd_2 = nullptr;
    QLineEdit* Edt_Pwd_3 = nullptr;
    QPushButton* Btn_Pwd_1 = nullptr;
    QPushButton* Btn_Pwd_2 = nullptr;
};

// The program's key icon (32 x 32), drawn.
QImage KeyIcon();

} // namespace lcdiag
