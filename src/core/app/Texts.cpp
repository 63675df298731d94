#include "core/app/Texts.h"

#include "core/app/BuiltinTexts.h"
#include "core/app/TLocaleFile.h"

namespace lcdiag {
namespace {

constexpr TextId MissingTextMessage = 103;
constexpr TextId UnknownFaultMessage = 101;

const TLocaleFile* activeLocale = nullptr;
MessageDialogs* activeDialogs = nullptr;
bool dialogOpen = false;

const std::string& Lookup(TextId id) {
    return activeLocale != nullptr ? activeLocale->Lookup(id) : BuiltinText(id);
}

std::string WithLineBreaks(std::string text) {
    for (auto at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 2)) {
        text.replace(at, 2, "\r\n");
    }
    return text;
}

void ReportMissingText(TextId id) {
    std::string format = Lookup(MissingTextMessage);
    if (format.empty()) {
        format = "String-Ressource %d nicht vorhanden!";
    }
    const TextArg arg = std::int64_t{id};
    ShowMessageText(msg::Fault, FormatText(format, {&arg, 1}));
}

// Marks the dialog as open for the lifetime of the guard.
class OpenDialog {
public:
    OpenDialog() { dialogOpen = true; }
    ~OpenDialog() { dialogOpen = false; }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;
};

} // namespace

void SetTextLocale(const TLocaleFile* locale) {
    activeLocale = locale;
}

void SetMessageDialogs(MessageDialogs* dialogs) {
    activeDialogs = dialogs;
}

std::string GetText(TextId id) {
    std::string text = Lookup(id);
    if (text.empty()) {
        text = BuiltinText(id);
    }
    if (text.empty()) {
        ReportMissingText(id);
        return {};
    }
    return WithLineBreaks(std::move(text));
}

bool TextExists(TextId id) {
    return !Lookup(id).empty() || !BuiltinText(id).empty();
}

std::string GetTextInt(TextId id, std::int32_t value) {
    return GetTextArgs(id, {std::int64_t{value}});
}

std::string GetTextStr(TextId id, const std::string& value) {
    return GetTextArgs(id, {value});
}

std::string GetTextArgs(TextId id, const std::vector<TextArg>& args) {
    return FormatText(GetText(id), args);
}

MessageResult ShowMessageId(MessageCode code) {
    return ShowMessageText(code, GetText(MessageTextId(code)));
}

MessageResult ShowMessageIdInt(MessageCode code, std::int32_t value) {
    return ShowMessageText(code, GetTextInt(MessageTextId(code), value));
}

MessageResult ShowMessageIdStr(MessageCode code, const std::string& value) {
    return ShowMessageText(code, GetTextStr(MessageTextId(code), value));
}

MessageResult ShowMessageIdArgs(MessageCode code, const std::vector<TextArg>& args) {
    return ShowMessageText(code, GetTextArgs(MessageTextId(code), args));
}

MessageResult ShowMessageText(MessageCode code, const std::string& text) {
    if (dialogOpen || activeDialogs == nullptr) {
        return MessageResult::None;
    }
    std::string shown = text;
    if (shown.empty()) {
        shown = GetText(UnknownFaultMessage);
        code = msg::Fault;
    }
    if (shown.empty()) {
        shown = "Unbekannter Fehler!";
    }
    const OpenDialog open;
    return activeDialogs->Show(KindOfMessage(code), ButtonsOfMessage(code), shown);
}

} // namespace lcdiag
