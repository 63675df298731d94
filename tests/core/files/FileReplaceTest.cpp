#include "core/files/FileReplace.h"

#include "../app/AppTestSupport.h"
#include "core/files/SettingsReport.h"

#include <gtest/gtest.h>
#include <string>

namespace lcdiag {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A shorter report over a longer file leaves nothing of the old one, and no temporary file.
TEST(SaveReport, WritesTheReportAndOneLineEndAsTheWholeFile) {
    const TempFolder temp;
    WriteFile(temp / "report.txt", Bytes(std::string(500, 'x')));
    fs::permissions(temp / "report.txt", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(SaveReport(temp / "report.txt", "Date: today\r\n\r\nEmitter \xE2\x82\xAC"));
    EXPECT_EQ(ReadFile(temp / "report.txt"), Bytes("Date: today\r\n\r\nEmitter \xE2\x82\xAC\r\n"));
    EXPECT_EQ(FileNames(temp.Path()), std::vector<std::string>{"report.txt"});
    EXPECT_EQ(fs::status(temp / "report.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// Whatever refuses the write leaves the folder as it was: a missing folder, a folder that is
// a file, a read-only file (refused even for root) and a target that is a folder (the
// temporary file is written but cannot take its place).
TEST(ReplaceFile, FailureLeavesEverythingAsItWas) {
    const TempFolder temp;
    WriteFile(temp / "file", Bytes("file"));
    WriteFile(temp / "read-only.txt", Bytes("old"));
    fs::permissions(temp / "read-only.txt", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(temp / "folder");
    const std::vector<std::string> before = FileNames(temp.Path());
    for (const fs::path& target : {temp / "missing" / "report.txt", temp / "file" / "report.txt",
                                   temp / "read-only.txt", temp / "folder"}) {
        EXPECT_FALSE(ReplaceFile(target, Bytes("new"))) << target;
    }
    EXPECT_EQ(FileNames(temp.Path()), before);
    EXPECT_EQ(ReadFile(temp / "read-only.txt"), Bytes("old"));
    EXPECT_TRUE(fs::is_empty(temp / "folder"));
}

// A file that happens to carry the temporary name belongs to someone else: it is neither
// overwritten nor removed.
TEST(ReplaceFile, LeavesFilesUnderTheTemporaryNameAlone) {
    const TempFolder temp;
    WriteFile(temp / "x.txt.tmp", Bytes("mine"));
    WriteFile(temp / "x.txt.tmp1", Bytes("mine too"));
    ASSERT_TRUE(ReplaceFile(temp / "x.txt", Bytes("report")));
    EXPECT_EQ(ReadFile(temp / "x.txt"), Bytes("report"));
    EXPECT_EQ(ReadFile(temp / "x.txt.tmp"), Bytes("mine"));
    EXPECT_EQ(ReadFile(temp / "x.txt.tmp1"), Bytes("mine too"));
    EXPECT_EQ(FileNames(temp.Path()).size(), 3u);
}

} // namespace
} // namespace lcdiag
