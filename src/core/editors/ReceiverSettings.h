#pragma once

#include "core/app/TextId.h"
#include "core/device/BeamMask.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/CustomerRecordBuilder.h"
#include "core/device/ReceiverCustomerRecord.h"
#include "core/device/ReceiverFactoryRecord.h"
#include "core/editors/OptionRules.h"
#include "core/editors/TimeField.h"
#include "core/editors/UserControls.h"
#include "core/views/LiveViewData.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace lcdiag {

class Texts;

// What the settings pages ask of the user beyond a message: the safety notes that must be read
// and confirmed before a setting that reduces the protection is saved.
class SafetyNotePrompt {
public:
    virtual ~SafetyNotePrompt() = default;
    // Note `mode` + 1: 0 floating blanking, 1 muting cycle time, 2 conveyor stop time, 3 access
    // to the danger zone during muting. True when the user confirmed it.
    virtual bool ConfirmSafetyNote(int mode) = 0;
};

// The receiver as the link last read it: what the pages load from and check against.
struct ReceiverSource {
    const ReceiverFactoryRecord* factory = nullptr; // null while no valid factory record is held
    const ReceiverCustomerRecord* active = nullptr; // null while no current configuration is held
    ControllerFirmware firmware;
};

// What the beam selection page edits: teach takes the interrupted beams over, manual lets the
// user click them; the target is the fixed blanking or the muting area.
enum class SelectionTarget { FixedBlanking = 0, MutingArea = 1 };

// The receiver's user settings pages (general, muting, cyclic operation) as data: the value,
// enabling and captions of every control, the masks and time fields, the tabs, and the option
// rules that tie the controls together. A change is either the user's (rules may show
// messages, ask questions and move the focus) or quiet (the loader's: rules make their
// automatic changes and show only the messages marked to show always).
class ReceiverSettings {
public:
    ReceiverSettings(const Texts& texts, SafetyNotePrompt& notes);

    // Fills every page from the active record (or, with `defaults`, from the default record
    // of the factory data), starting from a clean page. False, with its message shown, when
    // the unit's type or configuration is unknown; the page then stays as it was.
    bool Load(const ReceiverSource& source, bool defaults, const CustomerRecordContext& context);

    // The user's actions.
    void Click(UserControl control); // a check box toggled or a radio button selected
    void SetNumber(UserControl control, int value);
    TimeField& Time(UserControl control);
    // All time fields by index, for the arrows' acceleration.
    std::span<TimeField> Times() { return times_; }
    // The tab asked for, or the first when its function is off (with its message).
    int SelectTab(int index);

    // The save's checks in their order and the safety notes; the completed record when all
    // passed. `source` is the link's state now: without factory data or a current
    // configuration nothing can be saved.
    std::optional<ReceiverCustomerRecord> Save(const ReceiverSource& source,
                                               const CustomerRecordContext& context);

    // Beam selection (fixed blanking manual or teach, muting area teach).
    void StartManualSelection();
    void StartTeachSelection(SelectionTarget target);
    // What the lines picture shows and edits on the selection page.
    BeamSelection Selection() const;
    void SetEditedMask(const BeamMask& mask);
    // Teach: the beams the latest cycle reports free become the selection.
    void TeachFromCycle(const BeamMask& freeBeams);
    // Accept (with its checks and messages) or discard; either ends the selection.
    void AcceptSelection(bool diagnosticData);
    void DiscardSelection();
    // A user selection of "Teach sample" asks for the beam selection page; taken once.
    bool TakeSelectionRequest();

