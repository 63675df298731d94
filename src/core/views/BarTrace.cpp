#include "core/views/BarTrace.h"

#include <array>

namespace lcdiag {

namespace {

std::string Line(int number, const std::string& value) {
    std::string text = std::to_string(number);
    return std::string(4 - text.size(), '0') + text + ": " + value + "\n";
}

std::string Edges(const Rect& rect) {
    return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
           std::to_string(rect.Right()) + " " + std::to_string(rect.Bottom());
}

} // namespace

std::optional<std::string> BarTrace::CountRow(const BarGeometry& geometry) {
    if (geometry.receiver.body.left != 0) {
        ++validRows_;
        return std::nullopt;
    }
    if (invalidRows_ == 0) {
        validRowsAtFirstInvalid_ = validRows_;
    }
    std::optional<std::string> text;
    if (invalidRows_ % 100 == 0) {
        text = Text(geometry);
    }
    ++invalidRows_;
    return text;
}

std::string BarTrace::Text(const BarGeometry& geometry) const {
    const std::array<const Rect*, 6> rects{&geometry.emitter.unit, &geometry.receiver.unit,
                                           &geometry.emitter.head, &geometry.receiver.head,
                                           &geometry.emitter.body, &geometry.receiver.body};
    std::string text;
    int number = 1;
    for (const Rect* rect : rects) {
        text += Line(number++, Edges(*rect));
    }
    text += Line(7, std::to_string(validRows_));
    text += Line(8, std::to_string(invalidRows_));
    text += Line(9, std::to_string(validRowsAtFirstInvalid_));
    return text;
}

} // namespace lcdiag
