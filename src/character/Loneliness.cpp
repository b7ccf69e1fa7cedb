#include "character/Loneliness.h"

#include "platform/StageTimer.h"
#include "stage/StagePopupMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <limits>

Loneliness::Loneliness(qint32& samiLim, TimerFactory& timers, QMenu& MIGaman,
                       const QCheckBox& NakuTest, Hooks hooks)
    : samiLim_(samiLim), patienceMenu_(MIGaman), nakuTest_(NakuTest), hooks_(std::move(hooks)),
      SamishiiTimer(timers.makeTimer(0)) {
    SamishiiTimer->setTimeoutHandler([this] { SamishiiTimerTimer(); });
}

Loneliness::~Loneliness() = default;

int Loneliness::waitMilliseconds(qint32 seconds) {
    constexpr int kLongest = std::numeric_limits<int>::max();
    if (seconds <= 0)
        return 0;
    return seconds > kLongest / 1000 ? kLongest : seconds * 1000;
}

void Loneliness::armSamishii(bool syncMenu) {
    SamishiiTimer->stop();
    SamishiiTimer->setInterval(waitMilliseconds(samiLim_));
    stage_ = kWaiting;
    if (syncMenu)
        tickPatienceItem();
    startUnlessOff();
}

void Loneliness::tickPatienceItem() {
    // A time written by hand that no item offers leaves the menu as it is.
    for (QAction* item : patienceMenu_.actions()) {
        if (item->isCheckable() && StagePopupMenu::tagOf(*item) == samiLim_) {
            item->setChecked(true);
            return;
        }
    }
}

void Loneliness::userTouched() {
    armSamishii(false);
    if (hooks_.expressionShowing())
        hooks_.setFace(0);
}

void Loneliness::SamishiiTimerTimer() {
    SamishiiTimer->stop();
    switch (stage_) {
    case kWaiting:
        SamishiiTimer->setInterval(kCallMs);
        stage_ = kCalledOnce;
        hooks_.playVoice(QStringLiteral("Snd_Matsu1"));
        hooks_.setFace(2);
        break;
    case kCalledOnce:
        SamishiiTimer->setInterval(kCallMs);
        stage_ = kCalledTwice;
        hooks_.playVoice(QStringLiteral("Snd_Matsu2"));
        hooks_.setFace(3);
        break;
    default:
        SamishiiTimer->setInterval(waitMilliseconds(samiLim_));
        stage_ = kWaiting;
        hooks_.setFace(0);
        break;
    }
    startUnlessOff();
}

void Loneliness::MIGaman5Click(const QAction* item) {
    samiLim_ = StagePopupMenu::tagOf(*item);
    armSamishii(true);
}

void Loneliness::NakuTestClick() {
    armSamishii(false);
}

void Loneliness::holdSmile() {
    SamishiiTimer->stop();
    // Not shortened by NakuTest, and held even while loneliness is off.
    SamishiiTimer->setInterval(kSmileMs);
    stage_ = kSmiling;
    SamishiiTimer->start();
}

void Loneliness::startUnlessOff() {
    if (SamishiiTimer->interval() == 0)
        return;
    if (nakuTest_.isChecked())
        SamishiiTimer->setInterval(kNakuTestMs);
    SamishiiTimer->start();
}
