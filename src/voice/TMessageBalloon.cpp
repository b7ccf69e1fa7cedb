#include "voice/TMessageBalloon.h"

#include "platform/StageTimer.h"
#include "platform/TaskbarEntry.h"
#include "shared/UiFont.h"
#include "stage/StackingStyle.h"
#include "ui_MessageBalloon.h"
#include "voice/BalloonGeometry.h"
#include "voice/BalloonStage.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr int kCloseAfterMs = 30'000;
constexpr int kFollowEveryMs = 250;
} // namespace

TMessageBalloon::TMessageBalloon(BalloonStage& stage, TimerFactory& timers, QWidget* parent)
    // A tool window: no taskbar entry of its own.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), stage_(stage),
      ui_(std::make_unique<Ui::MessageBalloon>()), Timer1(timers.makeTimer(kCloseAfterMs)),
      Timer2(timers.makeTimer(kFollowEveryMs)) {
    ui_->setupUi(this);
    setFont(uiFont());
    setFixedSize(size());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    Timer1->setTimeoutHandler([this] { Timer1Timer(); });
    Timer2->setTimeoutHandler([this] { Timer2Timer(); });
    connect(ui_->Button1, &QPushButton::clicked, this, &TMessageBalloon::Button1Click);
}

TMessageBalloon::~TMessageBalloon() = default;

QLabel& TMessageBalloon::MessageArea() {
    return *ui_->MessageArea;
}

QLabel& TMessageBalloon::TimeLabel() {
    return *ui_->TimeLabel;
}

QPushButton& TMessageBalloon::Button1() {
    return *ui_->Button1;
}

void TMessageBalloon::PlaceBalloon(bool show) {
    const QPoint at = stage_.stagePosition();
    const QSize client = stage_.stageClientSize();
    const QPoint centre(at.x() + client.width() / 2, at.y() + client.height() / 2);
    Corner = balloonCorner(at, client, stage_.screenHolding(centre));
    if (!show)
        return;
    if (isVisible()) {
        // Already speaking: neither a new shape nor a new 30 s.
        bringToFront();
        return;
    }
    // Taken while hidden: re-creating a window that shows would hide and show it again.
    applyStacking(stage_.stayOnTop());
    QWidget::show();
    bringToFront();
}

bool TMessageBalloon::CalcTail(QPoint& position, std::array<QPoint, 3>& tail) const {
    const BalloonPlacement placed = placeBalloon(Corner, stage_.stagePosition(), stage_.mouthArea(),
                                                 size(), ui_->TailPos->geometry());
    position = placed.position;
    if (!placed.tail)
        return false;
    tail = *placed.tail;
    return true;
}

void TMessageBalloon::MakeShape() {
    OutlineRgn.reset();
    QPoint position;
    std::array<QPoint, 3> tail;
    const bool hasTail = CalcTail(position, tail);
    const auto shape = balloonShape(ui_->AreaBounds->geometry(),
                                    hasTail ? std::optional<TailPoints>(tail) : std::nullopt);
    move(position);
    // Without a body the balloon keeps the shape it had, and no outline.
    if (shape) {
        BalloonRgn = shape;
        OutlineRgn = shape;
        setMask(*BalloonRgn);
        update();
    }
    const QPoint stageAt = stage_.stagePosition();
    StageLeft = stageAt.x();
    StageTop = stageAt.y();
}

void TMessageBalloon::applyStacking(bool stayOnTop) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == stayOnTop)
        return;
    restyling_ = true;
    applyStackingStyle(*this, stayOnTop);
    // The new native window starts without a shape.
    if (isVisible() && BalloonRgn)
        setMask(*BalloonRgn);
    restyling_ = false;
}

void TMessageBalloon::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepOffTaskbar(*this);
    if (!event->spontaneous() && !restyling_)
        FormShow();
}

void TMessageBalloon::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous() && !restyling_)
        FormHide();
}

void TMessageBalloon::FormShow() {
    MakeShape();
    Timer1->setInterval(kCloseAfterMs);
    Timer1->start();
    Timer2->start();
    if (stage_.appMinimized()) {
        stage_.restoreApp();
        RestoredApp = true;
    }
    const bool onTop = stage_.stayOnTop();
    stage_.applyStageStacking(onTop);
    // Shown without PlaceBalloon in another style: changed once this show is over.
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        QMetaObject::invokeMethod(
            this, [this, onTop] { applyStacking(onTop); }, Qt::QueuedConnection);
}

void TMessageBalloon::FormHide() {
    stage_.hideStage();
    Timer1->stop();
    Timer2->stop();
    stage_.StopVoice();
    stage_.showStage();
}

void TMessageBalloon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FormPaint(painter);
}

void TMessageBalloon::FormPaint(QPainter& painter) {
    if (!OutlineRgn)
        return;
    painter.setClipRegion(regionFrame(*OutlineRgn));
    painter.fillRect(rect(), Qt::black);
}

void TMessageBalloon::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Button1Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TMessageBalloon::Button1Click() {
    hide();
    RestoredApp = false;
}

void TMessageBalloon::Timer1Timer() {
    hide();
    if (RestoredApp)
        stage_.minimizeApp();
    RestoredApp = false;
}

void TMessageBalloon::Timer2Timer() {
    const QPoint stageAt = stage_.stagePosition();
    if (stageAt.x() != StageLeft || stageAt.y() != StageTop) {
        const int previous = Corner;
        PlaceBalloon(false);
        MakeShape();
        bringToFront();
        if (Corner != previous)
            update(ui_->AreaBounds->geometry());
    } else if (stage_.stageIsActive()) {
        bringToFront();
    }
}

void TMessageBalloon::bringToFront() {
    raise();
    activateWindow();
}
