#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace lcdiag {

// The visible picture of the main view (Img_Main): it shows a copy of the picture that the
// cyclic timer last handed it, at its fixed size, unscaled.
class TPictureBox final : public QWidget {
public:
    explicit TPictureBox(QWidget* parent = nullptr) : QWidget(parent) {}

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    // Called with the position of a left mouse press (picture coordinates).
    std::function<void(QPoint)> onPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

} // namespace lcdiag
