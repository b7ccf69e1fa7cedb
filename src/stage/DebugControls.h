#pragma once

#include <QList>

class QAction;
class QWidget;

// The test controls on her window that only the debug mode shows, and the lists of texts
// that are never shown.
class DebugControls {
public:
    // Hides and disables all of them.
    DebugControls(QList<QWidget*> controls, QList<QWidget*> hiddenLists, QAction& MIDebugMode);

    void MIDebugModeClick();

private:
    QList<QWidget*> controls_;
    QAction& item_;
};
