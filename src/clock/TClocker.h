#pragma once

#include "clock/TitleSentences.h"

#include <QtGlobal>
#include <atomic>
#include <memory>
#include <mutex>
#include <sys/types.h>

struct LocalTime;

class ClockHost;
class SecondWaiter;
class WallClock;

// The clock thread: watches the wall clock and turns each change of second, minute and
// day into the dial's refresh, its rebuild, the title and the event checks.
//
// Each change of priority level moves the loop to a fresh thread made at the new level by
// the caller (the user-interface thread), because a thread without privilege can never
// raise its own level again. The old thread finishes the pass it is in and stops between
// two passes; its successor joins it and goes on with the loop's state where it left off.
// Neither the caller nor the hand-over of a pass in flight ever waits for the move.
class TClocker {
public:
    static constexpr quint16 kNotSet = 65535;

    TClocker(ClockHost& host, const WallClock& clock, SecondWaiter& waiter,
             const QLocale& locale = QLocale());
    // Stops and joins the thread.
    ~TClocker();
    TClocker(const TClocker&) = delete;
    TClocker& operator=(const TClocker&) = delete;

    // Starts the thread, once, at the level set last.
    void resume();
    // Asks the loop to end and wakes its wait. Whoever the thread waits for in the host
    // must let it go as well.
    void terminate();
    void waitFor();
    bool terminated() const { return terminated_; }
    // True from resume until the loop has ended; a move does not end it.
    bool running() const;

    // Takes effect at once while the loop runs, else when it starts; refusals are silent.
    void setPriority(int level);
    int priority() const;
    // The thread that runs the loop now; 0 while none does, as for a moment in a move.
    pid_t threadId() const;

    // The loop itself, on the calling thread; resume runs it on the clock thread. The
    // start-up steps run only the first time.
    void execute();

    std::atomic<quint16> lastHour{kNotSet};
    std::atomic<quint16> lastMinute{kNotSet};
    std::atomic<quint16> lastSecond{kNotSet};

private:
    struct Worker;
    enum class LoopEnd { Ended, HandedOn };

    // Under threadMutex_: a thread for the current level that takes over from the last one.
    void startWorker();
    void work(unsigned generation, int level, std::shared_ptr<Worker> previous);
    LoopEnd runLoop(unsigned generation);
    // False when a stop request cut it short.
    bool pass(const LocalTime& t);
    void titleStep();

    ClockHost& host_;
    const WallClock& clock_;
    SecondWaiter& waiter_;
    TitleSentences sentences_;
    std::atomic<bool> terminated_{false};
    // The worker that owns the loop; an older one hands over at its next pass boundary.
    std::atomic<unsigned> generation_{0};

    // Loop state beyond the three fields above. Only the thread that runs the loop touches
    // it; a successor reads it after joining the thread before.
    bool started_ = false;
    int phase_ = 0; // 0: the date comes next, 1: the time
    int checkedDay_ = 0;
    int checkedMinute_ = 0;

    mutable std::mutex threadMutex_; // guards the five below
    int level_ = 0;
    pid_t tid_ = 0;
    bool resumed_ = false;
    bool ended_ = false;
    std::shared_ptr<Worker> worker_;
};
