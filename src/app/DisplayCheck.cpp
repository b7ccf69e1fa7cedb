#include "app/DisplayCheck.h"

#include <QtGlobal>
#include <xcb/xcb.h>

DisplayChoice prepareDisplay(const QString& display, const QString& platform) {
    DisplayChoice choice;
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    bool overruled = false;
    if (!platform.isEmpty()) {
        // Chosen on the command line, which the toolkit heeds before the environment; only
        // xcb can be checked here.
        if (platform != u"xcb")
            return choice;
    } else if (chosen.isEmpty() || chosen.startsWith("wayland")) {
        // Window positions, stacking and shapes are global here; under Wayland that needs
        // XWayland, whatever a Wayland session left in the environment (the first of a list
        // such as "wayland;xcb" is the one tried).
        overruled = !chosen.isEmpty();
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else if (chosen != "xcb") {
        // Another platform the user chose, such as offscreen.
        return choice;
    }
    // With shared memory, Qt's backing store asks the X server for a round trip before it
    // paints into a region it flushed before, and the dial repaints the same region every
    // second: one reply to wake the event reader and then the user-interface thread, each
    // second. Her window is small; plain requests cost less. The user may still choose.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    const QString name = display.isEmpty() ? QString::fromLocal8Bit(qgetenv("DISPLAY")) : display;
    if (name.isEmpty()) {
        choice.problem = QStringLiteral("hourling: no display: DISPLAY is not set; start it in an "
                                        "X11 or Wayland (XWayland) desktop session");
        return choice;
    }
    xcb_connection_t* connection = xcb_connect(name.toLocal8Bit().constData(), nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed) {
        choice.problem =
            QStringLiteral("hourling: no display: cannot connect to the X server at DISPLAY=%1")
                .arg(name);
        return choice;
    }
    if (overruled)
        choice.notice = QStringLiteral("hourling: QT_QPA_PLATFORM=%1 set aside: she runs on the X "
                                       "display %2 (XWayland under Wayland), which her outline, "
                                       "place and stacking need")
                            .arg(QString::fromLocal8Bit(chosen), name);
    return choice;
}
