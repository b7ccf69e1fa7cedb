#pragma once

#include <functional>
#include <memory>

class QObject;

// Hands calls to the thread of a user-interface object, where they run in the order they
// were handed. A call that throws passes its exception back to the caller's next wait.
// cancel() releases every caller at once, so that the user-interface thread can stop and
// join a worker that waits here without either waiting for the other.
class UiHandOver {
public:
    explicit UiHandOver(QObject* context);
    ~UiHandOver();
    UiHandOver(const UiHandOver&) = delete;
    UiHandOver& operator=(const UiHandOver&) = delete;

    // Queues the call and returns at once; false when cancelled, and it will not run.
    bool post(std::function<void()> call);
    // Waits until every call posted so far has run, and throws the first exception one of
    // them threw. False when cancelled first.
    bool waitForPosted();
    // Posts the call and waits for it.
    bool run(std::function<void()> call);
    void cancel();
    bool cancelled() const;

private:
    struct State;
    QObject* context_;
    std::shared_ptr<State> state_;
};
