#include "voice/TMessageBalloon.h"

#include "platform/CompositorWatch.h"
#include "platform/StageTimer.h"
#include "platform/X11Shape.h"
#include "shared/UiFont.h"
#include "shared/Voice.h"
#include "stage/StackingStyle.h"
#include "stage/StageStacking.h"
#include "stage/WindowDresser.h"
#include "stage/X11Place.h"
#include "ui_MessageBalloon.h"
#include "voice/BalloonGeometry.h"
#include "voice/BalloonStage.h"
#include "voice/FittedText.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>

namespace {
constexpr int kCloseAfterMs = 30'000;
constexpr int kFollowEveryMs = 250;
} // namespace

TMessageBalloon::TMessageBalloon(BalloonStage& stage, StageStacking& stacking, Voice& voice,
                                 TimerFactory& timers, QWidget* parent)
    // A tool window: no taskbar entry of its own.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), stage_(stage), stacking_(stacking),
      voice_(voice), ui_(std::make_unique<Ui::MessageBalloon>()),
      Timer1(timers.makeTimer(kCloseAfterMs)), Timer2(timers.makeTimer(kFollowEveryMs)) {
    // Its pixels outside the outline blend with the desktop under a compositing manager; the
    // native window takes a visual with alpha only when it is made after this.
    setAttribute(Qt::WA_TranslucentBackground);
    ui_->setupUi(this);
    setFont(uiFont());
    setFixedSize(size());
    // A role of its own, so that a window-manager rule can tell it from her; like her, on
    // every workspace, but off the taskbar.
    new WindowDresser(*this,
                      {.role = "balloon", .offTaskbar = true, .shape = [this] { applyShape(); }});
    // The form's place suits a face whose brackets end well above the body's edge; a
    // stand-in face that reaches lower would have them cut by the outline.
    // Emoji in a message come from a colour face; the Japanese faces have none.
    QFont messageFont = font();
    messageFont.setFamilies(messageFont.families() << QStringLiteral("Noto Color Emoji"));
    ui_->MessageArea->setFont(messageFont);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    Timer1->setTimeoutHandler([this] { Timer1Timer(); });
    Timer2->setTimeoutHandler([this] { Timer2Timer(); });
    connect(ui_->Button1, &QPushButton::clicked, this, &TMessageBalloon::Button1Click);
    connect(&stacking_, &StageStacking::changed, this, &TMessageBalloon::applyStacking);
    if (CompositorWatch* compositor = stage_.compositor())
        connect(compositor, &CompositorWatch::changed, this, &TMessageBalloon::applyShape);
}

TMessageBalloon::~TMessageBalloon() = default;

void TMessageBalloon::say(const QString& message, const QString& timeLine, const QString& clip) {
    applyStacking(stacking_.stayOnTop());
    // The label keeps its size: what it cannot show is marked, and the message is left
    // as it is.
    QLabel& area = *ui_->MessageArea;
    area.setText(fittedText(message, area.font(), area.contentsRect().size()));
    voice_.playVoice(clip);
    ui_->TimeLabel->setText(timeLine);
    placeBalloon(true);
}

void TMessageBalloon::placeBalloon(bool show) {
    const QPoint at = stage_.stagePosition();
    const QSize client = stage_.stageClientSize();
    const QPoint centre(at.x() + client.width() / 2, at.y() + client.height() / 2);
    corner_ = balloonCorner(at, client, stage_.screenHolding(centre));
    if (!show)
        return;
    if (isVisible()) {
        // Already speaking: neither a new shape nor a new 30 s.
        bringToFront();
        return;
    }
    // Taken while hidden: re-creating a window that shows would hide and show it again.
    applyStacking(stacking_.stayOnTop());
    QWidget::show();
    bringToFront();
}

bool TMessageBalloon::calcTail(QPoint& position, std::array<QPoint, 3>& tail) const {
    const BalloonPlacement placed = ::placeBalloon(
        corner_, stage_.stagePosition(), stage_.mouthArea(), size(), ui_->TailPos->geometry());
    position = placed.position;
    if (!placed.tail)
        return false;
    tail = *placed.tail;
    return true;
}

