#include "stage/WindowDresser.h"

#include "platform/TaskbarEntry.h"
#include "platform/X11WindowMarks.h"

#include <QEvent>
#include <QPlatformSurfaceEvent>
#include <QWidget>
#include <QWindow>

WindowDresser::WindowDresser(QWidget& window, Dress dress)
    : QObject(&window), window_(window), dress_(std::move(dress)) {
    window_.installEventFilter(this);
    watchNativeWindow();
}

bool WindowDresser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Show) {
        watchNativeWindow();
        // Window managers forget these when a window is hidden: asked again at every show.
        keepOnEveryWorkspace(window_);
        if (dress_.offTaskbar)
            keepOffTaskbar(window_);
        dress();
    } else if (watched == watched_ && event->type() == QEvent::PlatformSurface &&
               static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                   QPlatformSurfaceEvent::SurfaceCreated) {
        dress();
    }
    return false;
}

void WindowDresser::watchNativeWindow() {
    QWindow* handle = window_.windowHandle();
    if (!handle || handle == watched_)
        return;
    watched_ = handle;
    handle->installEventFilter(this);
}

void WindowDresser::dress() {
    const QWindow* handle = window_.windowHandle();
    if (!handle || !handle->handle())
        return;
    x11MarkWindow(xcb_window_t(handle->winId()), dress_.role);
    if (dress_.shape)
        dress_.shape();
}
