#pragma once

#include "core/device/ReceiverFactoryRecord.h"
#include "core/protocol/Layout.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lcdiag {

// The module data resource built into the program: receiver factory records of 212 bytes,
// one after the other, no header.
std::span<const std::uint8_t> ModuleDataResource();

// A device type the factory editor offers: its code and its resolution text.
struct TypeChoice {
    int deviceType = 0;
    std::string text;

    friend bool operator==(const TypeChoice&, const TypeChoice&) = default;
};

// A protection field length the factory editor offers for a type, right-aligned to 8
// characters, with the index of its module record.
struct LengthChoice {
    std::string text;
    int recordIndex = 0;

    friend bool operator==(const LengthChoice&, const LengthChoice&) = default;
};

// The model templates: one receiver factory record for every device type and beam count of
// the product range, read-only once loaded.
class ModuleDataTable {
public:
    static constexpr std::size_t RecordSize = ReceiverFactoryRecord::Size;

    // Replaces the table with the resource's records and returns their number; nothing, with
    // the table unchanged, when the size is not a multiple of 212 (the caller shows message
    // 118 and ends the program).
    std::optional<int> Load(std::span<const std::uint8_t> resource);
    std::optional<int> LoadBuiltIn() { return Load(ModuleDataResource()); }

    int Count() const { return static_cast<int>(records_.size()); }
    // Record 0 to Count() - 1; nothing for another index.
    const ReceiverFactoryRecord* Record(int index) const;

    // The distinct device types of the records except type 7, sorted by the decimal text of
    // their code.
    std::vector<TypeChoice> TypeChoices() const;
    // The records of a type (a type-7 record counts as type 5) with 1 to 192 beams in the
    // long layout, 1 to 144 in the short one, as protection field texts sorted as text; a
    // text already offered is not offered twice. beamWord is the caller's text 2035.
    std::vector<LengthChoice> LengthChoices(int deviceType, Layout layout,
                                            std::string_view beamWord) const;

private:
    std::vector<ReceiverFactoryRecord> records_;
};

} // namespace lcdiag
