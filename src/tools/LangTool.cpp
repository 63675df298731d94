#include "tools/LangTool.h"

#include "core/app/BuiltinTexts.h"
#include "core/app/LanguageTextFile.h"
#include "core/app/TLocaleFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace lcdiag {
namespace {

constexpr const char* Usage = "usage: lcdiag-lang export [IN.zna] OUT.txt\n"
                              "       lcdiag-lang build IN.txt OUT.zna\n";

std::optional<std::string> ReadText(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::file_size(path, error) > TLocaleFile::MaxFileSize || error) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

// The program opens a language file as a file name within a folder.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return std::filesystem::absolute(path).parent_path();
}

int Export(std::optional<std::filesystem::path> input, const std::filesystem::path& output,
           std::ostream& err) {
    LanguageData data = BuiltinLanguage();
    data.name = BuiltinText(1);
    TLocaleFile locale;
    if (input) {
        locale.SetFolder(FolderOf(*input));
        if (!locale.Load(input->filename().string(), true)) {
            err << "lcdiag-lang: " << input->string() << " is not a language file\n";
            return 1;
        }
        data = locale.Data();
    }
    if (!WriteText(output, WriteLanguageText(data))) {
        err << "lcdiag-lang: cannot write " << output.string() << "\n";
        return 1;
    }
    return 0;
}

int Build(const std::filesystem::path& input, const std::filesystem::path& output,
          std::ostream& err) {
    const auto text = ReadText(input);
    if (!text) {
        err << "lcdiag-lang: cannot read " << input.string() << "\n";
        return 1;
    }
    std::string error;
    auto data = ParseLanguageText(*text, error);
    if (!data) {
        err << "lcdiag-lang: " << input.string() << ", " << error << "\n";
        return 1;
    }
    TLocaleFile locale;
    locale.SetFolder(FolderOf(output));
    locale.Load(output.filename().string(), false);
    locale.Assign(std::move(*data));
    if (!locale.Save()) {
        err << "lcdiag-lang: cannot write " << output.string() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunLangTool(std::span<const std::string> args, std::ostream& err) {
    if (args.size() == 2 && args[0] == "export") {
        return Export(std::nullopt, args[1], err);
    }
    if (args.size() == 3 && args[0] == "export") {
        return Export(args[1], args[2], err);
    }
    if (args.size() == 3 && args[0] == "build") {
        return Build(args[1], args[2], err);
    }
    err << Usage;
    return 2;
}

} // namespace lcdiag
