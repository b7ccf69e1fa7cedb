#pragma once

#include "events/SlotDialog.h"

#include <memory>

namespace Ui {
class Kinenbi;
}

// The anniversary dialog: the three anniversaries, on definite days of a month or of every month.
class TKinenbi : public SlotDialog {
    Q_OBJECT
public:
    TKinenbi(SlotDialogLink link, QWidget* owner);
    ~TKinenbi() override;

private:
    std::unique_ptr<Ui::Kinenbi> ui_;
};
