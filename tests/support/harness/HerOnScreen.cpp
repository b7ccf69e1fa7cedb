#include "support/harness/HerOnScreen.h"

#include "stage/AssetCatalogue.h"
#include "support/fakes/FakeTimeline.h"
#include "support/fixtures/BalloonRig.h"
#include "support/harness/XSession.h"
#include "support/harness/XShape.h"

#include <QLabel>
#include <QWidget>

namespace {

const QRect kFaceFrame(15, 9, 128, 128);
const QRect kDialBox(80, 256, 128, 128);
const QRect kMouthArea(40, 108, 81, 37);

bool sameColour(QRgb a, QRgb b) {
    return (a | 0xFF000000u) == (b | 0xFF000000u);
}

Dial programDial() {
    using GlyphList = AssetCatalogue::GlyphList;
    // As her window builds it, from the same pictures.
    const DigitLayout layout =
        DigitLayout::compute(AssetCatalogue::glyphSize(GlyphList::DigiNumber),
                             AssetCatalogue::glyphSize(GlyphList::DigiNumSmall),
                             AssetCatalogue::glyphSize(GlyphList::AmPm),
                             QPoint(kDialBox.width() / 2, kDialBox.height() / 2));
    return Dial(kDialBox,
                {AssetCatalogue::bitmap(QStringLiteral("Stage")),
                 AssetCatalogue::maskedBitmap(QStringLiteral("Mojiban")),
                 AssetCatalogue::maskedBitmap(QStringLiteral("MojibanDigi"))},
                AssetCatalogue::drawGlyph, layout);
}

} // namespace

HeadOnScreen::HeadOnScreen() : body_(AssetCatalogue::region(1).value_or(QRegion())) {
    pictures_.push_back(AssetCatalogue::bitmap(QStringLiteral("Stage")).copy(kFaceFrame));
    for (const char* name : {"Face1", "Face2", "Face3"})
        pictures_.push_back(AssetCatalogue::bitmap(QLatin1String(name)));
}

int HeadOnScreen::face(const QImage& screen, QPoint stageAt) const {
    // A few pixels of slack for the outline's edge.
    constexpr int kNoise = 10;
    for (int index = 0; index < int(pictures_.size()); ++index)
        if (differences(screen, stageAt, pictures_[index]) <= kNoise)
            return index;
    return -1;
}

int HeadOnScreen::differences(const QImage& screen, QPoint stageAt, const QImage& picture) const {
    int count = 0;
    for (int y = 0; y < kFaceFrame.height(); ++y)
        for (int x = 0; x < kFaceFrame.width(); ++x) {
            const QPoint inWindow = kFaceFrame.topLeft() + QPoint(x, y);
            if (!body_.contains(inWindow))
                continue;
            const QPoint onScreen = stageAt + inWindow;
            if (!screen.valid(onScreen) || !sameColour(screen.pixel(onScreen), picture.pixel(x, y)))
                ++count;
        }
    return count;
}

DialOnScreen::DialOnScreen()
    : dial_(programDial()), outline_(AssetCatalogue::region(2).value_or(QRegion())) {}

std::optional<QTime> DialOnScreen::shownTime(const QImage& screen, QPoint stageAt, DialMode mode,
                                             const QDateTime& around) {
    if (outline_.isEmpty() || screen.isNull())
        return std::nullopt;
    const QPoint dialAt = stageAt + kDialBox.topLeft();
    // At second 59 the dial already holds the coming minute.
    for (int minutes : {0, -1, 1}) {
        const QTime time = around.time().addSecs(60 * minutes);
        dial_.compose(time.hour(), time.minute(), mode);
        for (int second = 0; second < 60; ++second)
            if (matches(dial_.frameAt(second, mode), screen, dialAt))
                return QTime(time.hour(), time.minute(), second);
    }
    return std::nullopt;
}

bool DialOnScreen::matches(const QImage& shown, const QImage& screen, QPoint dialAt) const {
    for (const QRect& band : outline_)
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x) {
                const QPoint onScreen = dialAt + QPoint(x, y);
                if (!screen.valid(onScreen) ||
                    !sameColour(screen.pixel(onScreen), shown.pixel(x, y)))
                    return false;
            }
    return true;
}

BalloonOnScreen::BalloonOnScreen()
    : timers_(std::make_unique<FakeTimeline>()),
      rig_(std::make_unique<BalloonRig>(*timers_, kMouthArea)), balloon_(&rig_->balloon) {}

BalloonOnScreen::~BalloonOnScreen() = default;

QPoint BalloonOnScreen::placeBeside(QPoint stageAt) {
    rig_->stage.setGeometry(QRect(stageAt, QSize(208, 452)));
    // The outline crosses the time line: drawn for the same corner as on the screen.
    balloon_->placeBalloon(false);
    balloon_->makeShape();
    return balloon_->pos();
}

int BalloonOnScreen::differences(const QImage& screen, QPoint stageAt, const QString& message,
                                 const QString& timeLine) {
    const QPoint balloonAt = placeBeside(stageAt);
    messageArea(*balloon_).setText(message);
    timeLabel(*balloon_).setText(timeLine);
    const QImage drawn = balloon_->grab().toImage();
    const QRegion shape = balloon_->balloonRegion().value_or(QRegion(drawn.rect()));
    int count = 0;
    for (const QLabel* label : {&messageArea(*balloon_), &timeLabel(*balloon_)}) {
        const QRect area = label->geometry();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                // The time line reaches below the body, where the screen shows through.
                if (!shape.contains(QPoint(x, y)))
                    continue;
                const QPoint onScreen = balloonAt + QPoint(x, y);
                if (!screen.valid(onScreen) ||
                    !sameColour(screen.pixel(onScreen), drawn.pixel(x, y)))
                    ++count;
            }
    }
    return count;
}

namespace HerWindows {

namespace {
std::vector<qulonglong> programWindows(const XSession& session) {
    std::vector<qulonglong> ids;
    for (const QString& id :
         session
             .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--class"), QStringLiteral("^hourling$")})
             .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        ids.push_back(id.toULongLong());
    return ids;
}

// Her window at any of her sizes and scales: 208 x 452 in proportion.
bool isHerShape(QSize size) {
    return !size.isEmpty() && size.width() * 452 == size.height() * 208;
}
} // namespace

std::optional<qulonglong> stage(const XSession& session) {
    for (qulonglong id : programWindows(session))
        if (isHerShape(session.windowGeometry(id).size()) &&
            !boundingShapeOf(session, id).isEmpty())
            return id;
    return std::nullopt;
}

std::optional<QRect> openMenu(const XSession& session) {
    for (qulonglong id : programWindows(session)) {
        const QByteArray info =
            session.run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)})
                .out;
        if (info.contains("Override Redirect State: yes"))
            return session.windowGeometry(id);
    }
    return std::nullopt;
}

std::optional<qulonglong> named(const XSession& session, const QString& title) {
    for (qulonglong id : programWindows(session))
        if (session.windowName(id) == title)
            return id;
    return std::nullopt;
}

bool above(const XSession& session, qulonglong window) {
    return session
        .run(QStringLiteral("xprop"),
             {QStringLiteral("-id"), QString::number(window), QStringLiteral("_NET_WM_STATE")})
        .out.contains("_NET_WM_STATE_ABOVE");
}

} // namespace HerWindows
