#include "core/protocol/ExpectedKeywordList.h"

#include <algorithm>

namespace lcdiag {

void ExpectedKeywordList::Reset() {
    ids_.fill(None);
    count_ = 0;
}

void ExpectedKeywordList::Add(int id) {
    if (count_ >= Capacity || Contains(id)) {
        return;
    }
    ids_[static_cast<std::size_t>(count_++)] = id;
}

bool ExpectedKeywordList::Contains(int id) const {
    const auto ids = Ids();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace lcdiag
