#pragma once

#include <QWidget>
#include <functional>

// A windowless layout guide that draws only what its owner's handler draws. Mouse input
// passes through to the window beneath, as a paint box never takes the mouse.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);

    std::function<void(QPainter&)> onPaint;

protected:
    void paintEvent(QPaintEvent* event) override;
};
