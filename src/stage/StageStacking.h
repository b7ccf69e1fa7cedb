#pragma once

#include <QObject>

class QWidget;
class StagePopupMenu;

// Whether her windows stay above all others: the one place the StayOnTop setting is
// changed and applied, and the menu item that switches it. Her window takes the style from
// here; the balloon follows changed().
class StageStacking : public QObject {
    Q_OBJECT
public:
    StageStacking(bool& StayOnTop, QWidget& stageWindow, StagePopupMenu& menu);

    bool stayOnTop() const { return stayOnTop_; }
    // Gives her window the style of the setting.
    void apply();
    void setStayOnTop(bool on);

signals:
    void changed(bool stayOnTop);

private:
    bool& stayOnTop_;
    QWidget& stageWindow_;
};
