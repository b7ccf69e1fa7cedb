#include "events/TKinenbi.h"

#include "ui_Kinenbi.h"

TKinenbi::TKinenbi(SlotDialogLink link, QWidget* owner)
    : SlotDialog(std::move(link), owner), ui_(std::make_unique<Ui::Kinenbi>()) {
    ui_->setupUi(this);
    // Every anniversary falls on a definite day: its day list starts at 1.
    setControls({.TabControl1 = ui_->TabControl1,
                 .UseFlagCB = ui_->UseFlagCB,
                 .GroupBox1 = ui_->GroupBox1,
                 .Tuki = ui_->Tuki,
                 .Hi = ui_->Hi,
                 .SoundList = ui_->SoundList,
                 .SoundListNames = ui_->SoundListNames,
                 .SndSamplePlay = ui_->SndSamplePlay,
                 .Message = ui_->Message,
                 .OKBtn = ui_->OKBtn,
                 .CanBtn = ui_->CanBtn},
                1);
}

TKinenbi::~TKinenbi() = default;
