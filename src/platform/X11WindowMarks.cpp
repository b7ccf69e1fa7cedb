#include "platform/X11WindowMarks.h"

#include "platform/X11Connection.h"

namespace {
void markNoShadow(xcb_connection_t* connection, xcb_window_t window) {
    const std::uint32_t noShadow = 0;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window,
                        x11Atom(connection, "_COMPTON_SHADOW"), XCB_ATOM_CARDINAL, 32, 1,
                        &noShadow);
}
} // namespace

void x11MarkFrameOf(xcb_window_t window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    const xcb_window_t root = firstRoot(connection);
    xcb_window_t top = window;
    for (int depth = 0; depth < 8; ++depth) {
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, top), nullptr));
        if (!tree || tree->parent == root || tree->parent == XCB_WINDOW_NONE)
            break;
        top = tree->parent;
    }
    if (top != window) {
        markNoShadow(connection, top);
        xcb_flush(connection);
    }
}

void x11MarkWindow(xcb_window_t window, const QByteArray& role) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || window == XCB_WINDOW_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window,
                        x11Atom(connection, "WM_WINDOW_ROLE"), XCB_ATOM_STRING, 8,
                        std::uint32_t(role.size()), role.constData());
    markNoShadow(connection, window);
    xcb_flush(connection);
}

bool x11WindowMapped(xcb_window_t window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return true;
    const XcbReply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    return !reply || reply->map_state != XCB_MAP_STATE_UNMAPPED;
}
