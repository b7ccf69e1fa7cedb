#pragma once

#include "stage/FigureLayout.h"

#include <QImage>
#include <QObject>
#include <functional>
#include <memory>

class CompositorWatch;
class QLabel;
class QWidget;
class ScreenWatch;
class StageOutline;
class StagePopupMenu;

// Her figure on her window at her size and the device pixel ratio of the screen she is on:
// her picture, where her parts lie, her outline and her window's size and shape. A change of
// her size or of the desktop's scale, or a move to a screen of another, draws it anew; a
// compositor that comes or goes cuts the outline again.
class StageFigure : public QObject {
    Q_OBJECT
public:
    // Size: her size in percent, as stored. redrawn: after her picture was drawn anew at
    // another ratio (device pixels to a design pixel), for what is drawn over it.
    StageFigure(QWidget& window, QLabel& Image1, qint32 Size,
                std::function<void(qreal ratio)> redrawn);
    ~StageFigure() override;

    const StageOutline& outline() const { return *outline_; }
    CompositorWatch& compositor() { return *compositor_; }
    // A part's place on her in design pixels: at her own size on a screen of scale 1.
    QRect design(const QWidget& part) const { return layout_.design(part); }
    // At every show of her own, as a re-created native window has lost its outline.
    void shapeWindow();
    // At every show: a move of her native window to another screen may change the ratio.
    void followScreens();
    // For whether a compositor shows the outline's fringe.
    void cutOutline();
    void followDeviceRatio();
    // The choice of her size in her menu, which changes her at once.
    void addMenuItem(StagePopupMenu& menu, qint32& Size);
    // Her outline and everything drawn with it made anew, at that size and device ratio and
    // for the compositor as it is now.
    void redraw(FigureScale scale);
    // A picture of hers as her window shows it where the part lies, or null when there is
    // none.
    QImage dressed(const QString& name, const QWidget& part) const;
    // Her stage picture as her window shows it, at the outline's ratio.
    QImage picture() const;

private:
    QWidget& window_;
    QLabel& image_;
    std::function<void(qreal)> redrawn_;
    FigureLayout layout_;
    std::unique_ptr<CompositorWatch> compositor_;
    std::unique_ptr<StageOutline> outline_;
    std::unique_ptr<ScreenWatch> ratioWatch_;
};
