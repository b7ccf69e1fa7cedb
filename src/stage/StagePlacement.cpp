#include "stage/StagePlacement.h"

#include "stage/ScreenPlacement.h"
#include "stage/ScreenWatch.h"
#include "stage/StageDrag.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {
// Long enough for any window manager to frame her, short enough that it ends before a hand
// moves her through the window manager.
constexpr int kWindowManagersMoveMs = 3000;
// Far beyond any desktop, and far from the ends of int, so that a place from a hand-edited
// file leaves room for the arithmetic of her rectangle.
constexpr int kFarthest = 1 << 24;

QPoint withinReach(QPoint place) {
    return {std::clamp(place.x(), -kFarthest, kFarthest),
            std::clamp(place.y(), -kFarthest, kFarthest)};
}
} // namespace

StagePlacement::StagePlacement(QWidget& window, StageDrag& drag)
    : window_(window), drag_(drag), watch_(std::make_unique<ScreenWatch>([this] {
          if (!placed_)
              return;
          expectWindowManagersMove();
          stand();
      })) {
    putRightFor_.setSingleShot(true);
    putRightFor_.setInterval(kWindowManagersMoveMs);
    connect(&putRightFor_, &QTimer::timeout, this, [this] { putRight_ = false; });
    connect(&drag, &StageDrag::movedByHand, this, &StagePlacement::movedByHand);
    window_.installEventFilter(this);
}

StagePlacement::~StagePlacement() = default;

void StagePlacement::standAt(QPoint wanted) {
    placed_ = true;
    expectWindowManagersMove();
    wanted_ = wanted;
    stand();
}

void StagePlacement::stand() {
    standing_ =
        visiblePlace(QRect(withinReach(wanted_), window_.size()), ScreenWatch::availableAreas());
    window_.move(standing_);
    // Asked of the window itself as well: the toolkit tells the window manager her place only
    // when it was set on the window, and a move to where she is already sets nothing.
    if (QWindow* handle = window_.windowHandle())
        handle->setPosition(standing_);
}

void StagePlacement::movedByHand() {
    wanted_ = window_.pos();
    standing_ = wanted_;
    putRight_ = false;
}

void StagePlacement::expectWindowManagersMove() {
    putRight_ = true;
    putRightFor_.start();
}

bool StagePlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_ || !placed_)
        return false;
    if (event->type() == QEvent::Show) {
        expectWindowManagersMove();
    } else if (event->type() == QEvent::Resize) {
        // Her size changed: her top-left stays where she is wanted, and she moves no more
        // than it takes to be seen whole.
        expectWindowManagersMove();
        QMetaObject::invokeMethod(
            this, [this] { stand(); }, Qt::QueuedConnection);
    } else if (event->type() == QEvent::Move && putRight_ && !drag_.dragging() &&
               window_.pos() != standing_) {
        // The window manager's, as it framed her or as the screen changed: once.
        putRight_ = false;
        QMetaObject::invokeMethod(
            this, [this] { stand(); }, Qt::QueuedConnection);
    }
    return false;
}
