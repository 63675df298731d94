#pragma once

#include "core/app/TextId.h"
#include "core/device/CustomerRecordBuilder.h"
#include "core/safety/Password.h"
#include "core/views/LiveViewData.h"
#include "core/views/ViewMode.h"

#include <optional>
#include <string>

namespace lcdiag {

class ConnectionController;
class Texts;

enum class PageRedraw { None, IfChanged, Always };

// One page of the main window's central area: a live picture, a settings editor, the history
// or the calculator. The window keeps one page per view mode and shows one at a time.
class TPage {
public:
    virtual ~TPage() = default;

    // Whether the page may open now; it may ask the user first (a password). False leaves the
    // page on screen as it is.
    virtual bool Admit() { return true; }
    // Shows the page's controls and fills them, coming from `previous`; false when the page
    // could not be filled (the window then goes back to `previous`).
    virtual bool Enter(ViewMode previous) = 0;
    // Hides the page's controls; what the page edits stays until it is filled again.
    virtual void Leave() = 0;
    // Every 25 ms while the page is shown: `IfChanged` when the link's data may have changed
    // (a live picture is drawn again only when the data would draw differently), `Always`
    // when the page was just entered or something besides the data changed (the beam
    // window, the information panel, the unit).
    virtual void Sync(PageRedraw redraw) = 0;
    // A page that shows the connected unit's settings gives way to the bar view when the
    // dialogue with the unit starts afresh or reports an outcome.
    virtual bool ShowsUnitSettings() const { return false; }
};

// What the pages ask of the main window.
class TPageHost {
public:
    virtual ~TPageHost() = default;

    virtual bool SetViewMode(ViewMode mode, bool force = false) = 0;
    // Runs the 25 ms cycle at once, so that a page just entered shows its picture; with
    // `freshSupervision` the silence of the link is counted from now (the status view starts
    // without a time-out).
    virtual void RunTimerCycleNow(bool freshSupervision = false) = 0;
    virtual void RequestRedraw() = 0;
    // The dialogue with the connected unit and what it received.
    virtual ConnectionController& Link() = 0;
    // What the live pictures show, copied from the link now.
    virtual LiveViewData CurrentViewData() const = 0;
    // Lays the view area out again (a button's caption changed its width).
    virtual void ScrlBx_MainResize() = 0;
    // The password dialog in the mode; its PasswordResult (0 refused, 1 or 2 accepted).
    virtual int ShowPasswordDialog(PasswordMode mode) = 0;
    // Safety note `mode` + 1 for a setting being saved; true when the user confirmed it.
    virtual bool ConfirmSafetyNote(int mode) = 0;
    // The name of a file to save, chosen by the user with the filter of text `filter`
    // ("Text file (*.txt)|*.txt"); nothing when the choice was cancelled.
    virtual std::optional<std::string> ChooseFileToSave(TextId filter) = 0;
    // What every record the PC builds depends on: the controller's firmware, this program's
    // version, the PC's clock and the codec.
    virtual CustomerRecordContext RecordContext() = 0;
    virtual const Texts& Language() const = 0;
};

} // namespace lcdiag
