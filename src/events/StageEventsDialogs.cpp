// The dialogs' part of StageEvents, apart so that the queue and the checks build without
// widgets.
#include "events/StageEvents.h"

#include "events/TKinenbi.h"
#include "events/TYotei.h"

template <class Dialog> void StageEvents::showDialog(EventKind kind, QWidget* owner) {
    Dialog dialog({[this, kind] { return slotsOf(kind); },
                   [this, kind](const EventSlots& edited) { commitSlots(kind, edited); },
                   hooks_.PlayVoice},
                  owner);
    dialogOpen = true;
    dialog.exec();
    dialogOpen = false;
}

void StageEvents::MIScheduleSetClick(QWidget* owner) {
    showDialog<TYotei>(EventKind::Schedule, owner);
}

void StageEvents::MIMemorialSetClick(QWidget* owner) {
    showDialog<TKinenbi>(EventKind::Anniversary, owner);
}
