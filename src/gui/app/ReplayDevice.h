#pragma once

#include "core/protocol/Clock.h"
#include "core/protocol/Port.h"
#include "core/session/ReplayPort.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QTimer;
class QToolButton;

namespace lcdiag {

class Texts;

// "--replay FILE [--speed N]": the recording, named by its file, and the pace.
struct ReplayRequest {
    std::string name;
    SessionRecording recording;
    double speed = 1;
};

// A replayed session as the device, in real time (or faster): the replaying port moves on with
// the program's tick from the event loop, like the simulated light curtain. Its bar pauses and
// resumes, sets the speed, restarts and shows where the replay stands; a divergence of the
// program from the recording and an early end of the recording are told once each.
class ReplayDevice final : public QObject {
public:
    // `reopen` closes the dialogue's port and opens it again around a restart, so that the
    // dialogue starts afresh as the recording does.
    ReplayDevice(SessionRecording recording, std::string name, double speed, const Clock& tick,
                 const Texts& texts, std::function<void(const std::function<void()>&)> reopen);
    ~ReplayDevice() override;

    Port& LinePort() { return port_; }
    const Clock& LineClock() const { return port_.LineClock(); }
    std::uint32_t RecordedLineClock() const { return port_.RecordedLineClock(); }
    void SetListener(PortEvents* events) { port_.SetListener(events); }
    const std::string& Name() const { return name_; }
    // The bar of its controls, for the window's status bar; made on the first call.
    QWidget* Bar(QWidget* parent);
    // Called once, when the replay has delivered the whole recording.
    void WhenEnded(std::function<void()> ended) { ended_ = std::move(ended); }

private:
    void Step();
    void ShowPosition();
    void TogglePause();
    void Restart();

    ReplayPort port_;
    std::string name_;
    const Texts& texts_;
    std::function<void(const std::function<void()>&)> reopen_;
    std::function<void()> ended_;
    QTimer* pace_ = nullptr;
    QWidget* bar_ = nullptr;
    QToolButton* pause_ = nullptr;
    QComboBox* speed_ = nullptr;
    QLabel* position_ = nullptr;
    bool endTold_ = false;
    std::uint32_t shownTenths_ = UINT32_MAX; // of the position on the bar
    bool shownPaused_ = false;
};

} // namespace lcdiag
