#include "tools/LangTool.h"

#include "AppTestSupport.h"
#include "core/app/TLocaleFile.h"
#include "core/app/Texts.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace lcdiag {
namespace {

using test::TempFolder;

int RunTool(std::vector<std::string> args, std::string* errors = nullptr) {
    std::ostringstream err;
    const int code = RunLangTool(args, err);
    if (errors != nullptr) {
        *errors = err.str();
    }
    return code;
}

std::string ReadAll(const std::filesystem::path& path) {
    const auto bytes = test::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

TEST(LangTool, ATranslationBuiltByTheToolIsListedAndLoaded) {
    const TempFolder temp;
    const std::string english = (temp / "english.txt").string();
    ASSERT_EQ(RunTool({"export", english}), 0);
    std::string text = ReadAll(english);
    ASSERT_NE(text.find("name=\"English\""), std::string::npos);
    ASSERT_NE(text.find("101=\"Unknown Fault!\"\n"), std::string::npos);
    ASSERT_NE(text.find("112=\"An error occurred during the transfer of the manufacturer "
                        "data!\\r\\nPlease try again!\"\n"),
              std::string::npos);

    const std::string translation = (temp / "deutsch.txt").string();
    test::WriteFile(translation, [] {
        const std::string source = "[language]\nname=\"Deutsch\"\n[texts]\n"
                                   "101=\"Unbekannter Fehler!\"\n3001=\"Speichern\\nnun\"\n";
        return std::vector<std::uint8_t>(source.begin(), source.end());
    }());
    std::filesystem::create_directory(temp / "Lang");
    ASSERT_EQ(RunTool({"build", translation, (temp / "Lang/Deutsch.zna").string()}), 0);

    TLocaleFile locale;
    locale.SetFolder(temp / "Lang");
    ASSERT_EQ(locale.ListLanguages(), 2);
    EXPECT_EQ(locale.Languages()[1].displayName, "Deutsch");
    EXPECT_TRUE(locale.Load(locale.Languages()[1].fileName, true));
    const Texts texts(&locale);
    EXPECT_EQ(texts.GetText(101), "Unbekannter Fehler!");
    EXPECT_EQ(texts.GetText(3001), "Speichern\nnun");
    EXPECT_EQ(texts.GetText(102), "Could not open COM-Port!");

    const std::string back = (temp / "back.txt").string();
    ASSERT_EQ(RunTool({"export", (temp / "Lang/Deutsch.zna").string(), back}), 0);
    EXPECT_NE(ReadAll(back).find("3001=\"Speichern\\nnun\"\n"), std::string::npos);
}

TEST(LangTool, ReportsWhatWentWrong) {
    const TempFolder temp;
    std::string errors;
    const std::string broken = (temp / "broken.txt").string();
    test::WriteFile(broken, {'[', 't', 'e', 'x', 't', 's', ']', '\n', '1', '=', 'x'});
    EXPECT_EQ(RunTool({"build", broken, (temp / "x.zna").string()}, &errors), 1);
    EXPECT_EQ(errors,
              "lcdiag-lang: " + broken + ", line 2: the text must be enclosed in double quotes\n");
    EXPECT_FALSE(std::filesystem::exists(temp / "x.zna"));

    EXPECT_EQ(RunTool({"export", broken, (temp / "out.txt").string()}, &errors), 1);
    EXPECT_EQ(errors, "lcdiag-lang: " + broken + " is not a language file\n");
    EXPECT_EQ(RunTool({"convert"}, &errors), 2);
    EXPECT_EQ(errors.rfind("usage:", 0), 0u);
}

} // namespace
} // namespace lcdiag
