#pragma once

#include "events/AnnouncementQueue.h"
#include "shared/StageSettings.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QWidget;
class Speaker;
class StagePopupMenu;
class StageTimer;
class TimerFactory;
class UiPoster;
class Voice;

// Her schedules and anniversaries as her window runs them: the checks that find what falls
// due, the queue of announcements, MainTimer, which works the queue off one balloon at a
// time, the announcement itself and the two settings dialogs.
//
// The checks run on the clock thread, everything else on the user-interface thread. The
// slots and lastYotei of the settings are guarded by one lock, the queue by another
// (queueBusy_), and no lock is held while anything is handed to another thread. A check
// copies the numbers it matches under the lock and never reads a slot's texts, which a
// dialog may be replacing. MainTimer lives on the user-interface thread; the clock thread
// arms it by a call posted there.
class StageEvents {
public:
    static constexpr int kFirstAnnouncementMs = 200;
    static constexpr int kQueuePeriodMs = 5000;

    // The default texts are the two of DefaultStrings: the anniversary's, the schedule's. The
    // voice plays the dialogs' samples.
    StageEvents(StageSettings& settings, std::array<QString, 2> DefaultStrings,
                TimerFactory& timers, UiPoster& ui, Speaker& balloon, Voice& voice);
    ~StageEvents();
    StageEvents(const StageEvents&) = delete;
    StageEvents& operator=(const StageEvents&) = delete;

    // On the clock thread.
    void checkKinenbi(int month, int day);
    void checkYotei(int month, int day, int hour, int minute);
    // From any thread: false when the queue is full.
    bool queueAnnouncement(EventKind kind, int slot);

    // On the user-interface thread.
    void removeAnnouncement(int position);
    void MainTimerTimer();
    void announce(EventKind kind, int slot);
    void MessageTestClick();
    // The menu items of the settings dialogs, which are modal over the owner; nothing is
    // announced while one shows.
    void addMenuItems(StagePopupMenu& menu, QWidget& owner);
    bool isDialogOpen() const { return dialogOpen_; }
    const StageTimer& mainTimer() const { return *MainTimer; }

    // Copies and changes under the lock, from any thread.
    EventSlots slotsOf(EventKind kind) const;
    // What a dialog's OK writes: for anniversaries no hour, minute or other bits.
    void commitSlots(EventKind kind, const EventSlots& edited);
    qint32 lastYotei() const;
    // The whole record at one moment, for the save at the close.
    StageSettings settingsCopy() const;
    std::vector<Announcement> pending() const;

private:
    void armMainTimer(bool queueWasEmpty);
    bool queueIsEmpty() const;
    // With queueBusy_ held.
    void removeLocked(int position);
    template <class Dialog> void showDialog(EventKind kind, QWidget* owner);

    StageSettings& settings_;
    const std::array<QString, 2> defaultTexts_;
    UiPoster& ui_;
    Speaker& balloon_;
    Voice& voice_;
    std::unique_ptr<StageTimer> MainTimer;
    bool dialogOpen_ = false;

    // The slots and lastYotei of settings_.
    mutable std::mutex slotsLock_;
    // One check runs whole before the next, whichever thread the clock loop is on, so that
    // lastYotei is read and written by one check at a time.
    std::mutex checkInProgress_;
    // Held while the queue changes.
    mutable std::mutex queueBusy_;
    PendingAnnouncements announcementQueue_;
};
