// Writes valid inputs for every fuzz target into <folder>/<target>/, so that the fuzzers start
// from what devices, users and translators really bring: frames of every keyword and record,
// dialogue scripts built from them, language files, configuration files, mark-up texts, a
// preference file and a session recording. fuzz/run passes them to each run beside the kept corpus.
#include "core/app/BuiltinTexts.h"
#include "core/app/IniDocument.h"
#include "core/app/LanguageTextFile.h"
#include "core/app/Preferences.h"
#include "core/app/ZnaFile.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"
#include "core/safety/Password.h"
#include "core/session/SessionRecording.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace lcdiag;
using Bytes = std::vector<std::uint8_t>;

class SeedWriter {
public:
    explicit SeedWriter(std::filesystem::path folder) : folder_(std::move(folder)) {
        std::filesystem::create_directories(folder_);
    }
    // The seed's bytes, then the text.
    void Write(Bytes seed, std::string_view text = {}) {
        seed.insert(seed.end(), text.begin(), text.end());
        std::ofstream(folder_ / ("seed-" + std::to_string(count_++)), std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()),
                   static_cast<std::streamsize>(seed.size()));
    }

private:
    std::filesystem::path folder_;
    int count_ = 0;
};

const KeywordTable Keywords;
const RecordCodec Codec(Keywords.KeywordSum());
constexpr BlockKind RecordKinds[] = {BlockKind::Factory, BlockKind::Customer, BlockKind::CyclePart,
                                     BlockKind::Diagnostic};

