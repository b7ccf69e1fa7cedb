#pragma once

#include <QRegion>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

namespace Ui {
class MessageBalloon;
}
class BalloonStage;
class QLabel;
class QPushButton;
class StageTimer;
class TimerFactory;

// Her speech balloon: a borderless white window with a black outline, shaped as a rounded
// body with a tail whose tip touches a corner of her mouth. It follows her, stays in front
// of her, and closes after 30 seconds or at its button. It is made once, hidden, and only
// shown and hidden after that.
class TMessageBalloon : public QWidget {
    Q_OBJECT
public:
    TMessageBalloon(BalloonStage& stage, TimerFactory& timers, QWidget* parent = nullptr);
    ~TMessageBalloon() override;

    // A speaker writes the message and the time line, then calls PlaceBalloon(true). Both
    // show exactly the characters written: a message is what the user typed.
    QLabel& MessageArea();
    QLabel& TimeLabel();
    QPushButton& Button1();

    // Chooses the corner from her place on her screen; when show is true, shows the balloon,
    // or only brings it to the front when it already shows.
    void PlaceBalloon(bool show);
    // For the current corner: the balloon's place on the desktop and the tail's tip and base
    // points. False, and no tail, before any corner has been chosen.
    bool CalcTail(QPoint& position, std::array<QPoint, 3>& tail) const;
    // New shape and outline, the balloon moved to its place beside her.
    void MakeShape();
    // The stacking style of the balloon itself; a balloon that shows stays where it is.
    void applyStacking(bool stayOnTop);

    int corner() const { return Corner; }
    bool restoredApp() const { return RestoredApp; }
    // Her position when the shape was last made.
    QPoint shapedForStageAt() const { return {StageLeft, StageTop}; }
    const std::optional<QRegion>& balloonRegion() const { return BalloonRgn; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void FormHide();
    void FormPaint(QPainter& painter);
    void Button1Click();
    void Timer1Timer();
    void Timer2Timer();
    void bringToFront();

    BalloonStage& stage_;
    std::unique_ptr<Ui::MessageBalloon> ui_;
    std::unique_ptr<StageTimer> Timer1;
    std::unique_ptr<StageTimer> Timer2;
    int StageLeft = 0;
    int StageTop = 0;
    bool RestoredApp = false;
    int Corner = -1;
    // The shape handed to the window, and the copy whose edge is painted; none until the
    // first shape is made.
    std::optional<QRegion> BalloonRgn;
    std::optional<QRegion> OutlineRgn;
    // While the window is re-created for a new stacking style: its hide and show then are
    // neither a closing nor a showing.
    bool restyling_ = false;
};
