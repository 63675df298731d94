// The connection dialogue fed with whatever a device might send: the input is a script of
// steps (bytes arriving, some of them starting with a real keyword so that the dialogue gets
// past identification; time passing; the result reporter; transfers; the port closing and
// opening). Whatever the bytes, nothing may crash or read out of bounds.
#include "ConnectionDoubles.h"
#include "core/app/Texts.h"
#include "core/editors/SaveConfirmation.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace lcdiag {
namespace {

// Scheduled steps run when the script lets time pass.
class FuzzTimers final : public ConnectionTimers {
public:
    void StartCyclicTimer() override {}
    void StopCyclicTimer() override {}
    void ArmResultReporter(int) override { armed = true; }
    void DisarmResultReporter() override { armed = false; }
    void RunAfter(int, std::function<void()> step) override { steps.push_back(std::move(step)); }
    void Wait(int) override {}

    void RunDue() {
        auto due = std::exchange(steps, {});
        for (auto& step : due) {
            step();
        }
    }

    bool armed = false;
    std::vector<std::function<void()>> steps;
};

// Reads the script byte by byte; past its end every read gives 0.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::span<const std::uint8_t> Bytes(std::size_t count) {
        const std::size_t taken = std::min(count, size_ - std::min(at_, size_));
        const std::span<const std::uint8_t> bytes(data_ + at_, taken);
        at_ += taken;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace
} // namespace lcdiag

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lcdiag;
    using namespace lcdiag::e2e;
    RecordingDialogs dialogs;
    const Texts texts(nullptr, &dialogs);
    ManualClock clock;
    FixedPcClock pcClock;
    ScriptedPort port;
    FuzzTimers timers;
    RecordingView view;
    ConnectionController controller(port, clock, timers, view, texts, pcClock, {3, 99});
    SaveConfirmation confirmation(controller, clock);
    controller.ComPortAfterOpen();

    Script script(data, size);
    while (!script.Done()) {
        const std::uint8_t step = script.Byte();
        switch (step % 8) {
        case 0: // a keyword of the table, then bytes
        case 1: {
            const auto keyword = controller.Keywords().Text(script.Byte() % KeywordTable::Count);
            port.incoming.insert(port.incoming.end(), keyword.begin(), keyword.end());
            [[fallthrough]];
        }
        case 2: { // bytes as they come
            const auto bytes = script.Bytes(script.Byte());
            port.incoming.insert(port.incoming.end(), bytes.begin(), bytes.end());
            controller.ComPortRxChar(static_cast<int>(port.incoming.size()));
            break;
        }
        case 3: // time passes: supervision, the countdown on a page, the scheduled sends
            clock.now += 25U * (1U + script.Byte());
            controller.Timer1Tick();
            confirmation.Tick(static_cast<ViewMode>(script.Byte() % 9));
            timers.RunDue();
            break;
        case 4:
            if (timers.armed) {
                controller.Timer2Fire();
            }
            break;
        case 5: { // the user saves records of a kind and confirms them, on time or not
            SettingsWrite write;
            write.kind = static_cast<TransferKind>(1 + script.Byte() % 4);
            confirmation.Begin(write);
            confirmation.Confirm(static_cast<TransferKind>(1 + script.Byte() % 4));
            break;
        }
        case 6:
            controller.ComPortTxEmpty();
            break;
        default: // the port goes and comes back
            controller.ComPortBeforeClose();
            controller.ComPortAfterOpen();
            break;
        }
    }
    return 0;
}
