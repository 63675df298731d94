// The main window's view area: the fault panel beside the picture, and the beam window that
// the wheel and the keys move over the bar picture.
#include "GuiTestSupport.h"
#include "gui/app/TPictureBox.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using test::Child;
using test::MainWindowTest;

// The window with room on the screen to its right for less than the fault panel.
TEST_F(MainWindowTest, FaultPanelTakesItsOwnRoomBesideThePicture) {
    auto window = MakeWindow();
    auto* box = Child<QScrollArea>(*window, "ScrlBx_Main");
    auto* panel = Child<QFrame>(*window, "Pnl_ErrorFrame");
    const QRect work = window->screen()->availableGeometry();
    window->resize(work.width() / 2, window->height());
    window->move(work.left() + work.width() / 2 - panel->width() / 2, work.top());
    window->show();
    QApplication::processEvents();
    const int width = window->width();
    const int pictureWidth = box->width();

    window->Faults().AddFaults(0b1, ControllerType::Receiver);
    window->Timer1Timer();
    QApplication::processEvents();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(window->width(), width + panel->width());
    EXPECT_EQ(box->width(), pictureWidth);
    EXPECT_GE(panel->x(), box->geometry().right());
    EXPECT_LE(window->frameGeometry().right(), work.right()); // moved left to stay on screen

    Item(*window, "MNU_V7")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(window->width(), width);
    EXPECT_EQ(box->width(), pictureWidth);
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

// Nothing connected, nothing changes: the ticks neither draw nor paint the picture again.
// Live, the cycles that arrive are painted.
TEST_F(MainWindowTest, ThePictureIsPaintedOnlyWhenWhatItShowsChanged) {
    auto window = MakeWindow();
    window->show();
    auto* picture = Child<TPictureBox>(*window, "Img_Main");
    test::Settle(100);
    PaintCounter idle(*picture);
    for (int tick = 0; tick < 20; ++tick) {
        window->Timer1Timer();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(idle.count, 0);

    window.reset();
    auto live = MakeLiveWindow();
    live->show();
    PaintCounter painted(*Child<TPictureBox>(*live, "Img_Main"));
    EXPECT_TRUE(test::WaitUntil([&] { return painted.count > 0; }));
}

class BeamWindowTest : public MainWindowTest {
protected:
    // The simulated receiver with 40 beams: scroll positions 1 to 25 on the bar view.
    void SetUp() override {
        simulation = SimulationRequest{ControllerType::Receiver, {"--beams", "40"}};
        window = MakeWindow();
        ASSERT_TRUE(test::WaitUntil([&] { return window->Link().ReceiverCycles().Valid(); }));
        window->Timer1Timer();
        scrollBar = Child<QScrollBar>(*window, "ScrlBr1");
        picture = Child<TPictureBox>(*window, "Img_Main");
        ASSERT_EQ(scrollBar->maximum(), 25);
    }

    int Key(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(picture, &press);
        return scrollBar->value();
    }
    int Wheel(int angle) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, picture->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &wheel);
        return scrollBar->value();
    }

    std::unique_ptr<TFRM_Main> window;
    QScrollBar* scrollBar = nullptr;
    TPictureBox* picture = nullptr;
};

// The picture draws the beams top-down from the scroll value: "down" shows higher beams.
TEST_F(BeamWindowTest, KeysStepPageAndJumpTheWindow) {
    EXPECT_EQ(Key(Qt::Key_Down), 2);
    EXPECT_EQ(Key(Qt::Key_PageDown), 18); // a page is the 16 rows shown
    EXPECT_EQ(Key(Qt::Key_End), 25);
    EXPECT_EQ(Key(Qt::Key_Down), 25);
    EXPECT_EQ(Key(Qt::Key_Up), 24);
    EXPECT_EQ(Key(Qt::Key_PageUp), 8);
    EXPECT_EQ(Key(Qt::Key_Home), 1);
    EXPECT_EQ(Key(Qt::Key_Up), 1);
}

TEST_F(BeamWindowTest, WheelTowardTheUserShowsHigherBeams) {
    const int lines = QApplication::wheelScrollLines();
    EXPECT_EQ(Wheel(-120), 1 + lines);
    EXPECT_EQ(Wheel(-60), 1 + lines); // half a notch waits for the other half
    EXPECT_EQ(Wheel(-60), 1 + 2 * lines);
    EXPECT_EQ(Wheel(240), 1);
    EXPECT_EQ(Wheel(120), 1);
}

TEST_F(BeamWindowTest, OtherPagesLeaveTheWindowAlone) {
    Key(Qt::Key_Down);
    for (ViewMode mode : {ViewMode::Status, ViewMode::Lines}) {
        ASSERT_TRUE(window->SetViewMode(mode));
        EXPECT_EQ(Key(Qt::Key_End), 2);
        EXPECT_EQ(Wheel(-120), 2);
    }
    ASSERT_TRUE(window->SetViewMode(ViewMode::Bar));
    EXPECT_EQ(Key(Qt::Key_End), 25);
}

} // namespace
} // namespace lcdiag
