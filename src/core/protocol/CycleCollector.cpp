#include "core/protocol/CycleCollector.h"

#include <span>

namespace lcdiag {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The frame of `id` at the front of `work` after dropping what lies before it, when its
// keyword is there and the frame is complete.
bool FrontFrame(Bytes& work, const KeywordTable& table, int id, int frameLength) {
    const int position = table.Find(work, id);
    if (position < 0 || frameLength > static_cast<int>(work.size()) - position) {
        return false;
    }
    work.erase(work.begin(), work.begin() + position);
    return true;
}

FrameData TakeFront(Bytes& work, int keywordLength, int frameLength) {
    FrameData data(work.begin() + keywordLength, work.begin() + frameLength);
    work.erase(work.begin(), work.begin() + frameLength);
    return data;
}

} // namespace

std::vector<FrameData> TakeCycleTriples(ReceiveBuffer& buffer, const KeywordTable& table,
                                        Layout layout) {
    const int id = kw::ReceiverCyclePart;
    const int keywordLength = table.Entry(id).length;
    const int frameLength = table.FrameLength(id, layout);
    Bytes work(buffer.Bytes().begin(), buffer.Bytes().end());
    std::vector<FrameData> complete;
    std::vector<FrameData> unfinished;
    while (static_cast<int>(work.size()) > 3 * frameLength &&
           FrontFrame(work, table, id, frameLength)) {
        const auto digit = work[static_cast<std::size_t>(keywordLength) + 1];
        const auto expected = static_cast<std::uint8_t>('1' + unfinished.size());
        if (digit != expected) {
            unfinished.clear();
            if (digit != '1') {
                work.erase(work.begin()); // move the search past this keyword
            }
            continue;
        }
        unfinished.push_back(TakeFront(work, keywordLength, frameLength));
        if (unfinished.size() == 3) {
            complete.insert(complete.end(), unfinished.begin(), unfinished.end());
            unfinished.clear();
        }
    }
    Bytes rebuilt;
    const std::string_view keyword = table.Text(id);
    for (const FrameData& part : unfinished) {
        rebuilt.insert(rebuilt.end(), keyword.begin(), keyword.end());
        rebuilt.insert(rebuilt.end(), part.begin(), part.end());
    }
    rebuilt.insert(rebuilt.end(), work.begin(), work.end());
    buffer.Assign(rebuilt);
    return complete;
}

std::vector<FrameData> TakeEmitterRecords(ReceiveBuffer& buffer, const KeywordTable& table,
                                          Layout layout) {
    const int id = kw::EmitterDiagnosticData;
    const int frameLength = table.FrameLength(id, layout);
    Bytes work(buffer.Bytes().begin(), buffer.Bytes().end());
    std::vector<FrameData> records;
    while (static_cast<int>(work.size()) > frameLength &&
           FrontFrame(work, table, id, frameLength)) {
        records.push_back(TakeFront(work, table.Entry(id).length, frameLength));
    }
    buffer.Assign(work);
    return records;
}

} // namespace lcdiag
