// The preference file as a user or another program may have left it: the program's reads of
// every preference must survive any content, and a write must change its value alone.
#include "platform/prefs/IniPreferenceStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace lcdiag;

// A folder of this process's own, removed at exit.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("lcdiag-fuzz-preferences-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct Values {
    std::string lang;
    std::int32_t resolution;
    std::int32_t dimensions;
    std::string comPort;
    std::string password;

    bool operator==(const Values&) const = default;
};

Values ReadAll(PreferenceStore& store) {
    const std::string& key = PreferenceKeyPath();
    return {RegReadString(store, key, pref::Lang, ""),
            RegReadInteger(store, key, pref::Resolution, 0),
            RegReadInteger(store, key, pref::Dimensions, 0),
            RegReadString(store, key, pref::ComPort, pref::DefaultComPort),
            RegReadString(store, key, pref::Password, "")};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder folder;
    const std::filesystem::path file = folder.Path() / "preferences.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    IniPreferenceStore store(file);
    Values before = ReadAll(store);
    const std::string port(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 20));
    if (!RegWriteString(store, PreferenceKeyPath(), pref::ComPort, port)) {
        std::abort();
    }
    before.comPort = port;
    if (ReadAll(store) != before) {
        std::abort();
    }
    return 0;
}
