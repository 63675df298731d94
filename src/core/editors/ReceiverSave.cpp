// Saving the receiver's user settings: the checks in their order, the safety notes, and the
// record completed from the page.
#include "core/app/Texts.h"
#include "core/editors/ReceiverSettings.h"

namespace lcdiag {
namespace {

using enum UserControl;

constexpr TextId UnknownController = 117;
constexpr TextId OneStartInterlock = 130;
constexpr TextId ManyFloatingBeamsNeedFirmware = 147;
constexpr TextId MutingNeedsVariant = 158;
constexpr TextId MutingOrCyclic = 159;
constexpr TextId ParallelNeedsShortCycle = 160;
constexpr TextId BusNeedsType3 = 161;
constexpr std::int32_t LongTime = 36000; // an hour, in tenths: longer times need a note

enum Note { FloatingBlankingNote = 0, MutingCycleNote = 1, ConveyorStopNote = 2, AccessNote = 3 };

constexpr std::uint8_t FloatingBits = 0x30;
constexpr std::uint8_t FloatingOne = 0x10;
constexpr std::uint8_t FloatingMore = 0x20;

} // namespace

std::optional<ReceiverCustomerRecord> ReceiverSettings::Save(const ReceiverSource& source,
                                                             const CustomerRecordContext& context) {
    if (!loaded_ || source.factory == nullptr || source.active == nullptr) {
        texts_.ShowMessageId(msg::Fault | UnknownController);
        return std::nullopt;
    }
    // The checks and the record go by the receiver as the link holds it now (another unit may
    // have answered since the page was loaded), and the bytes the pages do not own come from
    // its active record, also after "Default values".
    firmware_ = source.firmware;
    factory_ = *source.factory;
    record_ = *source.active;
    if (!CheckGeneral() || !CheckMuting()) {
        return std::nullopt;
    }
    return BuildRecord(context);
}

bool ReceiverSettings::CheckGeneral() {
    if (Checked(ChckBx_RUSG_11) && Checked(ChckBx_RUSG_12)) {
        return Refuse(msg::Warning | OneStartInterlock);
    }
    if (!CheckFloatingBeams()) {
        return false;
    }
    if ((Checked(ChckBx_RUSG_61) || Checked(ChckBx_RUSG_62)) && !firmware_.IsMutingVariant()) {
        return Refuse(msg::Fault | MutingNeedsVariant);
    }
    if (Checked(ChckBx_RUSG_61) && Checked(ChckBx_RUSG_62)) {
        return Refuse(msg::Fault | MutingOrCyclic);
    }
    return true;
}

// More floating beams than the device's own limit reduce the protection: the note must be
// confirmed, and firmware that cannot take them stores floating blanking as off.
bool ReceiverSettings::CheckFloatingBeams() {
    floatingBeamsStored_ = true;
    if (Value(Edt_RUSG_51) <= FloatingLimit()) {
        return true;
    }
    if (!notes_.ConfirmSafetyNote(FloatingBlankingNote)) {
        return false;
    }
    if (!firmware_.SupportsManyFloatingBeams()) {
        texts_.ShowMessageId(msg::Warning | ManyFloatingBeamsNeedFirmware);
        floatingBeamsStored_ = false;
    }
    return true;
}

bool ReceiverSettings::CheckMuting() {
    const bool parallel2 = Checked(RdBtn_RUSM_112);
    if (parallel2 && !Checked(ChckBx_RUSM_23)) {
        return Refuse(msg::Warning | ParallelNeedsShortCycle);
    }
    if (Checked(RdBtn_RUSM_313) && firmware_.typeDigit != 3) {
        return Refuse(msg::Warning | BusNeedsType3);
    }
    if (parallel2 && Checked(RdBtn_RUSM_122) && Checked(ChckBx_RUSM_23) &&
        Checked(ChckBx_RUSM_31) && !notes_.ConfirmSafetyNote(AccessNote)) {
        return false;
    }
    if (Value(M_RUSM_11) > LongTime && !notes_.ConfirmSafetyNote(MutingCycleNote)) {
        return false;
    }
    return Value(M_RUSM_21) <= LongTime || notes_.ConfirmSafetyNote(ConveyorStopNote);
}

// The loaded record with every control of the pages written into it, completed as every
// record the PC sends.
ReceiverCustomerRecord ReceiverSettings::BuildRecord(const CustomerRecordContext& context) const {
    ReceiverCustomerRecord record = record_;
    for (const UserControlRow& row : UserControlTable()) {
        WriteControl(record, row, Value(row.control), firmware_);
    }
    StoreFloatingBeams(record);
    const ReceiverCustomerEdits edits{fixedBlanking_, mutingArea_, Checked(ChckBx_RUSM_31)};
    CompleteReceiverCustomerRecord(record, factory_, edits, context);
    return record;
}

// One beam is a bit of its own; two or more a bit and their count, within the limit (the
// device's own, or the arrows' maximum when the firmware takes more). Anything else is off.
void ReceiverSettings::StoreFloatingBeams(ReceiverCustomerRecord& record) const {
    using F = ReceiverCustomerField;
    std::uint8_t functions = record.Byte(F::FunctionBits) & ~FloatingBits;
    const int count = Value(Edt_RUSG_51);
    const int limit =
        firmware_.SupportsManyFloatingBeams() ? Maximum(Edt_RUSG_51) : FloatingLimit();
    if (floatingBeamsStored_ && count == 0) {
        record.SetByte(F::FloatingBeams, 0);
    } else if (floatingBeamsStored_ && count == 1 && limit >= 1) {
        functions |= FloatingOne;
        record.SetByte(F::FloatingBeams, 1);
    } else if (floatingBeamsStored_ && count >= 2 && count <= limit) {
        functions |= FloatingMore;
        record.SetByte(F::FloatingBeams, static_cast<std::uint8_t>(count));
    }
    record.SetByte(F::FunctionBits, functions);
}

} // namespace lcdiag
