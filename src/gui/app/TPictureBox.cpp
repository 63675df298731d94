#include "gui/app/TPictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace lcdiag {

void TPictureBox::SetPicture(const QImage& picture) {
    picture_ = &picture;
    update();
}

void TPictureBox::Clear() {
    picture_ = nullptr;
    update();
}

const QImage& TPictureBox::Picture() const {
    static const QImage none;
    return picture_ != nullptr ? *picture_ : none;
}

void TPictureBox::paintEvent(QPaintEvent*) {
    if (picture_ != nullptr) {
        QPainter painter(this);
        painter.drawImage(0, 0, *picture_);
    }
}

void TPictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onPress) {
        onPress(event->position().toPoint());
    }
    QWidget::mousePressEvent(event);
}

} // namespace lcdiag
