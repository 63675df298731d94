#include "core/app/BuildVariant.h"

#include "core/app/TextLines.h"
#include "core/app/Texts.h"

namespace lcdiag {
namespace {

constexpr TextId DeviceName = 10;
constexpr TextId ShortDeviceName = 11;
constexpr TextId ProSuffix = 1003;

TextId BrandText(const BuildVariant& variant, TextId offset) {
    return static_cast<TextId>(variant.Brand()) * 10 + offset;
}

} // namespace

ProductTexts LookUpProductTexts(const BuildVariant& variant) {
    ProductTexts texts;
    texts.deviceName = GetText(DeviceName);
    texts.shortDeviceName = GetText(ShortDeviceName);
    texts.brandDeviceName = GetText(BrandText(variant, 20));
    texts.brandShortName = GetText(BrandText(variant, 21));
    const std::string suffix = variant.ExtendedFunctions() ? GetText(ProSuffix) : std::string();
    texts.windowTitle = std::string(TrimBlanks(GetTextStr(BrandText(variant, 22), suffix)));
    texts.productLabel = GetText(BrandText(variant, 23));
    return texts;
}

} // namespace lcdiag
