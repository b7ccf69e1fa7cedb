#include "platform/TaskbarEntry.h"

#include "platform/X11Connection.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>

namespace {
// EWMH's desktop number for "all of them", its action "add" to a state, and the source of
// a request that a window's program makes.
constexpr std::uint32_t kEveryDesktop = 0xFFFFFFFF;
constexpr std::uint32_t kAddState = 1;
constexpr std::uint32_t kFromProgram = 1;

using Request = std::function<void(xcb_connection_t*, xcb_window_t)>;

// The window's own native window: the widget's id goes stale when the toolkit makes a new
// one, as it does when the stacking changes.
xcb_window_t nativeWindow(QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return xcb_window_t(handle ? handle->winId() : window.winId());
}

// Made as properties before the map, which the window manager reads as it takes the window,
// and asked again of the window manager once the window is shown. The second reaches a new
// native window the toolkit made within its show, and a window hidden and shown again at
// once, whose properties the window manager erases as it lets the old map go.
void requestAtEveryShow(QWidget& window, const Request& beforeMap, const Request& whileShown) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    beforeMap(connection, nativeWindow(window));
    xcb_flush(connection);
    QMetaObject::invokeMethod(
        &window,
        [guarded = QPointer<QWidget>(&window), whileShown] {
            xcb_connection_t* connection = x11Connection();
            if (!guarded || !guarded->isVisible() || !connection)
                return;
            whileShown(connection, nativeWindow(*guarded));
            xcb_flush(connection);
        },
        Qt::QueuedConnection);
}

// Added to what the toolkit has asked for, which it keeps when it maps the window.
void addStateProperties(xcb_connection_t* connection, xcb_window_t id,
                        std::initializer_list<const char*> names) {
    const xcb_atom_t state = x11Atom(connection, "_NET_WM_STATE");
    std::vector<xcb_atom_t> states = x11Property32(connection, id, state, XCB_ATOM_ATOM, 1024);
    for (const char* name : names) {
        const xcb_atom_t atom = x11Atom(connection, name);
        if (atom != XCB_ATOM_NONE && std::find(states.begin(), states.end(), atom) == states.end())
            states.push_back(atom);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.data());
}

void askWindowManager(xcb_connection_t* connection, xcb_window_t id, const char* message,
                      const std::array<std::uint32_t, 5>& data) {
    x11AskWindowManager(connection, id, x11Atom(connection, message), data);
}

void askForStates(xcb_connection_t* connection, xcb_window_t id, const char* first,
                  const char* second) {
    askWindowManager(connection, id, "_NET_WM_STATE",
                     {kAddState, x11Atom(connection, first),
                      second ? x11Atom(connection, second) : xcb_atom_t(XCB_ATOM_NONE),
                      kFromProgram, 0});
}
} // namespace

void keepOffTaskbar(QWidget& window) {
    requestAtEveryShow(
        window,
        [](xcb_connection_t* connection, xcb_window_t id) {
            addStateProperties(connection, id,
                               {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
        },
        [](xcb_connection_t* connection, xcb_window_t id) {
            askForStates(connection, id, "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER");
        });
}

void keepOnEveryWorkspace(QWidget& window) {
    // Window managers differ in which of the two they read: the desktop number or the state.
    requestAtEveryShow(
        window,
        [](xcb_connection_t* connection, xcb_window_t id) {
            const xcb_atom_t desktop = x11Atom(connection, "_NET_WM_DESKTOP");
            if (desktop != XCB_ATOM_NONE)
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, desktop,
                                    XCB_ATOM_CARDINAL, 32, 1, &kEveryDesktop);
            addStateProperties(connection, id, {"_NET_WM_STATE_STICKY"});
        },
        [](xcb_connection_t* connection, xcb_window_t id) {
            askWindowManager(connection, id, "_NET_WM_DESKTOP",
                             {kEveryDesktop, kFromProgram, 0, 0, 0});
            askForStates(connection, id, "_NET_WM_STATE_STICKY", nullptr);
        });
}
