#pragma once

#include "clock/Dial.h"

#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <QTime>
#include <memory>
#include <optional>
#include <vector>

struct BalloonRig;
class FakeTimeline;
class TMessageBalloon;
class XSession;

// Her windows read from the X server she runs on: screenshots compared with what the
// program's own pictures and drawing code give. Positions are her window's top-left on
// the screen.

// Which face her head shows: 0 her own, 1 to 3 an expression, -1 none of them. Only the
// pixels inside her outline count; the screen shows through around it.
class HeadOnScreen {
public:
    HeadOnScreen();
    bool ok() const { return !body_.isEmpty(); }
    int face(const QImage& screen, QPoint stageAt) const;

private:
    int differences(const QImage& screen, QPoint stageAt, const QImage& picture) const;
    QRegion body_;
    std::vector<QImage> pictures_;
};

// The time her dial shows: the dial drawn here for each second around the expected time,
// compared with the screen pixel for pixel inside the dial's outline.
class DialOnScreen {
public:
    DialOnScreen();
    // The matching time within a minute and a half of around; none when nothing matches.
    std::optional<QTime> shownTime(const QImage& screen, QPoint stageAt, DialMode mode,
                                   const QDateTime& around);

private:
    bool matches(const QImage& shown, const QImage& screen, QPoint dialAt) const;
    Dial dial_;
    QRegion outline_;
};

// What her speech balloon says: a balloon of the same form, never shown, placed beside her
// as the program's is, draws the texts here and its two labels are compared with the
// screen. The fonts come out the same only when this process draws on the same kind of
// display as the program.
class BalloonOnScreen {
public:
    BalloonOnScreen();
    ~BalloonOnScreen();
    // Where her balloon stands when she stands at stageAt.
    QPoint placeBeside(QPoint stageAt);
    // Pixels that differ inside the message and the time line; 0 when the balloon beside
    // her at stageAt shows exactly these texts.
    int differences(const QImage& screen, QPoint stageAt, const QString& message,
                    const QString& timeLine);

private:
    std::unique_ptr<FakeTimeline> timers_;
    std::unique_ptr<BalloonRig> rig_;
    TMessageBalloon* balloon_;
};

// Her windows as X sees them.
namespace HerWindows {
// Her stage window: the program's mapped window of her proportions with a shape. A change of
// stacking may give her a new one.
std::optional<qulonglong> stage(const XSession& session);
// An open popup menu of the program's: a window the window manager does not manage.
std::optional<QRect> openMenu(const XSession& session);
// Her window with that title, shown. Searched by its title as the window manager reads it
// (_NET_WM_NAME): the older WM_NAME comes out garbled when the program's locale is missing
// from the C library.
std::optional<qulonglong> named(const XSession& session, const QString& title);
// Whether the window manager keeps the window above the others.
bool above(const XSession& session, qulonglong window);
} // namespace HerWindows
