// The dialogs' part of StageEvents, apart so that the queue and the checks build without
// widgets.
#include "events/StageEvents.h"

#include "events/TKinenbi.h"
#include "events/TYotei.h"
#include "shared/Voice.h"

template <class Dialog> void StageEvents::showDialog(EventKind kind, QWidget* owner) {
    Dialog dialog({.read = [this, kind] { return slotsOf(kind); },
                   .commit = [this, kind](const EventSlots& edited) { commitSlots(kind, edited); },
                   .playVoice = [this](const QString& clip) { return voice_.playVoice(clip); }},
                  owner);
    dialogOpen_ = true;
    dialog.exec();
    dialogOpen_ = false;
}

void StageEvents::MIScheduleSetClick(QWidget* owner) {
    showDialog<TYotei>(EventKind::Schedule, owner);
}

void StageEvents::MIMemorialSetClick(QWidget* owner) {
    showDialog<TKinenbi>(EventKind::Anniversary, owner);
}
