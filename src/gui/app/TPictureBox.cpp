#include "gui/app/TPictureBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <optional>

namespace lcdiag {
namespace {

// The bar picture draws the beam window top-down from its first beam, which is the scroll
// bar's value: a step "up" shows lower beams and lowers the value, as in a document.
std::optional<QAbstractSlider::SliderAction> ActionOfKey(int key) {
    switch (key) {
    case Qt::Key_Up:
        return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_Down:
        return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_PageUp:
        return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_PageDown:
        return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_Home:
        return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
        return QAbstractSlider::SliderToMaximum;
    default:
        return std::nullopt;
    }
}

} // namespace

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

void TPictureBox::SetPicture(const QImage& picture, std::optional<QRect> changed) {
    if (picture_ != &picture || !changed) {
        picture_ = &picture;
        update();
    } else if (!changed->isEmpty()) {
        update(*changed);
    }
}

void TPictureBox::Clear() {
    picture_ = nullptr;
    update();
}

const QImage& TPictureBox::Picture() const {
    static const QImage none;
    return picture_ != nullptr ? *picture_ : none;
}

// A picture drawn at the screen's ratio lands 1:1 on the device pixels; at another ratio (a
// fractional one) it is scaled smoothly.
void TPictureBox::paintEvent(QPaintEvent*) {
    if (picture_ != nullptr) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(0, 0, *picture_);
    }
}

void TPictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onPress) {
        onPress(event->position().toPoint());
    }
    QWidget::mousePressEvent(event);
}

// A notch away from the user moves the window up by the desktop's wheel lines.
void TPictureBox::wheelEvent(QWheelEvent* event) {
    if (beamScroll_ == nullptr || !beamScroll_->isEnabled()) {
        event->ignore();
        return;
    }
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRest_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    beamScroll_->setValue(beamScroll_->value() -
                          notches * QApplication::wheelScrollLines() * beamScroll_->singleStep());
    event->accept();
}

void TPictureBox::keyPressEvent(QKeyEvent* event) {
    const std::optional<QAbstractSlider::SliderAction> action = ActionOfKey(event->key());
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (beamScroll_ == nullptr || !action || !plain) {
        QWidget::keyPressEvent(event);
        return;
    }
    beamScroll_->triggerAction(*action);
}

} // namespace lcdiag