    // What the pages show.
    bool Loaded() const { return loaded_; }
    int Value(UserControl control) const;
    bool Checked(UserControl control) const { return Value(control) != 0; }
    bool Enabled(UserControl control) const;
    int Minimum(UserControl control) const;
    int Maximum(UserControl control) const;
    bool ManualSelectionEnabled() const { return manualEnabled_; }
    bool TeachSelectionEnabled() const { return teachEnabled_; }
    // The caption of the two special function boxes: 0 (their labels speak) or 3063.
    TextId SpecialFunctionCaption() const { return specialCaption_; }
    const std::vector<TextId>& Tabs() const { return tabs_; }
    int Tab() const { return tab_; }
    // The control the last user change asks to focus; taken once.
    std::optional<UserControl> TakeFocusRequest();
    const BeamMask& FixedBlankingMask() const { return fixedBlanking_; }
    const BeamMask& MutingAreaMask() const { return mutingArea_; }
    // Byte 205 of the factory data: "M" (77) forces multiple interruption during muting.
    bool FactoryForcesMultipleInterruption() const {
        return factory_.Byte(ReceiverFactoryField::MultipleInterruption) == 77;
    }
    const ControllerFirmware& Firmware() const { return firmware_; }

    // For the option rules: changes with their rules run.
    void Select(UserControl button, bool quiet);
    void SetChecked(UserControl box, bool checked, bool quiet);
    const Texts& Language() const { return texts_; }
    void RequestFocus(UserControl control) { focus_ = control; }
    void RequestSelection() { selectionRequested_ = true; }

private:
    friend void ApplyOptionRules(ReceiverSettings&, UserControl, OptionChange, bool);

    struct Control {
        int value = 0;
        bool enabled = true;
        int minimum = 0;
        int maximum = 0;
    };

    Control& Of(UserControl control) { return controls_[static_cast<std::size_t>(control)]; }
    const Control& Of(UserControl control) const {
        return controls_[static_cast<std::size_t>(control)];
    }
    void Clean();
    bool TakeRecord(const ReceiverSource& source, bool defaults,
                    const CustomerRecordContext& context);
    void LoadGeneral();
    void LoadFixedBlanking(bool defaults);
    void LoadFloatingBeams();
    void EnableGeneral();
    void LoadMutingAndCyclic();
    void LoadMutingDefaults();
    void LoadMutingFromRecord();
    void LoadFromRecord(UserControl control);
    void LoadSpecialFunctions();
    void BuildTabs();
    void ChangeSpecialFunction(UserControl box, bool checked);
    void ChangeFixedBlankingBox(bool checked);
    bool Refuse(std::uint32_t message);
    bool CheckGeneral();
    bool CheckFloatingBeams();
    bool CheckMuting();
    void StoreFloatingBeams(ReceiverCustomerRecord& record) const;
    ReceiverCustomerRecord BuildRecord(const CustomerRecordContext& context) const;
    int FloatingLimit() const;
    BeamMask& TargetMask();
    std::optional<int> BlankedBeams(const BeamMask& selection);
    BeamMask FactoryBeamMask() const;
    int DeviceType() const;
    int BeamCount() const;

    const Texts& texts_;
    SafetyNotePrompt& notes_;
    bool loaded_ = false;
    ControllerFirmware firmware_;
    ReceiverFactoryRecord factory_;
    ReceiverCustomerRecord record_; // the record loaded, then the active record a save builds on
    std::array<Control, UserControlCount> controls_{};
    TimeFields times_ = MakeTimeFields(); // the five of these pages: indices 0 to 4
    bool fixedBlankingSet_ = false;       // the box's marker: blanking chosen by a beam selection
    bool floatingBeamsStored_ = true;     // false when a save found floating beams unsupported
    bool manualEnabled_ = true;
    bool teachEnabled_ = true;
    TextId specialCaption_ = 0;
    std::vector<TextId> tabs_;
    int tab_ = 0;
    std::optional<UserControl> focus_;
    bool selectionRequested_ = false;
    bool guard_ = false; // the special function boxes' handler is not re-entered
    int ruleDepth_ = 0;  // how deep the option rules run inside each other
    BeamMask fixedBlanking_;
    BeamMask loadedBlanking_;
    BeamMask mutingArea_;
    BeamMask teach_;
    BeamSelectionMode selectionMode_ = BeamSelectionMode::Manual;
    SelectionTarget target_ = SelectionTarget::FixedBlanking;
};

} // namespace lcdiag
