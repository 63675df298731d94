#include "core/app/TLocaleFile.h"

#include "core/app/BuiltinTexts.h"
#include "core/files/FileReplace.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace lcdiag {
namespace {

bool HasLanguageExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".zna";
}

} // namespace

std::vector<std::string> LanguageFileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        std::error_code typeError;
        if (item.is_regular_file(typeError) && HasLanguageExtension(item.path())) {
            names.push_back(item.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

} // namespace

TLocaleFile::~TLocaleFile() {
    if (modified_) {
        Save();
    }
}

bool TLocaleFile::Load(const std::string& fileName, bool readOnly) {
    fileName_ = fileName;
    readOnly_ = readOnly;
    modified_ = false;
    data_ = LanguageData{};
    data_.name = std::filesystem::path(fileName).stem().string();
    fullPath_ = fileName.empty() ? std::filesystem::path{} : PathOf(fileName);
    if (fullPath_.empty()) {
        return false;
    }
    const auto bytes = ReadWholeFile(fullPath_, MaxFileSize);
    return bytes && DecodeZna(*bytes, data_);
}

bool TLocaleFile::Save() {
    if (!modified_ || fullPath_.empty()) {
        return true;
    }
    if (readOnly_) {
        modified_ = false;
        return true;
    }
    const auto bytes = EncodeZna(data_);
    if (!bytes) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(fullPath_.parent_path(), error);
    if (!ReplaceFile(fullPath_, *bytes)) {
        return false;
    }
    modified_ = false;
    return true;
}

int TLocaleFile::ListLanguages() {
    languages_ = {LanguageEntry{BuiltinText(1), "", 1}};
    if (!fullPath_.empty()) {
        return 0;
    }
    std::vector<std::string> names;
    for (const std::filesystem::path& folder : folders_) {
        for (std::string& name : LanguageFileNames(folder)) {
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(std::move(name));
            }
        }
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        Load(name, true);
        languages_.push_back({data_.name, fileName_, static_cast<std::uint8_t>(data_.headerFlag)});
    }
    Unload();
    return LanguageCount();
}

std::filesystem::path TLocaleFile::PathOf(const std::string& fileName) const {
    for (const std::filesystem::path& folder : folders_) {
        std::error_code error;
        if (std::filesystem::is_regular_file(folder / fileName, error)) {
            return folder / fileName;
        }
    }
    return (folders_.empty() ? std::filesystem::path{} : folders_.front()) / fileName;
}

bool TLocaleFile::GetLanguage(int index, LanguageEntry& entry) const {
    if (index < 0 || index >= LanguageCount()) {
        return false;
    }
    entry = languages_[static_cast<std::size_t>(index)];
    return true;
}

const std::string& TLocaleFile::Lookup(TextId id) const {
    if (fullPath_.empty()) {
        return BuiltinText(id);
    }
    return id < TextIdCount ? data_.texts[id] : EmptyText();
}

void TLocaleFile::SetText(TextId id, std::string text) {
    if (id < TextIdCount) {
        data_.texts[id] = std::move(text);
        modified_ = true;
    }
}

void TLocaleFile::SetAttribute(TextId id, std::uint8_t attribute) {
    if (id < TextIdCount) {
        data_.attributes[id] = attribute;
        modified_ = true;
    }
}

void TLocaleFile::SetLanguageName(std::string name) {
    data_.name = std::move(name);
    modified_ = true;
}

void TLocaleFile::SetHeaderFlag(bool flag) {
    data_.headerFlag = flag;
    modified_ = true;
}

void TLocaleFile::Assign(LanguageData data) {
    if (data.texts.size() == TextIdCount && data.attributes.size() == TextIdCount) {
        data_ = std::move(data);
        modified_ = true;
    }
}

void TLocaleFile::Unload() {
    data_ = LanguageData{};
    fileName_.clear();
    fullPath_.clear();
    modified_ = false;
}

} // namespace lcdiag
