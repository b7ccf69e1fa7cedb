#include "stage/X11Place.h"

#include "platform/X11Connection.h"
#include "platform/X11WindowMarks.h"

#include <QWidget>
#include <QWindow>

namespace X11Place {

std::optional<QPoint> windowPosition(const QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window.testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    XcbReply<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(
        connection,
        xcb_translate_coordinates(connection, xcb_window_t(window.winId()), firstRoot(connection),
                                  0, 0),
        nullptr));
    if (!reply)
        return std::nullopt;
    const QPoint native(reply->dst_x, reply->dst_y);
    return native / window.devicePixelRatioF();
}

void showAgain(QWidget& window) {
    const QWindow* handle = window.windowHandle();
    // A minimised window is unmapped too, and stays so.
    if (window.isVisible() && !window.isMinimized() && handle && handle->handle() &&
        !x11WindowMapped(xcb_window_t(handle->winId())))
        window.hide();
    window.show();
}

void settle(QWidget& window) {
    QWindow* handle = window.windowHandle();
    const auto position = windowPosition(window);
    if (!handle || !position || handle->position() == *position)
        return;
    // A request to stand where she stands already: the manager answers it with the notice
    // of her place that the toolkit missed.
    handle->setPosition(*position);
}

} // namespace X11Place
