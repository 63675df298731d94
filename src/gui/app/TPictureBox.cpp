#include "gui/app/TPictureBox.h"

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

} // namespace lcdiag
