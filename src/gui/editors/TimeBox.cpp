#include "gui/editors/TimeBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace lcdiag {

TTimeBox::TTimeBox(TimeField& field, QWidget* parent) : QLineEdit(parent), field_(field) {
    setAlignment(Qt::AlignRight);
    setMaxLength(12);
    FitWidth();
    Show();
}

void TTimeBox::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitWidth();
    }
}

void TTimeBox::FitWidth() {
    constexpr int Margins = 12; // the frame and the text's own margins
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000:00:00,0")) + Margins);
}

void TTimeBox::Show() {
    const int caret = cursorPosition();
    setText(QString::fromStdString(field_.Text()));
    setCursorPosition(caret);
}

void TTimeBox::Changed(int caret) {
    Show();
    setCursorPosition(caret);
    if (onChanged) {
        onChanged();
    }
}

// Every other key that would edit the text is swallowed: the field decides what it holds.
void TTimeBox::keyPressEvent(QKeyEvent* event) {
    const int caret = cursorPosition();
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        field_.KeyPressed(event->key() == Qt::Key_Up ? TimeField::Key::Up : TimeField::Key::Down,
                          caret);
        Changed(caret);
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint()) {
        Changed(field_.Typed(typed[0].unicode(), caret));
        return;
    }
    const bool moves = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ||
                       event->key() == Qt::Key_Home || event->key() == Qt::Key_End ||
                       event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (moves) {
        QLineEdit::keyPressEvent(event);
    } else {
        event->ignore();
    }
}

void TTimeBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    const int caret = cursorPosition();
    field_.Wheel(event->angleDelta().y(), caret);
    Changed(caret);
    event->accept();
}

TUpDown::TUpDown(TimeField& field, int index, TimeFieldAccelerator& accelerator, QWidget* parent)
    : QWidget(parent), field_(field), index_(index), accelerator_(accelerator) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Arrow(Qt::UpArrow, 1));
    layout->addWidget(Arrow(Qt::DownArrow, -1));
}

// The arrow control counts its position round 0 to 3; the field takes the step from that.
QToolButton* TUpDown::Arrow(Qt::ArrowType type, int direction) {
    auto* arrow = new QToolButton(this);
    arrow->setArrowType(type);
    arrow->setAutoRepeat(true);
    arrow->setFixedSize(16, 11);
    QObject::connect(arrow, &QToolButton::clicked, this, [this, direction] {
        field_.ArrowClicked(field_.ArrowPosition() + direction + TimeField::ArrowPositions);
        if (onChanged) {
            onChanged();
        }
    });
    arrow->installEventFilter(this);
    return arrow;
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (press || event->type() == QEvent::MouseButtonRelease) {
        const auto button = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
                                ? TimeFieldAccelerator::Button::Left
                                : TimeFieldAccelerator::Button::Other;
        if (press) {
            accelerator_.Pressed(index_, button);
        } else {
            accelerator_.Released(button);
        }
    }
    return QWidget::eventFilter(watched, event);
}

TQtAccelerationTimer::TQtAccelerationTimer(QObject* parent) : timer_(new QTimer(parent)) {
    timer_->setObjectName(QStringLiteral("Tmr_RUSM_1"));
}

void TQtAccelerationTimer::Start(int intervalMilliseconds) {
    timer_->start(intervalMilliseconds);
}

} // namespace lcdiag
