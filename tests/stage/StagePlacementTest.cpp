// Her stored place: the one she was given or dragged to, whatever else moves her.
#include "stage/StagePlacement.h"
#include "stage/StageDrag.h"
#include "support/fixtures/TestApplication.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <climits>
#include <gtest/gtest.h>

namespace {
void mouse(QWidget& window, QEvent::Type type, Qt::MouseButtons held, QPoint global) {
    const QPointF local = global - window.pos();
    QMouseEvent event(type, local, local, global, Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

TEST(StagePlacement, OnlyADragChangesTheStoredPlace) {
    testApplication();
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(208, 452);
    StageDrag drag(window, [] {},
                   {.startSystemMove = [](QPoint) { return false; },
                    .primaryHeld = [] { return true; },
                    .cancelSystemMove = [] {}});
    StagePlacement placement(window, drag);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // A corner, and places from a hand-edited file at the ends of the numbers.
    for (const QPoint wanted : {QPoint(0, 0), QPoint(INT_MAX, INT_MAX), QPoint(INT_MIN, 5)}) {
        placement.standAt(wanted);
        EXPECT_TRUE(screen.contains(window.geometry())) << wanted.x() << "," << wanted.y();
        EXPECT_EQ(placement.storedPlace(), wanted);
    }
    // As a window manager moves her, or a smaller screen.
    window.move(300, 100);
    EXPECT_EQ(placement.storedPlace(), QPoint(INT_MIN, 5));
    const QPoint from = window.pos() + QPoint(20, 20);
    mouse(window, QEvent::MouseButtonPress, Qt::LeftButton, from);
    mouse(window, QEvent::MouseMove, Qt::LeftButton, from + QPoint(30, 40));
    mouse(window, QEvent::MouseButtonRelease, Qt::NoButton, from + QPoint(30, 40));
    EXPECT_EQ(placement.storedPlace(), QPoint(330, 140));
}
} // namespace
