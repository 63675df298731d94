// Saves the safety aids as PNG files, to look at them:
//   lcdiag_safety_snapshots [folder] [screen profile]     (default /tmp/safety, profile 0)
// The five safety notes as the window shows them and as whole documents, the password dialog
// in its three modes, and the calculator page with the defaults and with refused inputs. The
// notes take their size from the screen: run under a larger virtual screen for the large
// window.
#include "../SnapshotSupport.h"
#include "AppTestSupport.h"
#include "core/app/Texts.h"
#include "gui/safety/CalcSafetyDistance.h"
#include "gui/safety/DocImage.h"
#include "gui/safety/TFRM_Password.h"
#include "gui/safety/TFRM_Warnings.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>

using namespace lcdiag;
using lcdiag::snapshots::Save;

namespace {

const Texts English;

QImage Grab(QWidget& widget) {
    widget.show();
    QApplication::processEvents();
    return widget.grab().toImage();
}

bool SaveNotes(const QString& folder) {
    bool saved = true;
    for (int mode = 0; mode < 5; ++mode) {
        TFRM_Warnings note(English);
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
    test::MemoryPreferenceStore store;
    bool saved = true;
    for (PasswordMode mode :
         {PasswordMode::UserSettings, PasswordMode::ChangePassword, PasswordMode::Factory}) {
        TFRM_Password dialog(store, English);
        dialog.SetFontSize(ViewFont(profile, 10).pointSize);
        dialog.InitForm(mode);
        saved &= Save(Grab(dialog),
                      QStringLiteral("%1/password%2.png").arg(folder).arg(static_cast<int>(mode)));
    }
    return saved;
}

// The defaults, refused inputs and a slow approach, each with the device's resolution offered.
bool SaveCalculator(const QString& folder, int profile) {
    QWidget frame;
    frame.resize(snapshots::ViewSize(profile));
    TCalcSafetyDistance page(English, profile, snapshots::ViewSize(profile), &frame);
    page.resize(snapshots::ViewSize(profile));
    page.deviceResolution = [] { return std::string("30"); };
    const auto type = [&page](const char* field, const char* text) {
        page.findChild<QLineEdit*>(QString::fromLatin1(field))->setText(QString::fromLatin1(text));
    };
    bool saved = Save(Grab(frame), folder + QStringLiteral("/calculator.png"));
    type("Edt_CSD_11", "41");
    type("Edt_CSD_12", "");
    type("Edt_CSD_13", "100");
    saved &= Save(Grab(frame), folder + QStringLiteral("/calculator-refused.png"));
    type("Edt_CSD_11", "30");
    type("Edt_CSD_12", "5000");
    type("Edt_CSD_14", "200");
    saved &= Save(Grab(frame), folder + QStringLiteral("/calculator-slow.png"));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    snapshots::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const QString folder = snapshots::OutputFolder(argc, argv, "/tmp/safety");
    const int profile = argc > 2 ? std::atoi(argv[2]) : 0;
    const bool saved =
        SaveNotes(folder) & SavePasswords(folder, profile) & SaveCalculator(folder, profile);
    return saved ? 0 : 1;
}
