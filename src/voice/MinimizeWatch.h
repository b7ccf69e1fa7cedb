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

    bool appMinimized() const { return appMinimized_; }
    // The state follows from the window's, once the window system has carried them out.
    void minimizeApp();
    void restoreApp();
    // A later start asks for her: she is shown, restored if minimised and raised, and so is
    // a dialog of hers that is open over her.
    void comeForward();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    bool appMinimized_ = false;
};
