#pragma once

#include <QObject>

class QAction;
class QWidget;

// Whether her windows stay above all others: the one place the StayOnTop setting is
// changed and applied. Her window takes the style from here; the balloon follows changed().
class StageStacking : public QObject {
    Q_OBJECT
public:
    StageStacking(bool& StayOnTop, QWidget& stageWindow, QAction& StayOnTop1);

    bool stayOnTop() const { return stayOnTop_; }
    // Gives her window the style of the setting, and ticks the menu item to match.
    void apply();
    void StayOnTop1Click();

signals:
    void changed(bool stayOnTop);

private:
    bool& stayOnTop_;
    QWidget& stageWindow_;
    QAction& item_;
};
