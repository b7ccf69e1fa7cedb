#include "app/DisplayCheck.h"

#include <QtGlobal>
#include <xcb/xcb.h>

QString prepareDisplay() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        // The user chose a platform; only xcb can be checked here.
        if (qgetenv("QT_QPA_PLATFORM") != "xcb")
            return {};
    } else {
        // Window positions are global here; under Wayland that needs XWayland.
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // With shared memory, Qt's backing store asks the X server for a round trip before it
    // paints into a region it flushed before, and the dial repaints the same region every
    // second: one reply to wake the event reader and then the user-interface thread, each
    // second. Her window is small; plain requests cost less. The user may still choose.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("hourling: no display: DISPLAY is not set; start it in an X11 or "
                              "Wayland (XWayland) desktop session");
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return QStringLiteral("hourling: no display: cannot connect to the X server at DISPLAY=%1")
            .arg(QString::fromLocal8Bit(qgetenv("DISPLAY")));
    return {};
}
