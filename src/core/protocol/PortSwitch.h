#pragma once

#include "core/protocol/Clock.h"
#include "core/protocol/Port.h"

namespace lcdiag {

// The port the connection dialogue talks to, switched between sources (the serial link, a
// simulated device) while the dialogue keeps running. Every call goes to the selected source,
// and only the selected source's events reach the listener: a late event of a port just left
// cannot disturb the dialogue. Its clock is the selected source's line clock; the sources'
// clocks must not run behind one another's at a switch (a simulated device starts at the
// program's tick and never runs ahead of it), so the dialogue never sees time go back.
class PortSwitch final : public Port {
public:
    // The events of one source; they pass only while that source is selected.
    class Input final : public PortEvents {
    public:
        Input(const PortSwitch& owner, const Port& source) : owner_(owner), source_(source) {}

        void ComPortAfterOpen() override { Pass(&PortEvents::ComPortAfterOpen); }
        void ComPortBeforeClose() override { Pass(&PortEvents::ComPortBeforeClose); }
        void ComPortRxChar(int count) override;
        void ComPortTxEmpty() override { Pass(&PortEvents::ComPortTxEmpty); }
        void ComPortEvent2() override { Pass(&PortEvents::ComPortEvent2); }
        void ComPortDisconnect() override { Pass(&PortEvents::ComPortDisconnect); }

    private:
        PortEvents* Target() const;
        void Pass(void (PortEvents::*event)()) const;

        const PortSwitch& owner_;
        const Port& source_;
    };

    PortSwitch(Port& source, const Clock& clock) : source_(&source), clock_(clock) {}

    void SetListener(PortEvents* listener) { listener_ = listener; }
    // Makes the source the one in use; the caller closed the previous one.
    void Select(Port& source, const Clock& clock);
    const Port& Selected() const { return *source_; }
    const Clock& LineClock() const { return clock_; }

    bool Connected() const override { return source_->Connected(); }
    PortKind Kind() const override { return source_->Kind(); }
    void Open() override { source_->Open(); }
    void Close() override { source_->Close(); }
    void Write(std::span<const std::uint8_t> bytes) override { source_->Write(bytes); }
    void WriteStr(std::string_view text) override { source_->WriteStr(text); }
    int Read(std::span<std::uint8_t> into) override { return source_->Read(into); }
    int InputCount() const override { return source_->InputCount(); }
    void SetBreak(bool on) override { source_->SetBreak(on); }
    void SetBaudRate(int bitsPerSecond) override { source_->SetBaudRate(bitsPerSecond); }

private:
    class SelectedClock final : public Clock {
    public:
        explicit SelectedClock(const Clock& clock) : source_(&clock) {}
        std::uint32_t Now() const override { return source_->Now(); }
        void Select(const Clock& clock) { source_ = &clock; }

    private:
        const Clock* source_;
    };

    Port* source_;
    SelectedClock clock_;
    PortEvents* listener_ = nullptr;
};

} // namespace lcdiag
