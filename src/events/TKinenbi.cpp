#include "events/TKinenbi.h"

#include "ui_Kinenbi.h"

TKinenbi::TKinenbi(SlotDialogLink link, QWidget* owner)
    : SlotDialog(std::move(link), owner), ui_(std::make_unique<Ui::Kinenbi>()) {
    ui_->setupUi(this);
    // Every anniversary falls on a definite day: its day list starts at 1.
    setControls({ui_->TabControl1, ui_->UseFlagCB, ui_->GroupBox1, ui_->Tuki, ui_->Hi, nullptr,
                 nullptr, ui_->SoundList, ui_->SoundListNames, ui_->SndSamplePlay, ui_->Message,
                 ui_->OKBtn, ui_->CanBtn},
                1);
}

TKinenbi::~TKinenbi() = default;
