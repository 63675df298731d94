#pragma once

#include <array>
#include <span>

namespace lcdiag {

// The keyword ids the recognizer looks for, in insertion order, without duplicates.
class ExpectedKeywordList {
public:
    static constexpr int Capacity = 10;
    static constexpr int None = -1;

    ExpectedKeywordList() { Reset(); }

    void Reset();
    // Appends the id unless it is already listed or the list is full.
    void Add(int id);

    bool Contains(int id) const;
    int Count() const { return count_; }
    std::span<const int> Ids() const { return {ids_.data(), static_cast<std::size_t>(count_)}; }

private:
    std::array<int, Capacity> ids_{};
    int count_ = 0;
};

} // namespace lcdiag
