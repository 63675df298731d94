#include "core/app/LanguageSelection.h"

#include "core/app/TextLines.h"
#include "core/app/Texts.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace lcdiag {
namespace {

constexpr TextId RestartNeededMessage = 175;

// The entry of the file name: the exact spelling first, else one in other letter case.
std::optional<std::size_t> EntryOfFile(const TLocaleFile& locale, std::string_view fileName) {
    const auto& languages = locale.Languages();
    for (const bool exact : {true, false}) {
        for (std::size_t index = 0; index < languages.size(); ++index) {
            const std::string& name = languages[index].fileName;
            if (exact ? name == fileName : EqualsIgnoringCase(name, fileName)) {
                return index;
            }
        }
    }
    return std::nullopt;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

int TagOf(std::size_t index) {
    return 10 * LanguageMenuTag + static_cast<int>(index) + 1;
}

} // namespace

void SelectStartupLanguage(TLocaleFile& locale, std::vector<std::filesystem::path> folders,
                           PreferenceStore& store) {
    const std::string preferred = RegReadString(store, PreferenceKeyPath(), pref::Lang, "");
    locale.SetFolders(std::move(folders));
    locale.ListLanguages();
    const auto entry = preferred.empty() ? std::nullopt : EntryOfFile(locale, preferred);
    if (entry) {
        // The listed spelling: on Linux the file system tells letter cases apart.
        locale.Load(locale.Languages()[*entry].fileName, true);
    }
}

std::vector<LanguageMenuItem> LanguageMenuItems(const TLocaleFile& locale) {
    const auto& languages = locale.Languages();
    const auto checked = EntryOfFile(locale, locale.FileName());
    std::vector<LanguageMenuItem> items;
    for (std::size_t index = 0; index < languages.size(); ++index) {
        items.push_back({TagOf(index), languages[index].displayName, checked == index});
    }
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        return LessIgnoringCase(a.caption, b.caption);
    });
    return items;
}

bool ChooseLanguage(const TLocaleFile& locale, int tag, PreferenceStore& store,
                    const Texts& texts) {
    LanguageEntry entry;
    if (tag < TagOf(0) || !locale.GetLanguage(tag - TagOf(0), entry)) {
        return false;
    }
    RegWriteString(store, PreferenceKeyPath(), pref::Lang, entry.fileName);
    texts.ShowMessageId(msg::Information | RestartNeededMessage);
    return true;
}

} // namespace lcdiag
