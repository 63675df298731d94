#include "gui/app/ReplayDevice.h"

#include "core/app/Messages.h"
#include "core/app/Texts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <array>

namespace lcdiag {

namespace {

constexpr int PaceMs = 5;
constexpr TextId TxtPause = 9110;
constexpr TextId TxtResume = 9111;
constexpr TextId TxtRestart = 9112;
constexpr TextId TxtReplayPosition = 9113;
constexpr TextId TxtEndsEarly = 9114;
constexpr TextId TxtDivergence = 9115;
constexpr std::array<double, 7> Speeds = {0.25, 0.5, 1, 2, 4, 8, 16};

// To the tenth, cut off, not rounded: the position never shows more than the length.
std::string Seconds(std::uint32_t ms) {
    return std::to_string(ms / 1000) + "." + std::to_string(ms / 100 % 10);
}

QString SpeedCaption(double speed) {
    return QString::number(speed) + QStringLiteral(" \u00d7");
}

} // namespace

ReplayDevice::ReplayDevice(SessionRecording recording, std::string name, double speed,
                           const Clock& tick, const Texts& texts,
                           std::function<void(const std::function<void()>&)> reopen)
    : port_(std::move(recording), tick), name_(std::move(name)), texts_(texts),
      reopen_(std::move(reopen)), pace_(new QTimer(this)) {
    port_.SetSpeed(speed);
    pace_->setInterval(PaceMs);
    connect(pace_, &QTimer::timeout, this, &ReplayDevice::Step);
    pace_->start();
}

ReplayDevice::~ReplayDevice() {
    port_.SetListener(nullptr);
    delete bar_; // the window holds it while it lives
}

QWidget* ReplayDevice::Bar(QWidget* parent) {
    if (bar_ != nullptr) {
        return bar_;
    }
    bar_ = new QWidget(parent);
    bar_->setObjectName(QStringLiteral("Pnl_Replay"));
    auto* row = new QHBoxLayout(bar_);
    row->setContentsMargins(0, 0, 0, 0);
    pause_ = new QToolButton(bar_);
    pause_->setObjectName(QStringLiteral("Btn_ReplayPause"));
    connect(pause_, &QToolButton::clicked, this, &ReplayDevice::TogglePause);
    row->addWidget(pause_);
    speed_ = new QComboBox(bar_);
    speed_->setObjectName(QStringLiteral("Cmb_ReplaySpeed"));
    for (const double speed : Speeds) {
        speed_->addItem(SpeedCaption(speed), speed);
    }
    const int shown = speed_->findData(port_.Speed());
    if (shown < 0) {
        speed_->addItem(SpeedCaption(port_.Speed()), port_.Speed());
    }
    speed_->setCurrentIndex(shown >= 0 ? shown : speed_->count() - 1);
    connect(speed_, &QComboBox::activated, this,
            [this] { port_.SetSpeed(speed_->currentData().toDouble()); });
    row->addWidget(speed_);
    auto* restart = new QToolButton(bar_);
    restart->setObjectName(QStringLiteral("Btn_ReplayRestart"));
    restart->setText(QString::fromStdString(texts_.GetText(TxtRestart)));
    connect(restart, &QToolButton::clicked, this, &ReplayDevice::Restart);
    row->addWidget(restart);
    position_ = new QLabel(bar_);
    position_->setObjectName(QStringLiteral("Lbl_ReplayPosition"));
    row->addWidget(position_);
    // As high as a line of the status bar's text: the window keeps the layout it has live,
    // and a replay's pictures stand where the live ones stood.
    const int height = bar_->fontMetrics().height() + 2;
    for (QWidget* control : {static_cast<QWidget*>(pause_), static_cast<QWidget*>(speed_),
                             static_cast<QWidget*>(restart)}) {
        control->setFixedHeight(height);
    }
    ShowPosition();
    return bar_;
}

// The replay moves on; what it has to tell is told after the step, when its state is whole,
// for a message box lets further steps run.
void ReplayDevice::Step() {
    port_.Advance();
    ShowPosition();
    if (auto divergence = port_.TakeDivergence()) {
        texts_.ShowMessageText(msg::Warning, texts_.GetTextStr(TxtDivergence, *divergence));
    }
    if (!port_.Ended() || endTold_) {
        return;
    }
    endTold_ = true;
    if (!port_.Cut().empty()) {
        texts_.ShowMessageText(msg::Warning, texts_.GetTextStr(TxtEndsEarly, port_.Cut()));
    }
    if (ended_) {
        std::exchange(ended_, nullptr)();
    }
}

// The bar changes with the tenth of a second shown, not with every step.
void ReplayDevice::ShowPosition() {
    const std::uint32_t tenths = port_.PositionMs() / 100;
    if (bar_ == nullptr || (tenths == shownTenths_ && port_.Paused() == shownPaused_)) {
        return;
    }
    shownTenths_ = tenths;
    shownPaused_ = port_.Paused();
    pause_->setText(QString::fromStdString(texts_.GetText(shownPaused_ ? TxtResume : TxtPause)));
    position_->setText(QString::fromStdString(texts_.GetTextArgs(
        TxtReplayPosition, {name_, Seconds(port_.PositionMs()), Seconds(port_.LengthMs())})));
}

void ReplayDevice::TogglePause() {
    port_.Pause(!port_.Paused());
    ShowPosition();
}

void ReplayDevice::Restart() {
    reopen_([this] { port_.Restart(); });
    endTold_ = false;
    ShowPosition();
}

} // namespace lcdiag
