#include "events/StageEvents.h"

#include "events/RepeatedHour.h"

#include "platform/StageTimer.h"
#include "platform/UiPoster.h"
#include "shared/Speaker.h"
#include "shared/TimeKey.h"

#include <optional>

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kSlotCount;
}

// "%.2d" followed by the separator, or "**" and the separator for 0, "any".
QString datePart(int value, const char* separator, bool anyAllowed) {
    return (anyAllowed && value == 0 ? QStringLiteral("**") : QString::asprintf("%.2d", value)) +
           QLatin1StringView(separator);
}

QString timeLabel(EventKind kind, const EventSlot& event) {
    QString label = QStringLiteral("[") + datePart(event.month, ".", true);
    if (kind == EventKind::Schedule)
        label += datePart(event.day, "  ", true) +
                 QString::asprintf("%.2d:%.2d", event.hour, event.minute);
    else
        label += datePart(event.day, "", false);
    return label + QStringLiteral("]");
}

} // namespace

StageEvents::StageEvents(StageSettings& settings, std::array<QString, 2> DefaultStrings,
                         TimerFactory& timers, UiPoster& ui, Speaker& balloon, Voice& voice)
    : settings_(settings), defaultTexts_(std::move(DefaultStrings)), ui_(ui), balloon_(balloon),
      voice_(voice), MainTimer(timers.makeTimer(kQueuePeriodMs)) {
    MainTimer->setTimeoutHandler([this] { MainTimerTimer(); });
}

StageEvents::~StageEvents() = default;

void StageEvents::checkKinenbi(int month, int day) {
    const std::lock_guard checking(checkInProgress_);
    std::array<bool, kSlotCount> due{};
    {
        const std::lock_guard lock(slotsLock_);
        for (int i = 0; i < kSlotCount; ++i) {
            const EventSlot& slot = settings_.anniversaries[i];
            due[i] = slot.used && (slot.month == 0 || slot.month == month) && slot.day == day;
        }
    }
    // A refusal by a full queue loses the anniversary for the day.
    for (int i = 0; i < kSlotCount; ++i) {
        if (due[i])
            queueAnnouncement(EventKind::Anniversary, i);
    }
}

void StageEvents::checkYotei(int month, int day, int hour, int minute) {
    const std::lock_guard checking(checkInProgress_);
    const qint32 now = timeKey(month, day, hour, minute);
    std::array<std::optional<qint32>, kSlotCount> keys;
    qint32 last = 0;
    {
        const std::lock_guard lock(slotsLock_);
        last = settings_.lastYotei;
        for (int i = 0; i < kSlotCount; ++i) {
            const EventSlot& slot = settings_.schedules[i];
            if (slot.used)
                keys[i] = timeKey(slot.month == 0 ? month : slot.month,
                                  slot.day == 0 ? day : slot.day, slot.hour, slot.minute);
        }
    }
    // In the hour that comes twice when the clocks go back, a minute today at or before the
    // last one announced was passed the first time round: announced then, or passed over.
    const auto dayOf = [](qint32 key) { return key >> TimeKeyLayout::kDayShift; };
    const bool secondTimeRound =
        dayOf(last) == dayOf(now) && now <= last && comesTwice(month, day, hour, minute);
    bool queued = false;
    for (int i = 0; i < kSlotCount; ++i) {
        if (!keys[i])
            continue;
        const qint32 key = *keys[i];
        // Due now, or passed since the last announcement while nothing was announced; never
        // the minute last announced, which comes again when the clocks go back an hour and
        // at a start within it.
        if (key == last || (key != now && !(last < key && key < now)) ||
            (secondTimeRound && key <= last))
            continue;
        if (!queueAnnouncement(EventKind::Schedule, i)) {
            // lastYotei stays, so that a later check catches up what was refused.
            queued = false;
            break;
        }
        queued = true;
    }
    if (queued) {
        const std::lock_guard lock(slotsLock_);
        settings_.lastYotei = now;
    }
}

