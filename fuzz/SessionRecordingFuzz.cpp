// Session recordings as they come from anywhere: arbitrary bytes are read, and what was read
// is replayed into a port whose program writes nothing the recording holds. Whatever is
// accepted must encode back to the bytes it was read from.
#include "core/session/ReplayPort.h"
#include "core/session/SessionRecording.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <variant>

namespace {

using namespace lcdiag;

class StepClock final : public Clock {
public:
    std::uint32_t Now() const override { return now; }
    std::uint32_t now = 0;
};

// Drains everything the replay delivers, as the connection dialogue would.
class Drain final : public PortEvents {
public:
    explicit Drain(Port& port) : port_(port) {}
    void ComPortAfterOpen() override {}
    void ComPortBeforeClose() override {}
    void ComPortRxChar(int count) override {
        std::uint8_t into[64];
        while (count > 0) {
            const int read = port_.Read(into);
            if (read <= 0) {
                std::abort(); // announced bytes must be there
            }
            count -= read;
        }
    }
    void ComPortTxEmpty() override {}
    void ComPortEvent2() override {}
    void ComPortDisconnect() override {}

private:
    Port& port_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    auto read = ReadSessionRecording(file);
    auto* recording = std::get_if<SessionRecording>(&read);
    if (recording == nullptr) {
        return 0;
    }
    if (EncodeSession(recording->header, recording->events) !=
        std::vector<std::uint8_t>(data, data + recording->readableBytes)) {
        std::abort();
    }
    StepClock clock;
    ReplayPort port(std::move(*recording), clock);
    Drain drain(port);
    port.SetListener(&drain);
    port.SetSpeed(64);
    port.Open();
    for (int step = 0; step < 64 && !port.Ended(); ++step) {
        clock.now += 1000;
        port.Advance();
        port.WriteStr("x");
        port.SetBreak(step % 2 == 0);
        if (!port.Connected()) {
            port.Open();
        }
    }
    return 0;
}
