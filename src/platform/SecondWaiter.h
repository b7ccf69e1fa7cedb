#pragma once

#include <atomic>

// Waits for the wall clock's next change of second without polling it.
class SecondWaiter {
public:
    virtual ~SecondWaiter() = default;
    // Returns a little after the next whole second of the wall clock, or early; false once
    // interrupted.
    virtual bool waitForNextSecond() = 0;
    // Wakes a wait at once, and makes every later one return false at once.
    virtual void interrupt() = 0;
    // Ends the wait under way early, or the next one when none is; that wait returns true.
    virtual void wake() = 0;
};

class SystemSecondWaiter : public SecondWaiter {
public:
    SystemSecondWaiter();
    ~SystemSecondWaiter() override;
    SystemSecondWaiter(const SystemSecondWaiter&) = delete;
    SystemSecondWaiter& operator=(const SystemSecondWaiter&) = delete;

    bool waitForNextSecond() override;
    void interrupt() override;
    void wake() override;

private:
    int wakeFd_ = -1;
    int timerFd_ = -1;
    std::atomic<bool> interrupted_{false};
};
