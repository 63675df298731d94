#pragma once

#include "core/app/TextId.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lcdiag {

// A message code: the text id in the low 24 bits, the dialog flags in the high byte. The
// low nibble of the flags chooses the buttons, the high nibble the kind and caption.
using MessageCode = std::uint32_t;

// The four flag bytes the program uses, ready to be or-ed with a text id:
// ShowMessageId(msg::Warning | 143).
namespace msg {
inline constexpr MessageCode Fault = 0x10000000;        // fault, OK
inline constexpr MessageCode Confirmation = 0x24000000; // confirmation, Yes and No
inline constexpr MessageCode Warning = 0x30000000;      // warning, OK
inline constexpr MessageCode Information = 0x40000000;  // information, OK
} // namespace msg

enum class MessageKind { Fault, Confirmation, Warning, Information };
enum class MessageButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo };
// The button pressed; None when no dialog was shown.
enum class MessageResult {
    None = 0,
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7
};

constexpr TextId MessageTextId(MessageCode code) {
    return code & 0x00FFFFFF;
}
constexpr std::uint8_t MessageFlags(MessageCode code) {
    return static_cast<std::uint8_t>(code >> 24);
}

// High nibble 1-4 as named; 0 and the unused values count as a fault.
MessageKind KindOfMessage(MessageCode code);
// Low nibble 0-4 as named; the unused values show OK.
MessageButtons ButtonsOfMessage(MessageCode code);

// Texts of the dialog: the caption of a kind (300-303) and the label of a button (400-406;
// None has no label and yields 0).
TextId CaptionTextId(MessageKind kind);
TextId ButtonTextId(MessageResult button);

// The buttons a dialog shows, in order; the first is the default button.
std::vector<MessageResult> ButtonResults(MessageButtons buttons);
// The answer of a dialog closed without a choice: the button that does nothing.
MessageResult DismissResult(MessageButtons buttons);

// A message as a dialog shows it, every text already in the user's language.
struct DialogMessage {
    struct Button {
        MessageResult result;
        std::string label;
    };

    MessageKind kind = MessageKind::Fault;
    std::string caption;
    std::string text;
    std::vector<Button> buttons; // in order, the first is the default
    MessageResult dismissed = MessageResult::Ok;
};

// The messages seam: shows one modal dialog, centred on the screen, and returns the button
// pressed.
class MessageDialogs {
public:
    virtual ~MessageDialogs() = default;
    virtual MessageResult Show(const DialogMessage& message) = 0;
};

} // namespace lcdiag
