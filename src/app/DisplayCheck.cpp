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
