#pragma once

#include "core/app/Preferences.h"
#include "core/app/TLocaleFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lcdiag {

class Texts;

// The tag of the "Language" item of the File menu; its sub-items are tagged
// 10 x LanguageMenuTag + entry index + 1, so that 41 is the built-in language.
inline constexpr int LanguageMenuTag = 4;

// Start-up: lists the languages of the folders (in order of preference) and loads,
// read-only, the file that the preference "Lang" names when it is one of them (the names
// compared without regard to letter case); otherwise every text comes from the built-in table.
void SelectStartupLanguage(TLocaleFile& locale, std::vector<std::filesystem::path> folders,
                           PreferenceStore& store);

struct LanguageMenuItem {
    int tag = 0;
    std::string caption;
    bool checked = false;
};

// The radio items of the language menu, sorted by display name (letter case aside). The
// item of the loaded file is checked; with no file loaded, the built-in language.
std::vector<LanguageMenuItem> LanguageMenuItems(const TLocaleFile& locale);

// The user chose the item with the tag: its file name becomes the preference "Lang" (empty
// for the built-in language) and message 175 says that the change needs a restart. False
// for a tag of no item.
bool ChooseLanguage(const TLocaleFile& locale, int tag, PreferenceStore& store, const Texts& texts);

} // namespace lcdiag
