#pragma once

namespace lcdiag {

// The save and confirm buttons of the settings pages, as plain data the pages mirror. The
// confirm captions count down: text 2002 (factory pages) and 3002 (customer pages) with the
// seconds left. The factory pages' "Update" buttons (Btn_RFS_5, Btn_EFS_3) follow the
// validity of the received factory records instead.
struct EditorButtons {
    bool Btn_RFS_1 = false; // receiver factory: save
    bool Btn_RFS_2 = false; // receiver factory: confirm
    bool Btn_EFS_1 = false; // emitter factory: save
    bool Btn_EFS_2 = false; // emitter factory: confirm
    bool Btn_RUS_1 = true;  // receiver customer: save
    bool Btn_RUS_2 = false; // receiver customer: confirm
    bool Btn_EUS_1 = true;  // emitter customer: save
    bool Btn_EUS_2 = false; // emitter customer: confirm
    int factoryConfirmSeconds = 10;
    int customerConfirmSeconds = 10;
    // The factory save buttons come back once the link is in diagnosis again.
    bool factorySaveReenable = true;

    bool operator==(const EditorButtons&) const = default;
};

} // namespace lcdiag
