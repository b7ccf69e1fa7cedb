#pragma once

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>

// Notes the region of each paint of the widget it watches, for a paint handler that is
// handed only a painter.
class PaintRegionRecorder : public QObject {
public:
    using QObject::QObject;
    const QRegion& region() const { return region_; }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            region_ = static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    QRegion region_;
};
