#pragma once

#include "core/app/Messages.h"
#include "core/app/TextFormat.h"
#include "core/app/TextId.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lcdiag {

class TLocaleFile;

// The texts of the chosen language and the messages shown in it. Whoever shows a text or a
// message is handed one; the program has one for its run, a test one of its own.
class Texts {
public:
    // `locale` (nullptr: the built-in texts alone) and `dialogs` (nullptr: nothing is shown
    // and every message returns MessageResult::None) must outlive the object.
    explicit Texts(const TLocaleFile* locale = nullptr, MessageDialogs* dialogs = nullptr)
        : locale_(locale), dialogs_(dialogs) {}
    Texts(const Texts&) = delete;
    Texts& operator=(const Texts&) = delete;

    // The text of the id in the chosen language, per id falling back to the built-in English
    // text. A backslash followed by "n" becomes a line break (CR LF). An id that neither holds
    // shows the message "String resource %d not available!" and yields an empty text.
    std::string GetText(TextId id) const;
    // Whether the language or the built-in table holds a non-empty text for the id.
    bool TextExists(TextId id) const;

    // The text of the id used as a format string (see FormatText).
    std::string GetTextInt(TextId id, std::int32_t value) const;
    std::string GetTextStr(TextId id, const std::string& value) const;
    std::string GetTextArgs(TextId id, const std::vector<TextArg>& args) const;

    // Show the text of the code's id with the code's kind and buttons, the caption and the
    // button labels in the chosen language; the result is the button pressed. One message is
    // shown at a time: a message asked for while one is open is dropped and yields
    // MessageResult::None.
    MessageResult ShowMessageId(MessageCode code) const;
    MessageResult ShowMessageIdInt(MessageCode code, std::int32_t value) const;
    MessageResult ShowMessageIdStr(MessageCode code, const std::string& value) const;
    MessageResult ShowMessageIdArgs(MessageCode code, const std::vector<TextArg>& args) const;
    // Shows the given text with the code's flags; an empty text shows "Unknown Fault!" as a
    // fault.
    MessageResult ShowMessageText(MessageCode code, const std::string& text) const;

private:
    const std::string& Lookup(TextId id) const;
    void ReportMissingText(TextId id) const;
    DialogMessage Compose(MessageCode code, std::string text) const;

    const TLocaleFile* locale_;
    MessageDialogs* dialogs_;
    // Showing a message changes no text: the guard of the one open dialog is no part of the
    // texts' state.
    mutable bool dialogOpen_ = false;
};

} // namespace lcdiag
