#include "core/app/TLocaleFile.h"

#include "AppTestSupport.h"
#include "core/app/BuiltinTexts.h"
#include "core/app/ZnaFile.h"

#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace lcdiag {
namespace {

using test::TempFolder;
using test::WriteFile;

constexpr std::size_t IndexStart(std::size_t nameUnits) {
    return 20 + 2 * nameUnits;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

LanguageData SampleLanguage() {
    LanguageData data;
    data.name = "Deutsch";
    data.headerFlag = true;
    data.texts[0] = "zero";
    data.texts[101] = "Unbekannter Fehler!";
    data.texts[102] = "Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xF0\x9D\x84\x9E\r\nzweite Zeile";
    data.texts[65535] = "last";
    data.attributes[5] = 9; // an attribute without a text
    data.attributes[101] = 7;
    return data;
}

TEST(ZnaFile, WriterLayoutFollowsTheIndex) {
    const auto bytes = EncodeZna(SampleLanguage());
    ASSERT_TRUE(bytes);
    const std::vector<std::uint8_t> header(bytes->begin(), bytes->begin() + 8);
    EXPECT_EQ(header, (std::vector<std::uint8_t>{'Z', 'N', 'A', 1, 1, 0, 0, 0}));
    EXPECT_EQ(U32At(*bytes, 8), 0u);
    EXPECT_EQ(U32At(*bytes, 12), 65535u);
    ASSERT_EQ(U32At(*bytes, 16), 7u);
    EXPECT_EQ((*bytes)[20], 'D');
    EXPECT_EQ((*bytes)[21], 0);
    const std::size_t index = IndexStart(7);
    auto entry = [&](std::size_t id) { return index + 8 * id; };
    // id 0 "zero": 4 units at 0; id 101 at 8; id 102 after 19 more units; empty ids carry
    // the running offset.
    EXPECT_EQ(U32At(*bytes, entry(0)), 0u);
    EXPECT_EQ((*bytes)[entry(0) + 4], 4);
    EXPECT_EQ(U32At(*bytes, entry(5)), 8u);
    EXPECT_EQ((*bytes)[entry(5) + 4], 0);
    EXPECT_EQ((*bytes)[entry(5) + 6], 9);
    EXPECT_EQ(U32At(*bytes, entry(101)), 8u);
    EXPECT_EQ((*bytes)[entry(101) + 6], 7);
    EXPECT_EQ(U32At(*bytes, entry(102)), 8u + 2 * 19);
    const std::size_t textArea = index + 8 * 65536;
    EXPECT_EQ((*bytes)[textArea], 'z');
    EXPECT_EQ(bytes->size(), textArea + 2 * (4 + 19 + 24 + 4));
}

TEST(ZnaFile, WriterRefusesTextsTheIndexCannotHold) {
    LanguageData data;
    data.texts[7] = std::string(65535, 'x');
    EXPECT_TRUE(EncodeZna(data));
    data.texts[7] += 'x';
    EXPECT_FALSE(EncodeZna(data));
}

TEST(TLocaleFile, SavedFileLoadsBackTextForTextAndAttributeForAttribute) {
    const TempFolder temp;
    const LanguageData sample = SampleLanguage();
    {
        TLocaleFile writer;
        writer.SetFolder(temp / "Lang"); // Save creates the folder
        writer.Load("Deutsch.zna", false);
        writer.Assign(sample);
        EXPECT_TRUE(writer.Modified());
        EXPECT_TRUE(writer.Save());
        EXPECT_FALSE(writer.Modified());
    }
    TLocaleFile reader;
    reader.SetFolder(temp / "Lang");
    reader.Load("Deutsch.zna", true);
    EXPECT_EQ(reader.LanguageName(), "Deutsch");
    EXPECT_TRUE(reader.HeaderFlag());
    EXPECT_EQ(reader.Data().texts, sample.texts);
    EXPECT_EQ(reader.Data().attributes, sample.attributes);
    EXPECT_EQ(reader.Lookup(102), sample.texts[102]);
    EXPECT_EQ(reader.Lookup(1), ""); // a loaded file does not mix in the built-in texts
}

// A modified file is written when the locale goes; a read-only one never, and a file that
// cannot be written stays modified and reports the failure.
TEST(TLocaleFile, ChangesAreWrittenOnlyWhereTheyMay) {
    const TempFolder temp;
    {
        TLocaleFile locale;
        locale.SetFolder(temp.Path());
        locale.Load("x.zna", false);
        locale.SetText(4000, "Status");
    }
    TLocaleFile locale;
    locale.SetFolder(temp.Path());
    locale.Load("x.zna", true);
    EXPECT_EQ(locale.Lookup(4000), "Status");

    locale.Load("ro.zna", true);
    locale.SetText(1, "x");
    EXPECT_TRUE(locale.Save());
    EXPECT_FALSE(locale.Modified());
    EXPECT_FALSE(std::filesystem::exists(temp / "ro.zna"));

    WriteFile(temp / "file", {1});
    locale.SetFolder(temp / "file"); // a folder that is a file
    locale.Load("x.zna", false);
    locale.SetText(1, "x");
    EXPECT_FALSE(locale.Save());
    EXPECT_TRUE(locale.Modified());
}

// The program's folder, the system's and the user's: a name is listed once, from the first
// folder that holds it, and a new file goes to the first folder.
TEST(TLocaleFile, FoldersInOrderOfPreference) {
    const TempFolder temp;
    LanguageData beside = SampleLanguage();
    beside.name = "Beside";
    LanguageData system = SampleLanguage();
    system.name = "System";
    for (const char* folder : {"beside", "system", "user"}) {
        std::filesystem::create_directories(temp / folder);
    }
    WriteFile(temp / "beside" / "de.zna", *EncodeZna(beside));
    WriteFile(temp / "system" / "de.zna", *EncodeZna(system));
    WriteFile(temp / "system" / "fr.zna", *EncodeZna(system));
    WriteFile(temp / "user" / "cs.zna", *EncodeZna(system));
    TLocaleFile locale;
    locale.SetFolders({temp / "beside", temp / "missing", temp / "system", temp / "user"});
    ASSERT_EQ(locale.ListLanguages(), 4);
    std::vector<std::string> listed;
    for (const LanguageEntry& entry : locale.Languages()) {
        listed.push_back(entry.fileName + ":" + entry.displayName);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{":" + BuiltinText(1), "cs.zna:System",
                                                "de.zna:Beside", "fr.zna:System"}));
    EXPECT_TRUE(locale.Load("fr.zna", true));
    EXPECT_EQ(locale.FullPath(), temp / "system" / "fr.zna");
    locale.Load("new.zna", true);
    EXPECT_EQ(locale.FullPath(), temp / "beside" / "new.zna");
}

TEST(TLocaleFile, MissingShortAndForeignFilesLeaveEveryTextEmpty) {
    const TempFolder temp;
    auto bytes = *EncodeZna(SampleLanguage());
    WriteFile(temp / "short.zna", {'Z', 'N', 'A', 1, 1});
    bytes[3] = 2;
    WriteFile(temp / "version2.zna", bytes);
    bytes[3] = 1;
    bytes[0] = 'z';
    WriteFile(temp / "magic.zna", bytes);
    for (const std::string name : {"missing.zna", "short.zna", "version2.zna", "magic.zna"}) {
        SCOPED_TRACE(name);
        TLocaleFile locale;
        locale.SetFolder(temp.Path());
        locale.Load(name, true);
        EXPECT_EQ(locale.LanguageName(), name.substr(0, name.size() - 4));
        EXPECT_FALSE(locale.HeaderFlag());
        EXPECT_FALSE(locale.FullPath().empty());
        EXPECT_EQ(locale.Lookup(101), "");
    }
}

TEST(TLocaleFile, BrokenIndexesAreReadWithinTheFile) {
    const TempFolder temp;
    LanguageData data = SampleLanguage();
    data.name.clear(); // name length 0
    auto bytes = *EncodeZna(data);
    const std::size_t index = IndexStart(0);
    PutU32(bytes, index + 8 * 101, 0xFFFFFFF0); // starts past the end
    bytes[index + 4] = bytes[index + 5] = 0xFF; // id 0 runs past the end
    WriteFile(temp / "past.zna", bytes);
    bytes.resize(index + 8 * 1000); // the index ends early
    WriteFile(temp / "truncated.zna", bytes);

    TLocaleFile locale;
    locale.SetFolder(temp.Path());
    locale.Load("past.zna", true);
    EXPECT_EQ(locale.LanguageName(), "past");
    EXPECT_EQ(locale.Lookup(101), "");
    EXPECT_EQ(locale.Lookup(0), "");
    EXPECT_EQ(locale.Data().attributes[101], 7);
    EXPECT_EQ(locale.Lookup(102), data.texts[102]);
    EXPECT_EQ(locale.Lookup(65535), "last");
    EXPECT_EQ(locale.Lookup(65536), "");
    EXPECT_EQ(locale.Lookup(0x7FFFFFFF), "");

    locale.Load("truncated.zna", true);
    EXPECT_TRUE(locale.HeaderFlag());
    EXPECT_EQ(locale.Lookup(0), "");
}

TEST(ZnaFile, DamagedFilesNeverReadOutOfBounds) {
    const auto valid = *EncodeZna(SampleLanguage());
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        auto bytes = valid;
        for (int i = 0; i < 50; ++i) {
            const std::size_t at = random() % (round % 2 ? 600 : bytes.size());
            bytes[at] = static_cast<std::uint8_t>(random());
        }
        bytes.resize(random() % (bytes.size() + 1));
        LanguageData data;
        DecodeZna(bytes, data); // ASan and UBSan watch the reads
    }
    SUCCEED();
}

