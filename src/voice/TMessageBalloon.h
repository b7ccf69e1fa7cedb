#pragma once

#include "shared/Speaker.h"
#include "voice/BalloonGeometry.h"

#include <QRegion>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

namespace Ui {
class MessageBalloon;
}
class BalloonStage;
class StageStacking;
class StageTimer;
class TimerFactory;
class Voice;

// Her speech balloon: a borderless white window with a black outline, shaped as a rounded
// body with a tail whose tip touches a corner of her mouth. Its shape and outline are drawn
// in device pixels; under a compositing manager its edge is anti-aliased. It follows her,
// stays in front of her, takes her stacking style, and closes after 30 seconds or at its
// button. It is made once, hidden, and only shown and hidden after that.
class TMessageBalloon : public QWidget, public Speaker {
    Q_OBJECT
public:
    TMessageBalloon(BalloonStage& stage, StageStacking& stacking, Voice& voice,
                    TimerFactory& timers, QWidget* parent = nullptr);
    ~TMessageBalloon() override;

    bool speaking() const override { return isVisible(); }
    void say(const QString& message, const QString& timeLine, const QString& clip) override;
    void stopSpeaking() override { hide(); }

    // Chooses the corner from her place on her screen; when show is true, shows the balloon,
    // or only brings it to the front when it already shows.
    void placeBalloon(bool show);
    // For the current corner: the balloon's place on the desktop and the tail's tip and base
    // points. False, and no tail, before any corner has been chosen.
    bool calcTail(QPoint& position, std::array<QPoint, 3>& tail) const;
    // New shape and outline, the balloon moved to its place beside her.
    void makeShape();

    int corner() const { return corner_; }
    bool restoredApp() const { return restoredApp_; }
    // Her position when the shape was last made.
    QPoint shapedForStageAt() const { return {stageLeft_, stageTop_}; }
    const std::optional<QRegion>& balloonRegion() const { return balloonRgn_; }
    // The shapes last handed to the X server, in device pixels: the bounding shape takes the
    // anti-aliased fringe while a compositing manager runs, the input shape never does.
    const QRegion& boundingShape() const { return boundingShape_; }
    const QRegion& inputShape() const { return inputShape_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    // Once, as the balloon first takes its shape: a font's height loads the font database,
    // which would hold up her first map by more than a bare window takes to map.
    void placeTimeLine();
    void FormHide();
    void FormPaint(QPainter& painter);
    void Button1Click();
    void Timer1Timer();
    void Timer2Timer();
    void bringToFront();
    // Whether the X server has it where its corner puts it: a window manager may offset it.
    bool standsBesideHer() const;
    void drawOutline();
    void applyShape();
    // The stacking style of the balloon itself; a balloon that shows stays where it is.
    void applyStacking(bool stayOnTop);

    BalloonStage& stage_;
    StageStacking& stacking_;
    Voice& voice_;
    std::unique_ptr<Ui::MessageBalloon> ui_;
    std::unique_ptr<StageTimer> Timer1;
    std::unique_ptr<StageTimer> Timer2;
    int stageLeft_ = 0;
    int stageTop_ = 0;
    bool restoredApp_ = false;
    int corner_ = -1;
    // The shape in logical pixels and its tail, and the same drawn in device pixels; none
    // until the first shape is made.
    std::optional<QRegion> balloonRgn_;
    std::optional<TailPoints> tail_;
    std::optional<BalloonOutline> outline_;
    QRegion boundingShape_;
    QRegion inputShape_;
    // While the window is re-created for a new stacking style: its hide and show then are
    // neither a closing nor a showing.
    bool restyling_ = false;
    bool timeLinePlaced_ = false;
};
