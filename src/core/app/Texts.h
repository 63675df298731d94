#pragma once

#include "core/app/Messages.h"
#include "core/app/TextFormat.h"
#include "core/app/TextId.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lcdiag {

class TLocaleFile;

// The language the text functions look texts up in; nullptr (the start) stands for the
// built-in texts alone. The locale must outlive its use.
void SetTextLocale(const TLocaleFile* locale);
// The dialogs the message functions show; nullptr (the start): nothing is shown and every
// message returns MessageResult::None.
void SetMessageDialogs(MessageDialogs* dialogs);

// The text of the id in the chosen language, per id falling back to the built-in English
// text. A backslash followed by "n" becomes a line break (CR LF). An id that neither holds
// shows the message "String resource %d not available!" and yields an empty text.
std::string GetText(TextId id);
// Whether the language or the built-in table holds a non-empty text for the id.
bool TextExists(TextId id);

// The text of the id used as a format string (see FormatText).
std::string GetTextInt(TextId id, std::int32_t value);
std::string GetTextStr(TextId id, const std::string& value);
std::string GetTextArgs(TextId id, const std::vector<TextArg>& args);

// Show the text of the code's id with the code's kind and buttons; the result is the button
// pressed. One message is shown at a time: a message asked for while one is open is
// dropped and yields MessageResult::None.
MessageResult ShowMessageId(MessageCode code);
MessageResult ShowMessageIdInt(MessageCode code, std::int32_t value);
MessageResult ShowMessageIdStr(MessageCode code, const std::string& value);
MessageResult ShowMessageIdArgs(MessageCode code, const std::vector<TextArg>& args);
// Shows the given text with the code's flags; an empty text shows "Unknown Fault!" as a
// fault.
MessageResult ShowMessageText(MessageCode code, const std::string& text);

} // namespace lcdiag
