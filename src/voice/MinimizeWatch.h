#pragma once

#include <QObject>

class QWidget;

// Whether the program is minimised, read from its window on the taskbar (the stage window)
// whenever that window's state changes, whoever changed it: the user through the taskbar or
// the window manager, or the program itself. It must not outlive the window.
class MinimizeWatch : public QObject {
    Q_OBJECT
public:
    explicit MinimizeWatch(QWidget& window);

    bool appMinimized() const { return AppMinimized; }
    // The handlers of the program's minimise and restore.
    void AppMinimize();
    void AppRestore();

    // Minimise and restore the program; the handlers follow from the window's state.
    void minimizeApp();
    void restoreApp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    bool AppMinimized = false;
};
