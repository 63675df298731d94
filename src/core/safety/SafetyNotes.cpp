#include "core/safety/SafetyNotes.h"

#include "core/app/Texts.h"

#include <algorithm>
#include <optional>

namespace lcdiag {

namespace {

constexpr TextId FirstNoteText = 8000;
constexpr int IncompatibilityNote = 5;

// The concatenated parts of the paragraph that starts at `block`, and how many there were.
std::pair<std::string, int> ParagraphText(const Texts& texts, TextId block) {
    std::string text;
    int parts = 0;
    while (texts.TextExists(block + static_cast<TextId>(parts))) {
        text += texts.GetText(block + static_cast<TextId>(parts));
        ++parts;
    }
    return {text, parts};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "#ccrr..." gives a table of cc columns and rr rows; nothing when it is plain text.
std::optional<NoteParagraph> TableParagraph(const std::string& text) {
    if (text.size() < 5 || text[0] != '#' ||
        !std::all_of(text.begin() + 1, text.begin() + 5, IsDigit)) {
        return std::nullopt;
    }
    const int columns = (text[1] - '0') * 10 + (text[2] - '0');
    const int rows = (text[3] - '0') * 10 + (text[4] - '0');
    return NoteParagraph{true, columns, rows, text.substr(5)};
}

} // namespace

SafetyNote AssembleSafetyNote(const Texts& texts, int mode, const NoteArgs& args) {
    SafetyNote note;
    note.number = std::clamp(mode, 0, SafetyNote::Count - 1) + 1;
    const auto n = static_cast<TextId>(note.number);
    note.title = texts.GetText(FirstNoteText + 50 + n);
    if (note.number != IncompatibilityNote) {
        note.checkBoxText = texts.GetText(FirstNoteText + n);
    }
    std::size_t nextArg = 0;
    for (TextId k = 0;;) {
        auto [text, parts] = ParagraphText(texts, FirstNoteText + 100 * n + 10 * k);
        if (parts == 0) {
            break;
        }
        k += 1 + static_cast<TextId>(parts / 10);
        if (const auto at = text.find("%s"); at != std::string::npos) {
            text.replace(at, 2, nextArg < args.size() ? args[nextArg] : std::string());
            ++nextArg;
        }
        const auto table = TableParagraph(text);
        if (!table) {
            note.paragraphs.push_back({false, 0, 0, text});
        } else if (table->columns > 0 && table->rows > 0) {
            note.paragraphs.push_back(*table);
        }
    }
    return note;
}

} // namespace lcdiag
