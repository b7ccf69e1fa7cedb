#pragma once

#include <QImage>
#include <QObject>
#include <functional>
#include <memory>

class CompositorWatch;
class QLabel;
class QWidget;
class ScreenWatch;
class StageOutline;

// Her figure on her window at the device pixel ratio of the screen she is on: her picture,
// her outline and her window's size and shape. A change of the desktop's scale, or a move to
// a screen of another, draws it anew; a compositor that comes or goes cuts the outline again.
class StageFigure : public QObject {
    Q_OBJECT
public:
    // redrawn: after her picture was drawn anew at another ratio, for what is drawn over it.
    StageFigure(QWidget& window, QLabel& Image1, std::function<void(qreal ratio)> redrawn);
    ~StageFigure() override;

    const StageOutline& outline() const { return *outline_; }
    CompositorWatch& compositor() { return *compositor_; }
    // At every show of her own, as a re-created native window has lost its outline.
    void shapeWindow();
    // At every show: a move of her native window to another screen may change the ratio.
    void followScreens();
    // For whether a compositor shows the outline's fringe.
    void cutOutline();
    void followDeviceRatio();
    // Her outline and everything drawn with it made anew, for that ratio and the compositor
    // as it is now.
    void redraw(qreal ratio);
    // A picture of hers as her window shows it at that place, or null when there is none.
    QImage dressed(const QString& name, QPoint at) const;

private:
    QWidget& window_;
    QLabel& image_;
    std::function<void(qreal)> redrawn_;
    std::unique_ptr<CompositorWatch> compositor_;
    std::unique_ptr<StageOutline> outline_;
    std::unique_ptr<ScreenWatch> ratioWatch_;
};
