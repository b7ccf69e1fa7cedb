#include "stage/StageStacking.h"

#include "stage/MenuItem.h"
#include "stage/StackingStyle.h"

StageStacking::StageStacking(bool& StayOnTop, QWidget& stageWindow, StagePopupMenu& menu)
    : stayOnTop_(StayOnTop), stageWindow_(stageWindow) {
    MenuItem::flag(menu, "StayOnTop1",
                   QT_TRANSLATE_NOOP("StagePopupMenu", "常に一番手前に表示(&S)"), stayOnTop_, true,
                   [this] { setStayOnTop(stayOnTop_); });
}

void StageStacking::apply() {
    applyStackingStyle(stageWindow_, stayOnTop_);
}

void StageStacking::setStayOnTop(bool on) {
    stayOnTop_ = on;
    apply();
    emit changed(stayOnTop_);
}