// A long record of the kind with varied bytes, encoded for the line with a valid checksum.
Bytes EncodedRecord(BlockKind kind, Layout layout) {
    Bytes record(static_cast<std::size_t>(BlockLength(kind, Layout::Long)));
    for (std::size_t i = 0; i < record.size(); ++i) {
        record[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    Bytes encoded(static_cast<std::size_t>(BlockLength(kind, layout)));
    Codec.Encode(record, encoded, layout, kind);
    return encoded;
}

// Frame input: the layout and expected-ids byte, then the keyword and its record.
void WriteFrames(SeedWriter frames, SeedWriter connection) {
    for (Layout layout : {Layout::Short, Layout::Long}) {
        for (BlockKind kind : RecordKinds) {
            const Bytes record = EncodedRecord(kind, layout);
            for (int id = 0; id < KeywordTable::Count; ++id) {
                const std::string_view keyword = Keywords.Text(id);
                Bytes frame{static_cast<std::uint8_t>((layout == Layout::Long ? 0x80 : 0) +
                                                      (3 - id % 3) % 3)};
                frame.insert(frame.end(), keyword.begin(), keyword.end());
                frame.insert(frame.end(), record.begin(), record.end());
                frames.Write(frame);
                // The dialogue script: keyword id and record, time passing, the reporter.
                Bytes script{0, static_cast<std::uint8_t>(id),
                             static_cast<std::uint8_t>(std::min<std::size_t>(record.size(), 255))};
                script.insert(script.end(), record.begin(),
                              record.begin() + static_cast<std::ptrdiff_t>(script[2]));
                script.insert(script.end(), {3, 40, 0, 4, 6});
                connection.Write(script);
            }
        }
    }
}

LanguageData SmallLanguage() {
    LanguageData data;
    data.name = "Test";
    for (TextId id = 1; id < 40; ++id) {
        data.texts[id] = BuiltinText(id);
        data.attributes[id] = static_cast<std::uint8_t>(id % 3);
    }
    return data;
}

// The language-file target stands for a file from its header flag on with only the first
// 64 entries of the index (see LanguageFilesFuzz.cpp).
void WriteLanguageFiles(SeedWriter out) {
    constexpr std::size_t IndexPrefix = 8 * 64;
    constexpr std::size_t IndexSize = 8 * 65536;
    const Bytes file = *EncodeZna(SmallLanguage());
    const std::size_t indexStart = 20 + 2 * (file[16] | file[17] << 8);
    Bytes seed(file.begin() + 4,
               file.begin() + static_cast<std::ptrdiff_t>(indexStart + IndexPrefix));
    seed.insert(seed.end(), file.begin() + static_cast<std::ptrdiff_t>(indexStart + IndexSize),
                file.end());
    out.Write(seed);
}

std::string PreferenceFile() {
    const std::string section = IniSectionName(SelectRootKey(PreferenceKeyPath()));
    std::string document;
    for (auto [name, value] : {std::pair<std::string_view, std::string_view>{pref::Lang, "German"},
                               {pref::Resolution, "2"},
                               {pref::Dimensions, "1"},
                               {pref::ComPort, "ttyUSB0"},
                               {pref::Password, DefaultUserPasswordHash}}) {
        document = *IniWriteValue(document, section, name, value);
    }
    return document;
}

// The text-file target: 0 a language text, 1 a preference file, 2 a format string.
void WriteTextFiles(SeedWriter out) {
    out.Write({0}, WriteLanguageText(SmallLanguage()));
    out.Write({1}, PreferenceFile());
    for (TextId id = 1; id < TextIdCount; ++id) {
        if (BuiltinText(id).find('%') != std::string::npos) {
            out.Write({2}, BuiltinText(id));
        }
    }
}

// The choice byte asks for the checksums to be sealed; the header names unit and version.
void WriteConfigFiles(SeedWriter out) {
    const auto file = [](char unit, std::uint8_t version, std::size_t records) {
        Bytes seed{8, 'Z', 'C', 'F', static_cast<std::uint8_t>(unit), version, '1', 131, 0, 0, 0};
        for (std::size_t i = 0; i < records; ++i) {
            seed.push_back(static_cast<std::uint8_t>(i * 3));
        }
        return seed;
    };
    out.Write(file('R', 2, 212 + 152));
    out.Write(file('R', 1, 200 + 128));
    out.Write(file('E', 1, 64 + 22));
}

// Width, columns and rows, then a mark-up text of the safety notes; tables by their cells.
void WriteMarkup(SeedWriter out) {
    for (TextId id = 1; id < TextIdCount; ++id) {
        const std::string& text = BuiltinText(id);
        if (text.find('<') != std::string::npos) {
            const auto cells = std::count(text.begin(), text.end(), '|') + 1;
            out.Write({100, static_cast<std::uint8_t>(cells % 17), 1}, text);
        }
    }
}

// A recorded session: the port opens, a break, the start keyword, the line speed, then records
// from the device of every kind, and the port vanishes.
void WriteSessions(SeedWriter out) {
    using K = SessionEventKind;
    std::vector<SessionEvent> events = {{K::PortOpened, 0, 0, {}},
                                        {K::BreakOn, 1, 0, {}},
                                        {K::BreakOff, 150, 0, {}},
                                        {K::ToDevice, 151, 0, {'S', 'T', 'A', 'R', 'T'}},
                                        {K::LineSpeed, 280, 57600, {}}};
    std::uint32_t time = 300;
    for (const BlockKind kind : RecordKinds) {
        events.push_back({K::FromDevice, time += 12, 0, EncodedRecord(kind, Layout::Long)});
    }
    events.push_back({K::PortClosed, time + 40, 2, {}});
    out.Write(EncodeSession({SessionFormatVersion, "v4.30.0001", 1'796'000'000'000, 0}, events));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    WriteFrames(SeedWriter(folder / "frames"), SeedWriter(folder / "connection"));
    WriteLanguageFiles(SeedWriter(folder / "language_files"));
    WriteTextFiles(SeedWriter(folder / "text_files"));
    WriteConfigFiles(SeedWriter(folder / "config_files"));
    WriteMarkup(SeedWriter(folder / "markup"));
    SeedWriter(folder / "preferences").Write({}, PreferenceFile());
    WriteSessions(SeedWriter(folder / "sessions"));
    return 0;
}
