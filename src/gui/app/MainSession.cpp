// The main window's session recording and replay: the port menu's "Record session...", the
// command line's --record and --replay.
#include "core/app/FileDialogs.h"
#include "core/app/Messages.h"
#include "core/app/Texts.h"
#include "core/device/InfoTexts.h"
#include "core/session/SessionRecording.h"
#include "gui/app/TFRM_Main.h"
#include "platform/clock/SystemClocks.h"

#include <QStatusBar>
#include <ctime>

namespace lcdiag {

namespace {

constexpr TextId TxtRecordingFailed = 9103;
constexpr TextId TxtRecordingFilter = 9104;

} // namespace

// The recording becomes the port in use, with its bar in the status bar. A restart closes the
// dialogue's port and opens it again, so that the dialogue starts afresh with the recording.
void TFRM_Main::UseReplay(ReplayRequest request) {
    replay_ = std::make_unique<ReplayDevice>(std::move(request.recording), request.name,
                                             request.speed, *tickClock_, texts_,
                                             [this](const std::function<void()>& restart) {
                                                 activePort_->Close();
                                                 restart();
                                                 activePort_->Open();
                                             });
    replayInput_ = std::make_unique<PortSwitch::Input>(*line_, replay_->LinePort());
    replay_->SetListener(replayInput_.get());
    line_->Select(replay_->LinePort(), replay_->LineClock());
    statusBar()->addPermanentWidget(replay_->Bar(this));
}

void TFRM_Main::WhenReplayEnded(std::function<void()> ended) {
    if (replay_) {
        replay_->WhenEnded(std::move(ended));
    }
}

// Starts a recording, offering a name from the unit's serial number and the time, or stops
// the one running.
void TFRM_Main::MNU_RecordSessionClick() {
    if (recorder_->Recording()) {
        recorder_->Stop();
        SyncLinkStatus();
        return;
    }
    const std::string& serial = controller_->Info().serialNumber;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const auto chosen = FileDialogsInUse().ChooseFileToSave(
        texts_.GetText(TxtRecordingFilter),
        OfferedRecordingName(serial != InfoTexts{}.serialNumber ? serial : "", stamp));
    if (chosen) {
        StartRecording(*chosen);
    }
}

void TFRM_Main::StartRecording(const std::string& path) {
    if (auto failure = recorder_->Start(path)) {
        texts_.ShowMessageText(msg::Fault,
                               texts_.GetTextArgs(TxtRecordingFailed, {path, *failure}));
    }
    SyncLinkStatus();
}

// A recording whose file can no longer be written stops, and says so once.
void TFRM_Main::SyncRecording() {
    if (auto failure = recorder_->TakeWriteFailure()) {
        texts_.ShowMessageText(
            msg::Fault, texts_.GetTextArgs(TxtRecordingFailed, {recorder_->File(), *failure}));
    }
}

} // namespace lcdiag
