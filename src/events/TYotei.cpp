#include "events/TYotei.h"

#include "ui_Yotei.h"

namespace {
constexpr SlotDialog::Clip kClips[] = {
    {QT_TRANSLATE_NOOP("Yotei", "なし"), ""},
    {QT_TRANSLATE_NOOP("Yotei", "お時間ですよ"), "Snd_Jikan1"},
    {QT_TRANSLATE_NOOP("Yotei", "おはようございます"), "Snd_Jikan2"},
    {QT_TRANSLATE_NOOP("Yotei", "大好きです"), "Snd_Jikan3"},
    {QT_TRANSLATE_NOOP("Yotei", "１０分前です"), "Snd_Jikan4"},
};
} // namespace

TYotei::TYotei(SlotDialogLink link, QWidget* owner)
    : SlotDialog(std::move(link), owner), ui_(std::make_unique<Ui::Yotei>()) {
    ui_->setupUi(this);
    // Its day list starts with "**", day 0.
    setControls({.TabControl1 = ui_->TabControl1,
                 .UseFlagCB = ui_->UseFlagCB,
                 .GroupBox1 = ui_->GroupBox1,
                 .Tuki = ui_->Tuki,
                 .Hi = ui_->Hi,
                 .Ji = ui_->Ji,
                 .Hun = ui_->Hun,
                 .SoundList = ui_->SoundList,
                 .SndSamplePlay = ui_->SndSamplePlay,
                 .Message = ui_->Message,
                 .OKBtn = ui_->OKBtn,
                 .CanBtn = ui_->CanBtn},
                0, "Yotei", kClips);
}

TYotei::~TYotei() = default;
