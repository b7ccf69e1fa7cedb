#include "platform/TaskbarEntry.h"

#include "platform/X11Connection.h"

#include <QWidget>
#include <algorithm>

void keepOffTaskbar(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(window.winId());
    const xcb_atom_t state = x11Atom(connection, "_NET_WM_STATE");
    // Added to what the toolkit has asked for, which it keeps when it maps the window.
    std::vector<xcb_atom_t> states = x11Property32(connection, id, state, XCB_ATOM_ATOM, 1024);
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t skip = x11Atom(connection, name);
        if (skip != XCB_ATOM_NONE && std::find(states.begin(), states.end(), skip) == states.end())
            states.push_back(skip);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.data());
    xcb_flush(connection);
}
