#include "events/TKinenbi.h"

#include "ui_Kinenbi.h"

namespace {
constexpr SlotDialog::Clip kClips[] = {
    {QT_TRANSLATE_NOOP("Kinenbi", "なし"), ""},
    {QT_TRANSLATE_NOOP("Kinenbi", "お誕生日、おめでとうございます"), "Snd_Kinenbi1"},
    {QT_TRANSLATE_NOOP("Kinenbi", "今日はお休みですね"), "Snd_Kinenbi2"},
    {QT_TRANSLATE_NOOP("Kinenbi", "今日は大切な記念日ですね"), "Snd_Kinenbi3"},
};
} // namespace

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
                 .SndSamplePlay = ui_->SndSamplePlay,
                 .Message = ui_->Message,
                 .OKBtn = ui_->OKBtn,
                 .CanBtn = ui_->CanBtn},
                1, "Kinenbi", kClips);
}

TKinenbi::~TKinenbi() = default;
