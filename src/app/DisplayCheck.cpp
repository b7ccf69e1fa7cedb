#include "app/DisplayCheck.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QtGlobal>
#include <cstring>
#include <xcb/xcb.h>

namespace {
// A platform plugin the toolkit can load; the first of a list such as "wayland;xcb" is the
// one tried, without its options.
bool pluginInstalled(const QString& platform) {
    const QString name = platform.section(u';', 0, 0).section(u':', 0, 0);
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                             QStringLiteral("/platforms/libq%1.so").arg(name));
}
} // namespace

void dropPlatformOption(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            ++i;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
}

DisplayChoice prepareDisplay(const QString& display, const QString& platform) {
    DisplayChoice choice;
    // The command line's choice comes before the environment's, as the toolkit has it.
    const QString chosen =
        platform.isEmpty() ? QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM")) : platform;
    const QString chooser =
        platform.isEmpty() ? QStringLiteral("QT_QPA_PLATFORM=%1") : QStringLiteral("-platform %1");
    // Window positions, stacking and shapes are global here; under Wayland that needs
    // XWayland, whatever a Wayland session left in the environment. A platform that cannot
    // be loaded would end her with an abort: she runs on X instead. Another the user chose,
    // such as offscreen, is left to the toolkit.
    const bool overruled = !chosen.isEmpty() && chosen != u"xcb" &&
                           (chosen.startsWith(u"wayland") || !pluginInstalled(chosen));
    if (!chosen.isEmpty() && chosen != u"xcb" && !overruled)
        return choice;
    qputenv("QT_QPA_PLATFORM", "xcb");
    choice.dropPlatformOption = overruled && !platform.isEmpty();
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
        choice.notice = QStringLiteral("hourling: %1 set aside: she runs on the X display %2 "
                                       "(XWayland under Wayland), which her outline, place and "
                                       "stacking need")
                            .arg(chooser.arg(chosen), name);
    return choice;
}
