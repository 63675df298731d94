#pragma once

#include "core/app/TextId.h"
#include "core/app/ZnaFile.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lcdiag {

// One language the user can choose.
struct LanguageEntry {
    std::string displayName;
    std::string fileName; // empty for the built-in language
    std::uint8_t flag = 0;
};

// The language files of a folder (".zna" in any letter case), by name, sorted; none when it
// cannot be read.
std::vector<std::string> LanguageFileNames(const std::filesystem::path& folder);

// The language texts of the program: reads and writes language files (".zna") in its folders
// and lists the languages found there. One instance lives for the whole run.
class TLocaleFile {
public:
    // Larger files are not read (a complete file of 8500 texts is about 1 MiB).
    static constexpr std::uintmax_t MaxFileSize = 64 * 1024 * 1024;

    TLocaleFile() = default;
    ~TLocaleFile(); // writes the file back when it was modified
    TLocaleFile(const TLocaleFile&) = delete;
    TLocaleFile& operator=(const TLocaleFile&) = delete;

    void SetFolder(std::filesystem::path folder) { folders_ = {std::move(folder)}; }
    // The folders in order of preference: a file name found in an earlier one hides the same
    // name in a later one; a file not found anywhere belongs to the first.
    void SetFolders(std::vector<std::filesystem::path> folders) { folders_ = std::move(folders); }
    const std::vector<std::filesystem::path>& Folders() const { return folders_; }

    // Loads a file of the folders. A missing, short or foreign file leaves every text empty
    // (lookups then fall back to the built-in texts); the language name is then the file
    // name without its extension. An empty file name loads nothing. Returns whether the file
    // was a complete language file.
    bool Load(const std::string& fileName, bool readOnly);
    // Writes the loaded file when it was modified and is not read-only (a read-only file
    // only forgets its modification). Returns false when it could not be written; the file
    // is replaced as a whole, so a failed write leaves the old one intact.
    bool Save();

    // Fills the language list: the built-in language, then every "*.zna" file of the folders
    // (sorted by file name; the extension in any letter case; a name once). Afterwards no file is
    // loaded. Returns the number of entries; with a file loaded it lists only the built-in language
    // and returns 0.
    int ListLanguages();
    int LanguageCount() const { return static_cast<int>(languages_.size()); }
    // Copies the entry at the index; an index out of range leaves entry unchanged and
    // returns false.
    bool GetLanguage(int index, LanguageEntry& entry) const;
    const std::vector<LanguageEntry>& Languages() const { return languages_; }

    // With a file loaded its text of the id (empty for ids above 65535), else the built-in
    // text of the id.
    const std::string& Lookup(TextId id) const;

    // Editing; each marks the file as modified. Ids above 65535 are ignored.
    void SetText(TextId id, std::string text);
    void SetAttribute(TextId id, std::uint8_t attribute);
    void SetLanguageName(std::string name);
    void SetHeaderFlag(bool flag);
    // Replaces name, flag, every text and every attribute.
    void Assign(LanguageData data);

    const LanguageData& Data() const { return data_; }
    const std::string& LanguageName() const { return data_.name; }
    bool HeaderFlag() const { return data_.headerFlag; }
    const std::string& FileName() const { return fileName_; }
    // Empty when no file is loaded.
    const std::filesystem::path& FullPath() const { return fullPath_; }
    bool Modified() const { return modified_; }
    bool ReadOnly() const { return readOnly_; }

private:
    void Unload();

    LanguageData data_;
    std::string fileName_;
    std::filesystem::path fullPath_;
    bool modified_ = false;
    bool readOnly_ = false;
    std::filesystem::path PathOf(const std::string& fileName) const;

    std::vector<std::filesystem::path> folders_;
    std::vector<LanguageEntry> languages_;
};

} // namespace lcdiag
