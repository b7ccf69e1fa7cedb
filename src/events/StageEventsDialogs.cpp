// The dialogs' part of StageEvents, apart so that the queue and the checks build without
// widgets.
#include "events/StageEvents.h"

#include "events/TKinenbi.h"
#include "events/TYotei.h"
#include "shared/Voice.h"
#include "stage/MenuItem.h"

template <class Dialog> void StageEvents::showDialog(EventKind kind, QWidget* owner) {
    Dialog dialog({.read = [this, kind] { return slotsOf(kind); },
                   .commit = [this, kind](const EventSlots& edited) { commitSlots(kind, edited); },
                   .playVoice = [this](const QString& clip) { return voice_.playVoice(clip); }},
                  owner);
    dialogOpen_ = true;
    dialog.exec();
    dialogOpen_ = false;
}

void StageEvents::addMenuItems(StagePopupMenu& menu, QWidget& owner) {
    MenuItem::command(menu, "MIMemorialSet", QT_TRANSLATE_NOOP("StagePopupMenu", "記念日設定..."),
                      [this, &owner] { showDialog<TKinenbi>(EventKind::Anniversary, &owner); });
    MenuItem::command(menu, "MIScheduleSet", QT_TRANSLATE_NOOP("StagePopupMenu", "予定設定..."),
                      [this, &owner] { showDialog<TYotei>(EventKind::Schedule, &owner); });
}
