#pragma once

#include "shared/StageSettings.h"

#include <functional>
#include <memory>

class StageTimer;
class TimerFactory;

// Each committed change on disk moments after it is made, so that a crash, a kill or a power
// cut loses none: told of a change, it saves the record within kDelayMs, a burst of changes
// in one write, and only when the record differs from what it last saved. Its timer runs
// only while a save is owed, so that nothing wakes while nothing changes.
class SaveOnChange {
public:
    static constexpr int kDelayMs = 500;

    // current gives the record as it stands; save writes it and tells whether it could.
    SaveOnChange(TimerFactory& timers, const StageSettings& saved,
                 std::function<StageSettings()> current,
                 std::function<bool(const StageSettings&)> save);
    ~SaveOnChange();
    SaveOnChange(const SaveOnChange&) = delete;
    SaveOnChange& operator=(const SaveOnChange&) = delete;

    // A change was committed: a dialog's OK, a menu choice, the end of a drag, a reset.
    void changed();
    // The record was written elsewhere (the close); a save owed is then none.
    void savedElsewhere(const StageSettings& saved);
    bool isOwed() const;

private:
    void saveNow();

    std::function<StageSettings()> current_;
    std::function<bool(const StageSettings&)> save_;
    std::unique_ptr<StageTimer> timer_;
    StageSettings lastSaved_;
};
