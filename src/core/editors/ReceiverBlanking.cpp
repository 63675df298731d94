// The beam selection of the receiver's pages: fixed blanking chosen by hand or taught, and
// the muting area taught, on the lines picture.
#include "core/app/Texts.h"
#include "core/device/DeviceType.h"
#include "core/editors/ReceiverSettings.h"

namespace lcdiag {
namespace {

using enum UserControl;

constexpr TextId SynchronisationBeam = 140;
constexpr TextId NoBeamsBlanked = 141;
constexpr TextId TooManyBlanked = 146;
constexpr TextId NoLinesBlanked = 170;

} // namespace

// Manual selection edits the fixed blanking; without blanking it starts from no beam blanked.
void ReceiverSettings::StartManualSelection() {
    if (!Checked(ChckBx_RUSG_41)) {
        fixedBlanking_ = FactoryBeamMask();
    }
    selectionMode_ = BeamSelectionMode::Manual;
    target_ = SelectionTarget::FixedBlanking;
}

void ReceiverSettings::StartTeachSelection(SelectionTarget target) {
    teach_ = FactoryBeamMask();
    target_ = target;
    if (!Checked(ChckBx_RUSG_41)) {
        TargetMask() = FactoryBeamMask();
    }
    selectionMode_ = BeamSelectionMode::Teach;
}

BeamSelection ReceiverSettings::Selection() const {
    const bool teach = selectionMode_ == BeamSelectionMode::Teach;
    const BeamMask& target =
        target_ == SelectionTarget::FixedBlanking ? fixedBlanking_ : mutingArea_;
    return {selectionMode_, teach ? teach_ : target, loadedBlanking_};
}

void ReceiverSettings::SetEditedMask(const BeamMask& mask) {
    if (selectionMode_ == BeamSelectionMode::Manual) {
        TargetMask() = mask;
    }
}

void ReceiverSettings::TeachFromCycle(const BeamMask& freeBeams) {
    if (selectionMode_ == BeamSelectionMode::Teach) {
        teach_ = freeBeams;
    }
}

// A refused or empty selection leaves nothing blanked; an empty one says so.
void ReceiverSettings::AcceptSelection(bool diagnosticData) {
    BeamMask& target = TargetMask();
    if (selectionMode_ == BeamSelectionMode::Teach) {
        target = teach_;
    }
    const std::optional<int> blanked = diagnosticData ? BlankedBeams(target) : 0;
    if (!blanked || *blanked == 0) {
        target = FactoryBeamMask();
    }
    if (blanked == 0) {
        const bool fixed = target_ == SelectionTarget::FixedBlanking;
        texts_.ShowMessageId(msg::Warning | (fixed ? NoBeamsBlanked : NoLinesBlanked));
    }
    const bool someBlanked = blanked.value_or(0) > 0;
    if (target_ == SelectionTarget::FixedBlanking) {
        Of(ChckBx_RUSG_41).value = someBlanked ? 1 : 0;
        fixedBlankingSet_ = someBlanked;
    } else if (!someBlanked) {
        Select(RdBtn_RUSM_311, true);
    }
}

// The beams the selection blanks: never the synchronisation beam, and no more than the
// factory allows; nothing, after the message that says why, when the selection is refused.
std::optional<int> ReceiverSettings::BlankedBeams(const BeamMask& selection) {
    const int beams = device_type::Beams(DeviceType(), BeamCount());
    if (beams > 0 && !selection.Test(0)) {
        texts_.ShowMessageId(msg::Warning | SynchronisationBeam);
        return std::nullopt;
    }
    const int blanked = beams - selection.CountSet(beams);
    if (blanked > factory_.Byte(ReceiverFactoryField::BlankingBeamsMax)) {
        texts_.ShowMessageId(msg::Warning | TooManyBlanked);
        return std::nullopt;
    }
    return blanked;
}

void ReceiverSettings::DiscardSelection() {
    TargetMask() = FactoryBeamMask();
    if (target_ == SelectionTarget::FixedBlanking) {
        Of(ChckBx_RUSG_41).value = 0;
        fixedBlankingSet_ = false;
    } else {
        Select(RdBtn_RUSM_311, true);
    }
}

BeamMask& ReceiverSettings::TargetMask() {
    return target_ == SelectionTarget::FixedBlanking ? fixedBlanking_ : mutingArea_;
}

} // namespace lcdiag
