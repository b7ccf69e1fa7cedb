#include "stage/StageStacking.h"

#include "stage/StackingStyle.h"

#include <QAction>

StageStacking::StageStacking(bool& StayOnTop, QWidget& stageWindow, QAction& StayOnTop1)
    : stayOnTop_(StayOnTop), stageWindow_(stageWindow), item_(StayOnTop1) {}

void StageStacking::apply() {
    item_.setChecked(stayOnTop_);
    applyStackingStyle(stageWindow_, stayOnTop_);
}

void StageStacking::StayOnTop1Click() {
    stayOnTop_ = !stayOnTop_;
    apply();
    emit changed(stayOnTop_);
}
