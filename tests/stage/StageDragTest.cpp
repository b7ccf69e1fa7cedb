// Dragging her with the primary button, fed mouse events at chosen screen positions.
#include "stage/StageDrag.h"
#include "support/fixtures/TestApplication.h"

#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {
class StageDragTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        window.setGeometry(100, 200, 208, 452);
        window.show();
    }

    bool send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint global) {
        const QPointF local = global - window.pos();
        QMouseEvent event(type, local, local, global, button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
        return event.isAccepted();
    }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        send(QEvent::MouseButtonPress, button, button, at);
    }
    void moveTo(QPoint at, Qt::MouseButtons held = Qt::LeftButton) {
        send(QEvent::MouseMove, Qt::NoButton, held, at);
    }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        send(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    }

    QApplication& app = testApplication();
    QWidget window{nullptr, Qt::Window | Qt::FramelessWindowHint};
    int touches = 0;
    // A window manager that takes the move, when there is one.
    bool windowManager = false;
    std::vector<QPoint> movesHandedOver;
    bool held = false;
    int cancels = 0;
    StageDrag* drag = new StageDrag(window, [this] { ++touches; },
                                    {.startSystemMove =
                                         [this](QPoint from) {
                                             if (windowManager)
                                                 movesHandedOver.push_back(from);
                                             return windowManager;
                                         },
                                     .primaryHeld = [this] { return held; },
                                     .cancelSystemMove = [this] { ++cancels; }});
};

TEST_F(StageDragTest, ThePrimaryButtonMovesHerByTheDragAndEveryMoveIsATouch) {
    press({150, 300});
    EXPECT_EQ(touches, 1);
    EXPECT_TRUE(drag->dragging());
    moveTo({160, 290});
    moveTo({190, 340});
    EXPECT_EQ(window.pos(), QPoint(140, 240));
    EXPECT_EQ(touches, 3);
    release({190, 340});
    EXPECT_FALSE(drag->dragging());

    // A button pressed somewhere else and dragged over her does not take her along.
    moveTo({400, 400});
    EXPECT_EQ(window.pos(), QPoint(140, 240));
    EXPECT_EQ(touches, 3);
}

TEST_F(StageDragTest, APressAndReleaseInPlaceIsOneTouchAndLeavesHerWhereSheIs) {
    // Nor is the click handed to a window manager, which would take the pointer after the
    // release and keep her on it.
    for (bool manager : {false, true}) {
        windowManager = held = manager;
        touches = 0;
        press({150, 300});
        release({150, 300});
        EXPECT_EQ(touches, 1);
        EXPECT_EQ(window.pos(), QPoint(100, 200));
        EXPECT_TRUE(movesHandedOver.empty());
        EXPECT_FALSE(drag->dragging());
    }
}

TEST_F(StageDragTest, OtherButtonsNeitherTouchNorDragAndGoOnToTheWindow) {
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        press({150, 300}, button);
        moveTo({250, 350}, button);
        release({250, 350}, button);
    }
    EXPECT_EQ(touches, 0);
    EXPECT_EQ(window.pos(), QPoint(100, 200));
    EXPECT_FALSE(drag->dragging());
}

TEST_F(StageDragTest, AWindowManagerTakesTheMoveAndEachOfItsMovesWhileHeldIsATouch) {
    windowManager = true;
    held = true;
    press({150, 300});
    EXPECT_TRUE(movesHandedOver.empty());
    EXPECT_EQ(touches, 1);
    // The first move brings her to the pointer and hands the rest over from there; later
    // moves are the manager's, not the program's.
    moveTo({190, 340});
    EXPECT_EQ(movesHandedOver, (std::vector<QPoint>{{190, 340}}));
    EXPECT_EQ(window.pos(), QPoint(140, 240));
    moveTo({200, 350});
    EXPECT_EQ(window.pos(), QPoint(140, 240));
    EXPECT_EQ(touches, 2);
    window.move(150, 250);
    QCoreApplication::processEvents();
    window.move(160, 260);
    QCoreApplication::processEvents();
    EXPECT_EQ(touches, 4);

    // The window manager keeps the release; a move after it is no touch and ends the drag.
    held = false;
    window.move(170, 270);
    QCoreApplication::processEvents();
    EXPECT_EQ(touches, 4);
    EXPECT_FALSE(drag->dragging());
}
// A flick's release can come before the manager takes the pointer, or wait behind its move.
TEST_F(StageDragTest, AQuickFlickIsMovedHereWhenTheManagerCannotHaveItsRelease) {
    windowManager = true;
    struct Case {
        const char* name;
        bool heldAtTheMove;
        int handedOver;
    } cases[] = {{"released before the move was read", false, 0},
                 {"released before the manager took the pointer", true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.move(100, 200);
        movesHandedOver.clear();
        cancels = 0;
        held = c.heldAtTheMove;
        press({150, 300});
        moveTo({190, 340});
        release({190, 340});
        EXPECT_EQ(int(movesHandedOver.size()), c.handedOver);
        EXPECT_EQ(cancels, c.handedOver);
        EXPECT_EQ(window.pos(), QPoint(140, 240));
        EXPECT_FALSE(drag->dragging());
    }
}
} // namespace
