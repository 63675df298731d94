#pragma once

#include "core/app/IniDocument.h"
#include "core/app/Messages.h"
#include "core/app/Preferences.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace lcdiag::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("lcdiag-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The in-memory preference store: one INI document held as a string.
class MemoryPreferenceStore : public PreferenceStore {
public:
    std::string document;

    std::optional<std::string> ReadValue(const PreferenceKey& key, std::string_view name) override {
        return IniReadValue(document, IniSectionName(key), name);
    }
    bool WriteValue(const PreferenceKey& key, std::string_view name,
                    std::string_view value) override {
        auto changed = IniWriteValue(document, IniSectionName(key), name, value);
        if (changed) {
            document = std::move(*changed);
        }
        return changed.has_value();
    }
};

// Records every dialog and answers with a scripted button; onShow runs while the dialog is
// "open".
class RecordingDialogs : public MessageDialogs {
public:
    struct Shown {
        MessageKind kind;
        std::vector<MessageResult> buttons;
        std::string text;
    };
    std::vector<Shown> shown;
    std::vector<DialogMessage> messages; // as the dialogs got them, captions and labels too
    MessageResult answer = MessageResult::Ok;
    std::function<void()> onShow;

    MessageResult Show(const DialogMessage& message) override {
        std::vector<MessageResult> buttons;
        for (const auto& button : message.buttons) {
            buttons.push_back(button.result);
        }
        shown.push_back({message.kind, buttons, message.text});
        messages.push_back(message);
        if (onShow) {
            onShow();
        }
        return answer;
    }
};

} // namespace lcdiag::test
