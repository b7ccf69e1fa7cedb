#include "stage/X11Pointer.h"

#include "platform/X11Connection.h"

#include <QWidget>
#include <algorithm>
#include <optional>

namespace {
// Far more items than any of these properties has.
constexpr std::uint32_t kMaxItems = 4096;

std::optional<xcb_window_t> windowProperty(xcb_connection_t* connection, xcb_window_t window,
                                           xcb_atom_t name) {
    const auto items = x11Property32(connection, window, name, XCB_ATOM_WINDOW, kMaxItems);
    if (items.empty())
        return std::nullopt;
    return items.front();
}

// A manager that has gone away may leave its list of features on the root behind; its
// check window proves that it still runs.
bool windowManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t feature) {
    const xcb_atom_t check = x11Atom(connection, "_NET_SUPPORTING_WM_CHECK");
    const auto checkWindow = windowProperty(connection, root, check);
    if (!checkWindow || windowProperty(connection, *checkWindow, check) != checkWindow)
        return false;
    const auto supported = x11Property32(connection, root, x11Atom(connection, "_NET_SUPPORTED"),
                                         XCB_ATOM_ATOM, kMaxItems);
    return std::find(supported.begin(), supported.end(), feature) != supported.end();
}
} // namespace

namespace X11Pointer {

bool primaryButtonHeld() {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return false;
    XcbReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(
        connection, xcb_query_pointer(connection, firstRoot(connection)), nullptr));
    return reply && (reply->mask & XCB_KEY_BUT_MASK_BUTTON_1);
}

namespace {
constexpr quint32 kMove = 8;
constexpr quint32 kCancel = 11;

bool askWindowManager(QWidget& window, quint32 action, QPoint at) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return false;
    const xcb_window_t root = firstRoot(connection);
    const xcb_atom_t moveResize = x11Atom(connection, "_NET_WM_MOVERESIZE");
    if (moveResize == XCB_ATOM_NONE || !windowManagerSupports(connection, root, moveResize))
        return false;
    constexpr quint32 kFromAnApplication = 1;
    const QPoint native = at * window.devicePixelRatioF();
    // The manager can only take the pointer once the press's own grab has been let go.
    if (action == kMove)
        xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    x11AskWindowManager(
        connection, xcb_window_t(window.winId()), moveResize,
        {quint32(native.x()), quint32(native.y()), action, XCB_BUTTON_INDEX_1, kFromAnApplication});
    xcb_flush(connection);
    return true;
}
} // namespace

bool startWindowManagerMove(QWidget& window, QPoint from) {
    return askWindowManager(window, kMove, from);
}

void cancelWindowManagerMove(QWidget& window) {
    askWindowManager(window, kCancel, {});
}

} // namespace X11Pointer
