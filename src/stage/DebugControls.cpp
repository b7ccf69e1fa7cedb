#include "stage/DebugControls.h"

#include "stage/MenuItem.h"

#include <QAction>
#include <QWidget>

DebugControls::DebugControls(QList<QWidget*> controls, QList<QWidget*> hiddenLists,
                             StagePopupMenu& menu)
    : controls_(std::move(controls)),
      item_(MenuItem::command(menu, "MIDebugMode",
                              QT_TRANSLATE_NOOP("StagePopupMenu", "デバッグモード"),
                              [this] { MIDebugModeClick(); })) {
    item_->setCheckable(true);
    for (QWidget* hidden : controls_ + hiddenLists) {
        hidden->hide();
        hidden->setEnabled(false);
    }
}

void DebugControls::MIDebugModeClick() {
    // The item has already changed its own check mark.
    const bool on = item_->isChecked();
    for (QWidget* control : controls_) {
        control->setVisible(on);
        control->setEnabled(on);
    }
}
