#pragma once

#include <QList>

class QAction;
class QWidget;
class StagePopupMenu;

// The test controls on her window that only the debug mode shows, and the lists of texts
// that are never shown.
class DebugControls {
public:
    // Hides and disables all of them; the debug mode's item shows them.
    DebugControls(QList<QWidget*> controls, QList<QWidget*> hiddenLists, StagePopupMenu& menu);

private:
    void MIDebugModeClick();

    QList<QWidget*> controls_;
    QAction* item_;
};
