#pragma once

#include "clock/TitleSentences.h"

#include <QtGlobal>
#include <atomic>
#include <mutex>
#include <sys/types.h>
#include <thread>

class ClockHost;
class SecondWaiter;
class WallClock;

// The clock thread: watches the wall clock and turns each change of second, minute and
// day into the dial's refresh, its rebuild, the title and the event checks.
class TClocker {
public:
    static constexpr quint16 kNotSet = 65535;

    TClocker(ClockHost& host, const WallClock& clock, SecondWaiter& waiter,
             const QLocale& locale = QLocale::system());
    // Stops and joins the thread.
    ~TClocker();
    TClocker(const TClocker&) = delete;
    TClocker& operator=(const TClocker&) = delete;

    // Starts the thread, once; it takes its priority level before anything else.
    void Resume();
    // Asks the loop to end and wakes its wait. Whoever the thread waits for in the host
    // must let it go as well.
    void Terminate();
    void WaitFor();
    bool Terminated() const { return terminated_; }
    // True from Resume until the loop has ended.
    bool running() const;

    // Applies now when the thread runs, else when it starts; refusals are silent.
    void setPriority(int level);
    int priority() const;
    // 0 while the thread does not run.
    pid_t threadId() const;

    // The loop itself, on the calling thread; Resume runs it on the clock thread.
    void Execute();

    std::atomic<quint16> LastHour{kNotSet};
    std::atomic<quint16> LastMinute{kNotSet};
    std::atomic<quint16> LastSecond{kNotSet};

private:
    void titleStep(int& phase);

    ClockHost& host_;
    const WallClock& clock_;
    SecondWaiter& waiter_;
    TitleSentences sentences_;
    std::atomic<bool> terminated_{false};
    mutable std::mutex threadMutex_; // guards the three below
    int level_ = 0;
    pid_t tid_ = 0;
    bool running_ = false;
    std::thread thread_;
};
