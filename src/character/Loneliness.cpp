#include "character/Loneliness.h"

#include "platform/StageTimer.h"
#include "stage/MenuItem.h"

#include <QCheckBox>
#include <limits>

namespace {
// Each item's value is its patience in seconds.
constexpr MenuItem::Choice kPatience[] = {
    {"MIGaman1", QT_TRANSLATE_NOOP("StagePopupMenu", "とても寂しいです"), 600},
    {"MIGaman2", QT_TRANSLATE_NOOP("StagePopupMenu", "ちょっと寂しいです"), 1200},
    {"MIGaman3", QT_TRANSLATE_NOOP("StagePopupMenu", "お待ちしております"), 1800},
    {"MIGaman4", QT_TRANSLATE_NOOP("StagePopupMenu", "我慢いたします"), 3600},
    {"MIGaman5", QT_TRANSLATE_NOOP("StagePopupMenu", "辛抱いたします"), 14400},
    {"MIGaman0", QT_TRANSLATE_NOOP("StagePopupMenu", "平気です[オフ]"), 0},
};
} // namespace

Loneliness::Loneliness(qint32& samiLim, TimerFactory& timers, StagePopupMenu& menu,
                       const QCheckBox& NakuTest, Hooks hooks)
    : samiLim_(samiLim), nakuTest_(NakuTest), hooks_(std::move(hooks)),
      SamishiiTimer(timers.makeTimer(0)) {
    SamishiiTimer->setTimeoutHandler([this] { SamishiiTimerTimer(); });
    // A time written by hand that no item offers ticks none.
    MenuItem::choice(menu, "MIGaman", QT_TRANSLATE_NOOP("StagePopupMenu", "寂しくても我慢"),
                     kPatience, samiLim_, [this] { armSamishii(); });
}

Loneliness::~Loneliness() = default;

int Loneliness::waitMilliseconds(qint32 seconds) {
    constexpr int kLongest = std::numeric_limits<int>::max();
    if (seconds <= 0)
        return 0;
    return seconds > kLongest / 1000 ? kLongest : seconds * 1000;
}

void Loneliness::armSamishii() {
    SamishiiTimer->stop();
    SamishiiTimer->setInterval(waitMilliseconds(samiLim_));
    stage_ = kWaiting;
    startUnlessOff();
}

void Loneliness::userTouched() {
    armSamishii();
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

void Loneliness::NakuTestClick() {
    armSamishii();
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
