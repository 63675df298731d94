#pragma once

#include "core/views/BarGeometry.h"

#include <optional>
#include <string>

namespace lcdiag {

// The bar view's diagnostic trace "debug1.txt". Each drawn beam row is counted; a row drawn
// while the receiver body's left edge is 0 (the geometry was never set up) is an invalid
// row, and at the first invalid row and every hundredth after it the trace is written anew
// with the unit rectangles and the counters.
class BarTrace {
public:
    static constexpr const char* FileName = "debug1.txt";

    // Counts one row; returns the new text of the trace file when it is due.
    std::optional<std::string> CountRow(const BarGeometry& geometry);

private:
    std::string Text(const BarGeometry& geometry) const;

    int validRows_ = 0;
    int invalidRows_ = 0;
    int validRowsAtFirstInvalid_ = 0;
};

} // namespace lcdiag
