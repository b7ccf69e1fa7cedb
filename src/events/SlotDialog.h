#pragma once

#include "shared/StageSettings.h"

#include <QDialog>
#include <array>
#include <functional>
#include <span>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class TabControl;

// Sets the enabled state of every control directly inside the group, in child order.
void enableGroup(QGroupBox& group, bool enabled);

// What a settings dialog needs of her window: the three slots it edits, and her voice for
// the preview.
struct SlotDialogLink {
    std::function<EventSlots()> read;
    std::function<void(const EventSlots&)> commit;
    std::function<bool(const QString& clip)> playVoice;
};

// The schedule and the anniversary dialogs alike: one set of controls serves the three slots,
// a tab selects which one they show, and a working copy of all three reaches her window
// only at OK. Cancel and the close box drop it.
//
// A value outside its list (a month above 12 from a hand-edited file, say) shows no
// selection, and storing that tab writes the list's first entry, which is also what a new
// slot holds, so that the slot stays within its ranges.
class SlotDialog : public QDialog {
    Q_OBJECT
public:
    // The characters of a message the edit shows: a longer one shows its beginning, and is
    // kept whole unless it is edited (see loadTab).
    static constexpr qsizetype kShownMessageLimit = 4096;

    // Hour and minute are missing in the anniversary dialog.
    struct Controls {
        TabControl* TabControl1 = nullptr;
        QCheckBox* UseFlagCB = nullptr;
        QGroupBox* GroupBox1 = nullptr;
        QComboBox* Tuki = nullptr;
        QComboBox* Hi = nullptr;
        QComboBox* Ji = nullptr;
        QComboBox* Hun = nullptr;
        QComboBox* SoundList = nullptr;
        QAbstractButton* SndSamplePlay = nullptr;
        QPlainTextEdit* Message = nullptr;
        QPushButton* OKBtn = nullptr;
        QPushButton* CanBtn = nullptr;
    };
    // One entry of the sound list: its caption, translated in the form's context, and the
    // clip's name as its item data; the first entry has no clip.
    struct Clip {
        const char* caption;
        const char* name;
    };

protected:
    SlotDialog(SlotDialogLink link, QWidget* owner);

    // After the form is built. firstDay is the day of the first item of Hi.
    void setControls(const Controls& controls, int firstDay, const char* formContext,
                     std::span<const Clip> clips);

    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void loadTab();
    void storeTab();
    void TabControl1Changing();
    void TabControl1Change();
    void UseFlagCBClick();
    void SoundListChange();
    void SndSamplePlayClick();
    void OKBtnClick();
    QString clipAt(int position) const;

    SlotDialogLink link_;
    Controls c_{};
    int firstDay_ = 0;
    EventSlots working_;
    // The message as the edit showed it when the tab was loaded.
    QString shownMessage_;
};
