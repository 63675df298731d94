#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace lcdiag {

// The visible picture of the main view (Img_Main): it paints the picture that the cyclic timer
// last handed it, at its fixed size, unscaled. It refers to the picture rather than copying
// it: a copy would detach the large image at every redraw of the live views.
class TPictureBox final : public QWidget {
public:
    explicit TPictureBox(QWidget* parent = nullptr) : QWidget(parent) {}

    // The picture must stay where it is until the next SetPicture or Clear.
    void SetPicture(const QImage& picture);
    void Clear();
    const QImage& Picture() const;
    // Called with the position of a left mouse press (picture coordinates).
    std::function<void(QPoint)> onPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage* picture_ = nullptr;
};

} // namespace lcdiag
