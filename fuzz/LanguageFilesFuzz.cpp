// Language files (.zna) as they come: any bytes must load without a crash or a read outside
// the file, and what loads must write and load again unchanged.
#include "core/app/ZnaFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

constexpr std::size_t NameOffset = 20;
constexpr std::size_t IndexSize = 8 * 65536;
constexpr std::size_t IndexPrefix = 8 * 64;

// A complete index is half a megabyte, more than a fuzzer mutates well: the input stands
// for a version-1 file from its header flag on, whose index holds only its first 64
// entries, the rest filled with zeros.
std::vector<std::uint8_t> Expanded(std::span<const std::uint8_t> input) {
    std::vector<std::uint8_t> file = {'Z', 'N', 'A', 1};
    file.insert(file.end(), input.begin(), input.end());
    if (file.size() < NameOffset) {
        return file;
    }
    file[18] = file[19] = 0; // keep the name small
    const std::size_t nameUnits = file[16] | (file[17] << 8);
    const std::size_t indexStart = std::min(file.size(), NameOffset + 2 * nameUnits);
    const std::size_t prefixEnd = std::min(file.size(), indexStart + IndexPrefix);
    std::vector<std::uint8_t> expanded(file.begin(), file.begin() + prefixEnd);
    expanded.resize(indexStart + IndexSize);
    expanded.insert(expanded.end(), file.begin() + prefixEnd, file.end());
    return expanded;
}

void CheckRoundTrip(std::span<const std::uint8_t> bytes) {
    lcdiag::LanguageData first;
    if (!lcdiag::DecodeZna(bytes, first)) {
        return;
    }
    const auto written = lcdiag::EncodeZna(first);
    lcdiag::LanguageData second;
    if (!written || !lcdiag::DecodeZna(*written, second) || second.texts != first.texts ||
        second.attributes != first.attributes || second.name != first.name ||
        second.headerFlag != first.headerFlag) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    lcdiag::LanguageData raw;
    lcdiag::DecodeZna(input, raw);
    CheckRoundTrip(Expanded(input));
    return 0;
}
