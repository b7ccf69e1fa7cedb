#pragma once

#include "events/SlotDialog.h"

#include <memory>

namespace Ui {
class Yotei;
}

// The schedule dialog: the three schedules, each at a month, day, hour and minute, where
// month and day may be "any".
class TYotei : public SlotDialog {
    Q_OBJECT
public:
    TYotei(SlotDialogLink link, QWidget* owner);
    ~TYotei() override;

private:
    std::unique_ptr<Ui::Yotei> ui_;
};
