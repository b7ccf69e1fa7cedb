#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <xcb/xcb.h>

// Whether a compositing manager runs on the display, and word when one starts or ends: with
// one, a window's translucent pixels blend with the desktop; without, the X shape alone
// decides what shows.
class CompositorWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit CompositorWatch(QObject* parent = nullptr);
    ~CompositorWatch() override;

    bool running() const { return running_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void changed(bool running);

private:
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    std::uint8_t notifyEvent_ = 0;
    bool running_ = false;
};
