#include "voice/QuietVoice.h"

#include "stage/MenuItem.h"

void QuietVoice::addMenuItem(StagePopupMenu& menu) {
    MenuItem::flag(menu, "MIQuiet", QT_TRANSLATE_NOOP("StagePopupMenu", "声を出さない"), quiet_,
                   true, [this] {
                       if (quiet_)
                           stopVoice();
                   });
}

bool QuietVoice::playVoice(const QString& name) {
    return !quiet_ && voice_.playVoice(name);
}

void QuietVoice::stopVoice() {
    voice_.stopVoice();
}
