#pragma once

#include "core/editors/TimeField.h"
#include "core/editors/TimeFieldAccelerator.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <functional>

class QToolButton;

namespace lcdiag {

// The text box of a time field (M_RUSM_11, ...): read-only to the keyboard's editing, it
// takes Up and Down on the part that holds the caret, digits typed over the text, and the
// mouse wheel, and shows the field as hh:mm:ss,t.
class TTimeBox final : public QLineEdit {
public:
    TTimeBox(TimeField& field, QWidget* parent);

    // Shows the field's value again, the caret where it was.
    void Show();
    // After a change made here.
    std::function<void()> onChanged;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // The box is as wide as the longest time in its font, whatever the page's font size.
    void changeEvent(QEvent* event) override;

private:
    void Changed(int caret);
    void FitWidth();

    TimeField& field_;
};

// The arrows of a time field (UpDwn_RUSM_11, ...): each click moves the field's arrow
// position one up or down; holding an arrow with the left button widens the step.
class TUpDown final : public QWidget {
public:
    TUpDown(TimeField& field, int index, TimeFieldAccelerator& accelerator, QWidget* parent);

    std::function<void()> onChanged;

protected:
    // The press and release of the left button itself: the buttons' auto-repeat signals
    // come again and again while an arrow is held.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* Arrow(Qt::ArrowType type, int direction);

    TimeField& field_;
    int index_;
    TimeFieldAccelerator& accelerator_;
};

// The one timer that widens the steps of the held arrows (Tmr_RUSM_1).
class TQtAccelerationTimer final : public AccelerationTimer {
public:
    explicit TQtAccelerationTimer(QObject* parent);

    void Start(int intervalMilliseconds) override;
    void Stop() override { timer_->stop(); }
    QTimer& Timer() { return *timer_; }

private:
    QTimer* timer_;
};

} // namespace lcdiag
