#pragma once

#include <optional>
#include <string>

namespace lcdiag {

// The files seam: the program asks the user for the name of a file.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // A file to save, offered with the filter ("Text file (*.txt)|*.txt": a description and
    // its pattern) and, when not empty, a name; nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFileToSave(const std::string& filter,
                                                        const std::string& offeredName) = 0;
    // An existing file to open, offered with the filter as above; nothing when the user
    // cancelled.
    virtual std::optional<std::string> ChooseFileToOpen(const std::string& filter) = 0;
};

} // namespace lcdiag
