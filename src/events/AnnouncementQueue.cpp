#include "events/AnnouncementQueue.h"

#include <algorithm>

bool PendingAnnouncements::append(Announcement entry) {
    if (count_ == kCapacity)
        return false;
    entries_[count_++] = entry;
    return true;
}

void PendingAnnouncements::removeAt(int position) {
    if (position < 0 || position >= count_)
        return;
    std::copy(entries_.begin() + position + 1, entries_.begin() + count_,
              entries_.begin() + position);
    --count_;
}
