#pragma once

namespace lcdiag {

// The pages of the main window's central area. The numbers are those the menus and the
// command line have always used.
enum class ViewMode {
    None = 0,
    Bar = 1,
    Lines = 2,
    FactorySettings = 3,
    CustomerSettings = 4,
    History = 5,
    BeamSelection = 6,
    Status = 7,
    Calculator = 8,
};

} // namespace lcdiag
