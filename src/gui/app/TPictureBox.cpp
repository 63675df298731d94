#include "gui/app/TPictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace lcdiag {

void TPictureBox::SetPicture(const QImage& picture) {
    picture_ = picture; // shared until the next drawing writes into the original
    update();
}

void TPictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TPictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onPress) {
        onPress(event->position().toPoint());
    }
    QWidget::mousePressEvent(event);
}

} // namespace lcdiag
