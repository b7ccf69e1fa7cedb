#include "events/TYotei.h"

#include "ui_Yotei.h"

TYotei::TYotei(SlotDialogLink link, QWidget* owner)
    : SlotDialog(std::move(link), owner), ui_(std::make_unique<Ui::Yotei>()) {
    ui_->setupUi(this);
    // Its day list starts with "**", day 0.
    setControls({ui_->TabControl1, ui_->UseFlagCB, ui_->GroupBox1, ui_->Tuki, ui_->Hi, ui_->Ji,
                 ui_->Hun, ui_->SoundList, ui_->SoundListNames, ui_->SndSamplePlay, ui_->Message,
                 ui_->OKBtn, ui_->CanBtn},
                0);
}

TYotei::~TYotei() = default;
