#include "stage/StageDrag.h"

#include "stage/X11Pointer.h"

#include <QMouseEvent>
#include <QWidget>

StageDrag::Pointer StageDrag::x11Pointer(QWidget& window) {
    return {.startSystemMove =
                [&window](QPoint from) { return X11Pointer::startWindowManagerMove(window, from); },
            .primaryHeld = X11Pointer::primaryButtonHeld,
            .cancelSystemMove = [&window] { X11Pointer::cancelWindowManagerMove(window); }};
}

StageDrag::StageDrag(QWidget& window, std::function<void()> touched, Pointer pointer)
    : QObject(&window), window_(window), touched_(std::move(touched)),
      pointer_(std::move(pointer)) {
    window.installEventFilter(this);
}

bool StageDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // The X server maps the physical buttons, so the left one here is the primary one.
        if (mouse->button() != Qt::LeftButton)
            return false;
        touched_();
        grabOffset_ = mouse->globalPosition().toPoint() - window_.pos();
        mode_ = Mode::Pressed;
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mode_ != Mode::Ours && mode_ != Mode::Pressed)
            return false;
        if (!(mouse->buttons() & Qt::LeftButton)) {
            mode_ = Mode::Idle;
            return false;
        }
        const QPoint at = mouse->globalPosition().toPoint();
        const bool firstMove = mode_ == Mode::Pressed;
        mode_ = Mode::Ours;
        window_.move(at - grabOffset_);
        touched_();
        emit movedByHand();
        // Handed over only once the pointer moves with the button held: a manager asked at
        // the press of a quick click takes the pointer after its release, and then holds
        // her to the pointer until the next click. A quick flick's release may already
        // wait behind this move: the button is then up at the server, and the move ours.
        // She is first brought to the pointer and handed over from there, as a manager
        // moves her only by the motion it sees after it took the pointer, and a flick may
        // have none left.
        if (firstMove && pointer_.primaryHeld() && pointer_.startSystemMove(at))
            mode_ = Mode::WindowManagers;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || mode_ == Mode::Idle)
            return false;
        // Let go before the manager took the pointer: it would hold her to the pointer
        // until the next click, so the move is taken back and made here.
        if (mode_ == Mode::WindowManagers) {
            pointer_.cancelSystemMove();
            window_.move(mouse->globalPosition().toPoint() - grabOffset_);
            emit movedByHand();
        }
        mode_ = Mode::Idle;
        return true;
    }
    case QEvent::Move:
        // The window manager holds the pointer while it moves her; her moves are the touches.
        // The last may come after the release, and is the hand's still.
        if (mode_ == Mode::WindowManagers) {
            emit movedByHand();
            if (pointer_.primaryHeld())
                touched_();
            else
                mode_ = Mode::Idle;
        }
        return false;
    default:
        return false;
    }
}
