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

TEST(StagePlacement, OnlyADragChangesTheStoredPlace) {
    testApplication();
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(208, 452);
    StageDrag drag(window, [] {}, {[](QPoint) { return false; }, [] { return true; }, [] {}});
    StagePlacement placement(window, drag);
    // Places from a hand-edited file at the ends of the numbers.
    for (const QPoint wanted : {QPoint(INT_MAX, INT_MAX), QPoint(INT_MIN, 5)}) {
        placement.standAt(wanted);
        EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(window.geometry()));
        EXPECT_EQ(placement.storedPlace(), wanted);
    }
    window.move(300, 100); // as a window manager or a smaller screen moves her
    EXPECT_EQ(placement.storedPlace(), QPoint(INT_MIN, 5));
    for (const auto& [type, at] : {std::pair{QEvent::MouseButtonPress, QPoint(320, 120)},
                                   {QEvent::MouseMove, QPoint(350, 160)}}) {
        QMouseEvent event(type, at - window.pos(), at, Qt::LeftButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&window, &event);
    }
    EXPECT_EQ(placement.storedPlace(), QPoint(330, 140));
}
