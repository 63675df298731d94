#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace lcdiag {

class Texts;

// What the About dialog shows of the program.
struct AboutTexts {
    std::string windowTitle;
    std::string productLabel; // "[logo]": the logo alone stands for the brand
    std::string deviceName;
    std::string manufacturerVersion; // "Manufacturer version" in that build, else empty
};

// The About dialog: one picture (Image1) with the brand, the version and the copyright, and
// an OK button (Button1). The main window makes it for each showing and frees it afterwards.
class TFRM_About final : public QDialog {
public:
    explicit TFRM_About(const Texts& language, QWidget* parent = nullptr);

    // Draws the picture and fits the dialog to it and the button.
    void SetUp(const AboutTexts& texts);

private:
    const Texts& language_;
    QLabel* Image1;
    QPushButton* Button1;
};

} // namespace lcdiag