void TMessageBalloon::makeShape() {
    if (!timeLinePlaced_)
        placeTimeLine();
    QPoint position;
    std::array<QPoint, 3> tail;
    const bool hasTail = calcTail(position, tail);
    const std::optional<TailPoints> tailPoints =
        hasTail ? std::optional<TailPoints>(tail) : std::nullopt;
    const auto shape = balloonShape(ui_->AreaBounds->geometry(), tailPoints);
    // A window manager that offset it as it framed it has told the toolkit so, or not: the
    // toolkit's idea is brought in line first, so that the move is asked for.
    X11Place::settle(*this);
    move(position);
    // Without a body the balloon keeps the shape and the picture it had.
    if (shape) {
        balloonRgn_ = shape;
        // Drawn again only for another corner: she is followed four times a second.
        if (!outline_ || tail_ != tailPoints) {
            tail_ = tailPoints;
            drawOutline();
        }
        applyShape();
        update();
    }
    const QPoint stageAt = stage_.stagePosition();
    stageLeft_ = stageAt.x();
    stageTop_ = stageAt.y();
}

void TMessageBalloon::applyStacking(bool stayOnTop) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == stayOnTop)
        return;
    restyling_ = true;
    applyStackingStyle(*this, stayOnTop);
    // The toolkit makes the new style's native window as the balloon shows, after its show
    // event, and without a shape: one that shows takes its shape at once; a hidden one drops
    // its native window, so that its next showing makes the new one before the show event.
    if (isVisible())
        applyShape();
    else if (QWindow* window = windowHandle())
        window->destroy();
    restyling_ = false;
}

void TMessageBalloon::placeTimeLine() {
    QLabel& timeLine = *ui_->TimeLabel;
    const int lineHeight = int(std::ceil(QFontMetricsF(timeLine.font()).height()));
    timeLine.move(timeLine.x(),
                  lineTopInsideBody(timeLine.y(), lineHeight, ui_->AreaBounds->geometry()));
    timeLinePlaced_ = true;
}

void TMessageBalloon::drawOutline() {
    outline_ = balloonOutline(ui_->AreaBounds->geometry(), tail_, size(), devicePixelRatio());
}

void TMessageBalloon::applyShape() {
    if (!outline_)
        return;
    const CompositorWatch* compositor = stage_.compositor();
    inputShape_ = outline_->shape;
    boundingShape_ =
        compositor && compositor->running() ? outline_->shape | outline_->fringe : outline_->shape;
    // A window not yet made takes its shape as it shows. Asked of the window handle: the
    // widget's own id still names the old native window after a new stacking style.
    const QWindow* window = windowHandle();
    if (window && window->handle())
        x11ShapeWindow(xcb_window_t(window->winId()), boundingShape_, inputShape_);
}

void TMessageBalloon::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && !restyling_)
        FormShow();
}

void TMessageBalloon::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous() && !restyling_)
        FormHide();
}

void TMessageBalloon::FormShow() {
    makeShape();
    Timer1->setInterval(kCloseAfterMs);
    Timer1->start();
    Timer2->start();
    if (stage_.appMinimized()) {
        stage_.restoreApp();
        restoredApp_ = true;
    }
    stacking_.apply();
    const bool onTop = stacking_.stayOnTop();
    // Shown without placeBalloon in another style: changed once this show is over.
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        QMetaObject::invokeMethod(
            this, [this, onTop] { applyStacking(onTop); }, Qt::QueuedConnection);
}

void TMessageBalloon::FormHide() {
    Timer1->stop();
    Timer2->stop();
    voice_.stopVoice();
    // Her shape and stacking stay as they were; she only comes back in front. Hidden and shown
    // again, her window could be lost to a window manager that takes the two out of order.
    stage_.showStage();
}

void TMessageBalloon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FormPaint(painter);
}

void TMessageBalloon::FormPaint(QPainter& painter) {
    if (!outline_)
        return;
    // Moved to a screen of another pixel ratio: drawn again for its pixels.
    if (!qFuzzyCompare(outline_->ratio, devicePixelRatio())) {
        drawOutline();
        applyShape();
    }
    painter.drawImage(QPoint(0, 0), outline_->picture);
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
    restoredApp_ = false;
}

void TMessageBalloon::Timer1Timer() {
    hide();
    if (restoredApp_)
        stage_.minimizeApp();
    restoredApp_ = false;
}

void TMessageBalloon::Timer2Timer() {
    const QPoint stageAt = stage_.stagePosition();
    if (stageAt.x() != stageLeft_ || stageAt.y() != stageTop_ || !standsBesideHer()) {
        const int previous = corner_;
        placeBalloon(false);
        makeShape();
        bringToFront();
        if (corner_ != previous)
            update(ui_->AreaBounds->geometry());
    } else if (stage_.stageIsActive()) {
        bringToFront();
    }
}

bool TMessageBalloon::standsBesideHer() const {
    QPoint position;
    std::array<QPoint, 3> tail;
    calcTail(position, tail);
    return X11Place::windowPosition(*this).value_or(position) == position;
}

void TMessageBalloon::bringToFront() {
    raise();
    activateWindow();
}
