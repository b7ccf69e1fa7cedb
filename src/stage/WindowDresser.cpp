#include "stage/WindowDresser.h"

#include "platform/TaskbarEntry.h"
#include "platform/X11WindowMarks.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPlatformSurfaceEvent>
#include <QWidget>
#include <QWindow>

WindowDresser::WindowDresser(QWidget& window, Dress dress)
    : QObject(&window), window_(window), dress_(std::move(dress)) {
    // The toolkit hands the window's native surface events on to the widget.
    window_.installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowDresser::~WindowDresser() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

bool WindowDresser::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_REPARENT_NOTIFY)
        return false;
    const auto* reparent = static_cast<const xcb_reparent_notify_event_t*>(message);
    const QWindow* handle = window_.windowHandle();
    if (handle && handle->handle() && reparent->window == xcb_window_t(handle->winId()))
        x11MarkFrameOf(reparent->window);
    return false;
}

bool WindowDresser::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return false;
    if (event->type() == QEvent::Show) {
        // Window managers forget these when a window is hidden: asked again at every show.
        keepOnEveryWorkspace(window_);
        if (dress_.offTaskbar)
            keepOffTaskbar(window_);
        dress();
        // A change of stacking makes the new native window within the show, after this.
        QMetaObject::invokeMethod(this, &WindowDresser::dress, Qt::QueuedConnection);
    } else if (event->type() == QEvent::PlatformSurface &&
               static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                   QPlatformSurfaceEvent::SurfaceCreated) {
        dress();
    }
    return false;
}

void WindowDresser::dress() {
    QWindow* handle = window_.windowHandle();
    if (!handle || !handle->handle())
        return;
    // Carried by the toolkit to a native window it makes anew, before the map.
    handle->setProperty("_q_xcb_wm_window_role", dress_.role);
    x11MarkWindow(xcb_window_t(handle->winId()), dress_.role);
    if (dress_.shape)
        dress_.shape();
}
