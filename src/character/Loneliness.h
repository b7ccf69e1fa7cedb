#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

class QCheckBox;
class StagePopupMenu;
class StageTimer;
class TimerFactory;

// How long she bears being alone. Left alone for samiLim seconds she calls with a face
// close to tears, a minute later she cries aloud, a minute after that she calms down and
// waits again; a touch restarts the wait and brings her own face back. One timer and the
// stage kept beside it carry the whole state.
class Loneliness {
public:
    // The stage, the timer's tag.
    enum Stage { kWaiting = 0, kCalledOnce = 1, kCalledTwice = 2, kSmiling = 40 };
    static constexpr int kCallMs = 60000;
    static constexpr int kSmileMs = 20000;
    static constexpr int kNakuTestMs = 5000;

    struct Hooks {
        // Her voice; whether the clip plays does not change her course.
        std::function<void(const QString& clip)> playVoice;
        std::function<void(int index)> setFace;
        std::function<bool()> expressionShowing;
    };

    // The patience menu is its own; NakuTest, while checked, shortens every wait and call to
    // 5 seconds.
    Loneliness(qint32& samiLim, TimerFactory& timers, StagePopupMenu& menu,
               const QCheckBox& NakuTest, Hooks hooks);
    ~Loneliness();
    Loneliness(const Loneliness&) = delete;
    Loneliness& operator=(const Loneliness&) = delete;

    // Restarts the wait from samiLim.
    void armSamishii();
    void userTouched();
    void SamishiiTimerTimer();
    void NakuTestClick();
    // A smile holds the timer for its 20 seconds, then she waits afresh.
    void holdSmile();

    // The wait for a patience time. No time (0 or negative) is none; a time too long for
    // the timer is the longest it holds.
    static int waitMilliseconds(qint32 seconds);

    int stage() const { return stage_; }
    const StageTimer& timer() const { return *SamishiiTimer; }

private:
    // Every transition ends here: the new interval counts from now, and 0 stays stopped.
    void startUnlessOff();

    qint32& samiLim_;
    const QCheckBox& nakuTest_;
    Hooks hooks_;
    std::unique_ptr<StageTimer> SamishiiTimer;
    int stage_ = kWaiting;
};