TEST(TLocaleFile, ListsTheBuiltinLanguageAndEveryLanguageFile) {
    const TempFolder temp;
    LanguageData beta;
    beta.name = "Beta";
    beta.headerFlag = true;
    WriteFile(temp / "b.zna", *EncodeZna(beta));
    WriteFile(temp / "A.ZNA", *EncodeZna(LanguageData{})); // name length 0
    auto version2 = *EncodeZna(beta);
    version2[3] = 2;
    WriteFile(temp / "v2.zna", version2);
    WriteFile(temp / "notes.txt", {1, 2});
    std::filesystem::create_directory(temp / "folder.zna");

    TLocaleFile locale;
    locale.SetFolder(temp.Path());
    ASSERT_EQ(locale.ListLanguages(), 4);
    std::vector<std::tuple<std::string, std::string, int>> listed;
    for (const LanguageEntry& language : locale.Languages()) {
        listed.emplace_back(language.displayName, language.fileName, language.flag);
    }
    const std::vector<std::tuple<std::string, std::string, int>> expected{
        {"English", "", 1}, {"A", "A.ZNA", 0}, {"Beta", "b.zna", 1}, {"v2", "v2.zna", 0}};
    EXPECT_EQ(listed, expected);
    // Listing loads no file: the built-in texts stay.
    EXPECT_TRUE(locale.FullPath().empty());
    EXPECT_EQ(locale.Lookup(101), "Unknown Fault!");
    EXPECT_EQ(locale.Lookup(70000), "");

    LanguageEntry entry{"unchanged", "", 0};
    EXPECT_FALSE(locale.GetLanguage(4, entry));
    EXPECT_FALSE(locale.GetLanguage(-1, entry));
    EXPECT_EQ(entry.displayName, "unchanged");

    locale.Load("b.zna", true);
    EXPECT_EQ(locale.ListLanguages(), 0);
    EXPECT_EQ(locale.LanguageCount(), 1);
}

} // namespace
} // namespace lcdiag
