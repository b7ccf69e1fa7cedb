#pragma once

#include <functional>
#include <memory>

class QObject;

// Runs a call on the thread of a user-interface object and blocks the caller until it has
// run there; an exception the call throws is thrown again in the caller. cancel() releases
// every caller at once, so that the user-interface thread can stop and join a worker that
// waits here without either waiting for the other.
class UiHandOver {
public:
    explicit UiHandOver(QObject* context);
    ~UiHandOver();
    UiHandOver(const UiHandOver&) = delete;
    UiHandOver& operator=(const UiHandOver&) = delete;

    // False when cancelled before the call could run; it will not run then.
    bool run(std::function<void()> call);
    void cancel();
    bool cancelled() const;

private:
    struct State;
    QObject* context_;
    std::shared_ptr<State> state_;
};
