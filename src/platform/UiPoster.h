#pragma once

#include <QObject>
#include <functional>

// Runs calls on the user-interface thread, later and in the order they were posted; post()
// returns at once from any thread, so a thread that the user-interface thread joins never
// waits for it. A call still pending when the poster goes never runs.
class UiPoster {
public:
    virtual ~UiPoster() = default;
    virtual void post(std::function<void()> call) = 0;
};

// Posts through the toolkit's event queue. Made on the user-interface thread.
class QtUiPoster : public UiPoster {
public:
    void post(std::function<void()> call) override;

private:
    // Its pending calls are dropped with it.
    QObject context_;
};
