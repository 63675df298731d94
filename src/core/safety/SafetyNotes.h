#pragma once

#include <array>
#include <string>
#include <vector>

namespace lcdiag {

class Texts;

// One paragraph of a safety note: mark-up text, or a grid table of columns x rows cells.
struct NoteParagraph {
    bool table = false;
    int columns = 0;
    int rows = 0;
    std::string text;

    bool operator==(const NoteParagraph&) const = default;
};

// A safety note as the dialog shows it, assembled from the texts of the language.
struct SafetyNote {
    static constexpr int Count = 5;

    int number = 1;           // 1-5
    std::string title;        // text 8050 + number
    std::string checkBoxText; // text 8000 + number; empty for note 5, which has no check box
    std::vector<NoteParagraph> paragraphs;
};

// The texts put in place of "%s", one per paragraph that holds it, in order.
using NoteArgs = std::array<std::string, 5>;

// Note `mode` + 1 (mode 0-4). Paragraph k is made of the texts 8000 + 100 n + 10 k, + 1,
// + 2, ... as long as they exist; a paragraph of ten parts or more takes the next block's ids
// too. "#ccrr" at a paragraph's start makes it a table (left out when cc or rr is 0).
SafetyNote AssembleSafetyNote(const Texts& texts, int mode, const NoteArgs& args);

} // namespace lcdiag
