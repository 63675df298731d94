// Saves the safety aids as PNG files, to look at them:
//   lcdiag_safety_snapshots [folder] [screen profile]     (default /tmp/safety, profile 0)
// The five safety notes as the window shows them and as whole documents, the password dialog
// in its three modes, and the calculator page with the defaults and with refused inputs. The
// notes take their size from the screen: run under a larger virtual screen for the large
// window.
#include "core/app/Preferences.h"
#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "gui/safety/CalcSafetyDistance.h"
#include "gui/safety/DocImage.h"
#include "gui/safety/TFRM_Password.h"
#include "gui/safety/TFRM_Warnings.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <cstdio>
#include <optional>
#include <string>

using namespace lcdiag;

namespace {

// The store of the snapshots: nothing stored.
class NoPreferences : public PreferenceStore {
public:
    std::optional<std::string> ReadValue(const PreferenceKey&, std::string_view) override {
        return std::nullopt;
    }
    bool WriteValue(const PreferenceKey&, std::string_view, std::string_view) override {
        return false;
    }
};

bool Save(const QImage& picture, const QString& path) {
    const bool saved = picture.save(path);
    std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), picture.width(),
                picture.height());
    return saved;
}

QImage Grab(QWidget& widget) {
    widget.show();
    QApplication::processEvents();
    return widget.grab().toImage();
}

bool SaveNotes(const QString& folder) {
    bool saved = true;
    for (int mode = 0; mode < 5; ++mode) {
        TFRM_Warnings note;
        note.NoteMode = mode;
        note.SetNoteArg(0, "DVX-DVY 710, 712, 715");
        note.SetNoteArg(1, "2.05");
        const QString name = QStringLiteral("%1/note%2").arg(folder).arg(mode + 1);
        saved &= Save(Grab(note), name + QStringLiteral(".png"));
        saved &= Save(note.Document().Picture(), name + QStringLiteral("-document.png"));
        auto* bar = note.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"))->verticalScrollBar();
        bar->setValue(bar->maximum());
        note.Timer1Timer();
        saved &= Save(note.grab().toImage(), name + QStringLiteral("-end.png"));
    }
    return saved;
}

bool SavePasswords(const QString& folder, int profile) {
    NoPreferences store;
    bool saved = true;
    for (int mode : {0, 1, 8}) {
        TFRM_Password dialog(store);
        dialog.SetFontSize(ViewFont(profile, 10).pointSize);
        dialog.InitForm(mode);
        saved &= Save(Grab(dialog), QStringLiteral("%1/password%2.png").arg(folder).arg(mode));
    }
    return saved;
}

// The view size of the profile's window less a frame, as the main window leaves it.
QSize ViewSize(int profile) {
    const ScreenProfile& window = GetScreenProfile(profile);
    return {window.width - 16, window.height - 62};
}

bool SaveCalculator(const QString& folder, int profile) {
    QWidget frame;
    frame.resize(ViewSize(profile));
    TCalcSafetyDistance page(profile, ViewSize(profile), &frame);
    page.resize(ViewSize(profile));
    page.deviceResolution = [] { return std::string("30"); };
    bool saved = Save(Grab(frame), folder + QStringLiteral("/calculator.png"));
    page.findChild<QLineEdit*>(QStringLiteral("Edt_CSD_11"))->setText(QStringLiteral("41"));
    page.findChild<QLineEdit*>(QStringLiteral("Edt_CSD_12"))->setText(QString());
    page.findChild<QLineEdit*>(QStringLiteral("Edt_CSD_13"))->setText(QStringLiteral("100"));
    saved &= Save(Grab(frame), folder + QStringLiteral("/calculator-refused.png"));
    page.findChild<QLineEdit*>(QStringLiteral("Edt_CSD_11"))->setText(QStringLiteral("30"));
    page.findChild<QLineEdit*>(QStringLiteral("Edt_CSD_12"))->setText(QStringLiteral("5000"));
    page.findChild<QLineEdit*>(QStringLiteral("Edt_CSD_14"))->setText(QStringLiteral("200"));
    saved &= Save(Grab(frame), folder + QStringLiteral("/calculator-slow.png"));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/safety");
    const int profile = argc > 2 ? std::atoi(argv[2]) : 0;
    QDir().mkpath(folder);
    const bool saved =
        SaveNotes(folder) & SavePasswords(folder, profile) & SaveCalculator(folder, profile);
    return saved ? 0 : 1;
}
