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

ProductTexts LookUpProductTexts(const Texts& language, const BuildVariant& variant) {
    ProductTexts texts;
    texts.deviceName = language.GetText(DeviceName);
    texts.shortDeviceName = language.GetText(ShortDeviceName);
    texts.brandDeviceName = language.GetText(BrandText(variant, 20));
    texts.brandShortName = language.GetText(BrandText(variant, 21));
    const std::string suffix =
        variant.ExtendedFunctions() ? language.GetText(ProSuffix) : std::string();
    texts.windowTitle =
        std::string(TrimBlanks(language.GetTextStr(BrandText(variant, 22), suffix)));
    texts.productLabel = language.GetText(BrandText(variant, 23));
    return texts;
}

} // namespace lcdiag
