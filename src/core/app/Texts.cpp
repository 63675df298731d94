#include "core/app/Texts.h"

#include "core/app/BuiltinTexts.h"
#include "core/app/TLocaleFile.h"

#include <utility>

namespace lcdiag {
namespace {

constexpr TextId MissingTextMessage = 103;
constexpr TextId UnknownFaultMessage = 101;

std::string WithLineBreaks(std::string text) {
    for (auto at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 2)) {
        text.replace(at, 2, "\r\n");
    }
    return text;
}

// Marks the dialog as open for the lifetime of the guard.
class OpenDialog {
public:
    explicit OpenDialog(bool& open) : open_(open) { open_ = true; }
    ~OpenDialog() { open_ = false; }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

private:
    bool& open_;
};

} // namespace

const std::string& Texts::Lookup(TextId id) const {
    return locale_ != nullptr ? locale_->Lookup(id) : BuiltinText(id);
}

void Texts::ReportMissingText(TextId id) const {
    std::string format = Lookup(MissingTextMessage);
    if (format.empty()) {
        format = "String-Ressource %d nicht vorhanden!";
    }
    const TextArg arg = std::int64_t{id};
    ShowMessageText(msg::Fault, FormatText(format, {&arg, 1}));
}

std::string Texts::GetText(TextId id) const {
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

bool Texts::TextExists(TextId id) const {
    return !Lookup(id).empty() || !BuiltinText(id).empty();
}

std::string Texts::GetTextInt(TextId id, std::int32_t value) const {
    return GetTextArgs(id, {std::int64_t{value}});
}

std::string Texts::GetTextStr(TextId id, const std::string& value) const {
    return GetTextArgs(id, {value});
}

std::string Texts::GetTextArgs(TextId id, const std::vector<TextArg>& args) const {
    return FormatText(GetText(id), args);
}

MessageResult Texts::ShowMessageId(MessageCode code) const {
    return ShowMessageText(code, GetText(MessageTextId(code)));
}

MessageResult Texts::ShowMessageIdInt(MessageCode code, std::int32_t value) const {
    return ShowMessageText(code, GetTextInt(MessageTextId(code), value));
}

MessageResult Texts::ShowMessageIdStr(MessageCode code, const std::string& value) const {
    return ShowMessageText(code, GetTextStr(MessageTextId(code), value));
}

MessageResult Texts::ShowMessageIdArgs(MessageCode code, const std::vector<TextArg>& args) const {
    return ShowMessageText(code, GetTextArgs(MessageTextId(code), args));
}

MessageResult Texts::ShowMessageText(MessageCode code, const std::string& text) const {
    if (dialogOpen_ || dialogs_ == nullptr) {
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
    const DialogMessage message = Compose(code, std::move(shown));
    const OpenDialog open(dialogOpen_);
    return dialogs_->Show(message);
}

// The caption of the kind and the label of every button, looked up before the dialog opens.
DialogMessage Texts::Compose(MessageCode code, std::string text) const {
    DialogMessage message;
    message.kind = KindOfMessage(code);
    message.caption = GetText(CaptionTextId(message.kind));
    message.text = std::move(text);
    const MessageButtons buttons = ButtonsOfMessage(code);
    for (const MessageResult button : ButtonResults(buttons)) {
        message.buttons.push_back({button, GetText(ButtonTextId(button))});
    }
    message.dismissed = DismissResult(buttons);
    return message;
}

} // namespace lcdiag
