#include "core/device/ModuleDataTable.h"

#include "core/device/DeviceType.h"

#include <algorithm>

namespace lcdiag {

namespace {

using RF = ReceiverFactoryField;

constexpr int LengthWidth = 8;

std::string RightAligned(std::string text) {
    if (text.size() < LengthWidth) {
        text.insert(0, LengthWidth - text.size(), ' ');
    }
    return text;
}

// Type 7 (the single-beam grid) is offered among the lengths of type 5.
int OfferedType(int deviceType) {
    return deviceType == 7 ? 5 : deviceType;
}

} // namespace

std::optional<int> ModuleDataTable::Load(std::span<const std::uint8_t> resource) {
    if (resource.size() % RecordSize != 0) {
        return std::nullopt;
    }
    records_.clear();
    for (std::size_t at = 0; at < resource.size(); at += RecordSize) {
        records_.push_back(ReceiverFactoryRecord::From(resource.subspan(at, RecordSize)));
    }
    return Count();
}

const ReceiverFactoryRecord* ModuleDataTable::Record(int index) const {
    return index >= 0 && index < Count() ? &records_[static_cast<std::size_t>(index)] : nullptr;
}

std::vector<TypeChoice> ModuleDataTable::TypeChoices() const {
    std::vector<int> types;
    for (const ReceiverFactoryRecord& record : records_) {
        const int type = record.Byte(RF::DeviceType);
        if (type != 7 && std::ranges::find(types, type) == types.end()) {
            types.push_back(type);
        }
    }
    std::ranges::sort(types, {}, [](int type) { return std::to_string(type); });
    std::vector<TypeChoice> choices;
    for (int type : types) {
        choices.push_back({type, device_type::ResolutionText(type)});
    }
    return choices;
}

std::vector<LengthChoice> ModuleDataTable::LengthChoices(int deviceType, Layout layout,
                                                         std::string_view beamWord) const {
    const int maxBeams = layout == Layout::Long ? 192 : 144;
    std::vector<LengthChoice> choices;
    for (int index = 0; index < Count(); ++index) {
        const ReceiverFactoryRecord& record = records_[static_cast<std::size_t>(index)];
        const int type = record.Byte(RF::DeviceType);
        const int beams = record.Byte(RF::BeamCount);
        if (OfferedType(type) != deviceType || beams < 1 || beams > maxBeams) {
            continue;
        }
        std::string text = RightAligned(device_type::ProtectionFieldText(type, beams, beamWord));
        if (std::ranges::find(choices, text, &LengthChoice::text) == choices.end()) {
            choices.push_back({std::move(text), index});
        }
    }
    std::ranges::stable_sort(choices, {}, &LengthChoice::text);
    return choices;
}

} // namespace lcdiag
