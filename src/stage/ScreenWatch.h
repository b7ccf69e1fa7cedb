#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>

class QScreen;

// Tells once after the screens have changed: one added or removed, or one's geometry,
// available area or scale changed. Such changes come in bursts (a monitor unplugged removes a
// screen and resizes the others); the call follows the burst, once the event loop is free.
class ScreenWatch : public QObject {
    Q_OBJECT
public:
    explicit ScreenWatch(std::function<void()> changed, QObject* parent = nullptr);

    // Each screen's available area, the primary screen's first.
    static QList<QRect> availableAreas();

private:
    void watch(QScreen* screen);

    std::function<void()> changed_;
    QTimer settle_;
};
