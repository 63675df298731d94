#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

class QScrollBar;

namespace lcdiag {

// The visible picture of the main view (Img_Main): it paints the picture that the cyclic timer
// last handed it, at its fixed size, unscaled. It refers to the picture rather than copying
// it: a copy would detach the large image at every redraw of the live views.
//
// While a page lends it the beam scroll bar, the mouse wheel over the picture and the keys
// Up, Down, Page Up, Page Down, Home and End move that scroll bar.
class TPictureBox final : public QWidget {
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // The picture must stay where it is until the next SetPicture or Clear. `changed` is
    // the part that differs from what is shown (logical pixels); only that is painted anew,
    // unless the picture is another one than before. Nothing: the whole picture.
    void SetPicture(const QImage& picture, std::optional<QRect> changed = std::nullopt);
    void Clear();
    const QImage& Picture() const;
    // Called with the position of a left mouse press (picture coordinates).
    std::function<void(QPoint)> onPress;
    // The scroll bar the wheel and the keys move; null: they pass on to the parent.
    void SetBeamScroll(QScrollBar* scrollBar) { beamScroll_ = scrollBar; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const QImage* picture_ = nullptr;
    QScrollBar* beamScroll_ = nullptr;
    int wheelRest_ = 0; // the part of a notch that high-resolution wheels sent so far
};

} // namespace lcdiag
