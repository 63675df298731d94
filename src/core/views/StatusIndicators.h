#pragma once

#include "core/app/TextId.h"
#include "core/device/ControllerType.h"
#include "core/views/Rgb.h"

#include <array>
#include <cstdint>
#include <span>

namespace lcdiag {

struct LiveViewData;

// A row of the status view's function table and the indicators it has: A in the "Active"
// column, S in the "Signal" column.
struct FunctionRow {
    TextId text;
    bool hasActive;
    bool hasSignal;
};

inline constexpr int ReceiverFunctionRowCount = 15;
// The row that shows the number of cycles in the "Active" column instead of an indicator.
inline constexpr int CycleCountRow = 14;

// The rows of the connected unit's function table.
std::span<const FunctionRow> FunctionRows(ControllerType unit);

struct FunctionLights {
    bool active = false;
    bool signal = false;

    friend constexpr bool operator==(const FunctionLights&, const FunctionLights&) = default;
};

// Which indicators of the function table are lit, row by row: from the receiver's status
// bytes, or for the emitter from its customer record (beam coding A). All dark without a
// valid record.
std::array<FunctionLights, ReceiverFunctionRowCount> FunctionTableLights(const LiveViewData& data);

// The number of cycles shown in the cycle-count row: the cyclic-status byte's low nibble of
// the valid receiver cycle, else 0.
int CycleCountShown(const LiveViewData& data);

// A row of the LED table: its text, the bit of the unit's LED byte that lights it, the lit
// colour and the cell of the LED panel that shows it (column x 3 + row).
struct LedRow {
    TextId text;
    int bit;
    Rgb colour;
    int cell;
};

std::span<const LedRow> LedRows(ControllerType unit);

} // namespace lcdiag
