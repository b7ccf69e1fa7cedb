#pragma once

#include <array>

enum class EventKind { Anniversary = 0, Schedule = 1 };

// One pending announcement: which kind of slot, and which of its three.
struct Announcement {
    EventKind kind = EventKind::Schedule;
    int slot = 0;

    friend bool operator==(const Announcement&, const Announcement&) = default;
};

// The pending announcements, first in first out, at most kCapacity of them. Not guarded:
// its owner holds the lock.
class PendingAnnouncements {
public:
    static constexpr int kCapacity = 16;

    int count() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // Position 0 is the front; the position must be below count().
    Announcement at(int position) const { return entries_[position]; }
    // False, and nothing changed, when the queue is full.
    bool append(Announcement entry);
    // A position outside the queue changes nothing.
    void removeAt(int position);

private:
    std::array<Announcement, kCapacity> entries_;
    int count_ = 0;
};