bool StageEvents::queueAnnouncement(EventKind kind, int slot) {
    if (!validSlot(slot))
        return false;
    bool wasEmpty = false;
    {
        const std::lock_guard lock(queueBusy_);
        wasEmpty = announcementQueue_.isEmpty();
        if (!announcementQueue_.append({kind, slot}))
            return false;
    }
    ui_.post([this, wasEmpty] { armMainTimer(wasEmpty); });
    return true;
}

// The period is chosen here, where the balloon can be asked. A timer already counting down
// for earlier entries keeps its countdown: a new period would restart it, and the first
// of several entries would then wait 5 s instead of 200 ms.
void StageEvents::armMainTimer(bool queueWasEmpty) {
    if (queueIsEmpty())
        return;
    if (!queueWasEmpty && MainTimer->isActive())
        return;
    MainTimer->setInterval(queueWasEmpty && !balloon_.speaking() ? kFirstAnnouncementMs
                                                                 : kQueuePeriodMs);
    MainTimer->start();
}

void StageEvents::removeAnnouncement(int position) {
    const std::lock_guard lock(queueBusy_);
    removeLocked(position);
}

void StageEvents::removeLocked(int position) {
    announcementQueue_.removeAt(position);
    if (announcementQueue_.isEmpty())
        MainTimer->stop();
}

void StageEvents::MainTimerTimer() {
    MainTimer->setInterval(kQueuePeriodMs);
    if (balloon_.speaking() || dialogOpen_)
        return;
    std::unique_lock queue(queueBusy_, std::try_to_lock);
    // Being changed on the clock thread: tried again at the next tick.
    if (!queue.owns_lock())
        return;
    std::optional<Announcement> next;
    if (!announcementQueue_.isEmpty()) {
        next = announcementQueue_.at(0);
        removeLocked(0);
    }
    queue.unlock();
    if (next)
        announce(next->kind, next->slot);
    if (queueIsEmpty())
        MainTimer->stop();
}

void StageEvents::announce(EventKind kind, int slot) {
    if (!validSlot(slot))
        return;
    const EventSlot event = slotsOf(kind)[slot];
    const bool schedule = kind == EventKind::Schedule;
    // A message of blanks is not empty and shows as it is.
    balloon_.say(event.message.isEmpty() ? defaultTexts_[schedule ? 1 : 0] : event.message,
                 timeLabel(kind, event), event.clip);
}

void StageEvents::MessageTestClick() {
    announce(EventKind::Schedule, 0);
}

EventSlots StageEvents::slotsOf(EventKind kind) const {
    const std::lock_guard lock(slotsLock_);
    return kind == EventKind::Schedule ? settings_.schedules : settings_.anniversaries;
}

void StageEvents::commitSlots(EventKind kind, const EventSlots& edited) {
    const std::lock_guard lock(slotsLock_);
    EventSlots& target =
        kind == EventKind::Schedule ? settings_.schedules : settings_.anniversaries;
    for (int i = 0; i < kSlotCount; ++i) {
        EventSlot& slot = target[i];
        const EventSlot& from = edited[i];
        slot.message = from.message;
        slot.clip = from.clip;
        slot.used = from.used;
        slot.month = from.month;
        slot.day = from.day;
        if (kind == EventKind::Schedule) {
            slot.hour = from.hour;
            slot.minute = from.minute;
        }
    }
}

qint32 StageEvents::lastYotei() const {
    const std::lock_guard lock(slotsLock_);
    return settings_.lastYotei;
}

StageSettings StageEvents::settingsCopy() const {
    const std::lock_guard lock(slotsLock_);
    return settings_;
}

std::vector<Announcement> StageEvents::pending() const {
    const std::lock_guard lock(queueBusy_);
    std::vector<Announcement> entries;
    for (int i = 0; i < announcementQueue_.count(); ++i)
        entries.push_back(announcementQueue_.at(i));
    return entries;
}

bool StageEvents::queueIsEmpty() const {
    const std::lock_guard lock(queueBusy_);
    return announcementQueue_.isEmpty();
}
