// The dial of the running program at a moment fixed with a faked wall clock: the hands
// stand on screen where the dial's geometry puts them.
#include "clock/DialColours.h"
#include "clock/DialGeometry.h"
#include "clock/RasterCanvas.h"
#include "support/harness/XSession.h"

#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr QPoint kDialInWindow{80, 256};

QRgb at(const QImage& screen, QPoint p) {
    return screen.pixel(p) | 0xFF000000u;
}

} // namespace

TEST(DialOnScreen, HandsAtTwoOClockStandWhereTheGeometrySays) {
    XSession session;
    ASSERT_TRUE(session.ok()) << "Xvfb did not start";
    QTemporaryDir config;
    ProgramRun program(session, config.path(),
                       fixedClockEnvironment(QStringLiteral("2026-03-15 02:00:03")));
    ASSERT_TRUE(program.start());
    const auto stage = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(stage.has_value());

    const DialGeometry geometry;
    QPoint dial;
    QImage screen;
    // The clock's first rebuild puts the hands on; until then the face shows alone.
    ASSERT_TRUE(eventually([&] {
        dial = session.windowGeometry(*stage).topLeft() + kDialInWindow;
        screen = session.screenshot();
        return !screen.isNull() && at(screen, dial + QPoint(64, 30)) == DialColours::kAqua;
    })) << "no minute hand at the dial's top";
    screen.save(artifactPath(QStringLiteral("dial-at-two.png")));

    const QPoint minuteTip = geometry.placeHand(geometry.minuteHandShape, 0)[0];
    const QPoint hourTip = geometry.placeHand(geometry.hourHandShape, 10)[0];
    EXPECT_EQ(minuteTip, QPoint(64, 13));
    EXPECT_EQ(hourTip, QPoint(96, 45));
    EXPECT_EQ(at(screen, dial + minuteTip), DialColours::kBlack);
    EXPECT_NE(at(screen, dial + minuteTip - QPoint(0, 1)), DialColours::kBlack);
    EXPECT_EQ(at(screen, dial + hourTip), DialColours::kBlack);
    // Inside the hour hand, halfway along it.
    EXPECT_EQ(at(screen, dial + geometry.dialPoint(10, 20)), DialColours::kAqua);
    EXPECT_EQ(at(screen, dial + geometry.centre), DialColours::kRed); // the cap

    // The second hand lies along one of the few seconds since the start: every point of
    // that second's line is red on screen.
    int pointedAt = -1;
    for (int second = 0; second < 60; ++second) {
        QImage line(128, 128, QImage::Format_RGB32);
        line.fill(Qt::white);
        RasterCanvas canvas(line);
        canvas.line(geometry.dialPoint(second, geometry.secondHandLength),
                    geometry.dialPoint(second, -geometry.tailLength), DialColours::kRed,
                    RasterCanvas::PenMode::Copy);
        bool allRed = true;
        for (int y = 0; y < 128 && allRed; ++y)
            for (int x = 0; x < 128 && allRed; ++x)
                if (at(line, QPoint(x, y)) == DialColours::kRed)
                    allRed = at(screen, dial + QPoint(x, y)) == DialColours::kRed;
        if (allRed)
            pointedAt = second;
    }
    EXPECT_GE(pointedAt, 3);
    EXPECT_LE(pointedAt, 50);

    program.sendSignal(SIGTERM);
    EXPECT_TRUE(program.waitForExit());
}
