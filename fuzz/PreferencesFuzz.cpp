// The preference file as a user or another program may have left it: the program's reads of
// every preference must survive any content, and a write must change its value alone.
#include "AppTestSupport.h"
#include "platform/prefs/IniPreferenceStore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace lcdiag;

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
    static const test::TempFolder folder;
    const std::filesystem::path file = folder / "preferences.ini";
    test::WriteFile(file, {data, data + size});
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
