#include "platform/CompositorWatch.h"

#include "platform/X11Connection.h"

#include <QCoreApplication>
#include <xcb/xfixes.h>

CompositorWatch::CompositorWatch(QObject* parent) : QObject(parent) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    // The manager of the first screen, where her windows are.
    selection_ = x11Atom(connection, "_NET_WM_CM_S0");
    const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection_), nullptr));
    running_ = owner && owner->owner != XCB_NONE;
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return;
    // The server answers selection requests only to a client that stated its version.
    free(xcb_xfixes_query_version_reply(
        connection, xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, 0), nullptr));
    notifyEvent_ = std::uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    xcb_xfixes_select_selection_input(connection, firstRoot(connection), selection_,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CompositorWatch::~CompositorWatch() {
    if (notifyEvent_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CompositorWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != notifyEvent_)
        return false;
    const auto* notify = static_cast<const xcb_xfixes_selection_notify_event_t*>(message);
    if (notify->selection != selection_)
        return false;
    const bool running = notify->owner != XCB_NONE;
    if (running != running_) {
        running_ = running;
        emit changed(running);
    }
    // The toolkit keeps its own watch on the same selection.
    return false;
}
