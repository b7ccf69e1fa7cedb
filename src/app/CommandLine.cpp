#include "app/CommandLine.h"

#include <algorithm>

namespace {
// The toolkit's own options (its core, its X11 platform and its widgets), with a value or
// without; it takes them out of the arguments itself.
const QStringList kToolkitWithValue = {QStringLiteral("display"),
                                       QStringLiteral("platform"),
                                       QStringLiteral("platformpluginpath"),
                                       QStringLiteral("platformtheme"),
                                       QStringLiteral("plugin"),
                                       QStringLiteral("qwindowgeometry"),
                                       QStringLiteral("geometry"),
                                       QStringLiteral("qwindowtitle"),
                                       QStringLiteral("title"),
                                       QStringLiteral("qwindowicon"),
                                       QStringLiteral("icon"),
                                       QStringLiteral("session"),
                                       QStringLiteral("style"),
                                       QStringLiteral("stylesheet"),
                                       QStringLiteral("name"),
                                       QStringLiteral("visual")};
const QStringList kToolkitFlags = {QStringLiteral("reverse"),     QStringLiteral("widgetcount"),
                                   QStringLiteral("testability"), QStringLiteral("nograb"),
                                   QStringLiteral("dograb"),      QStringLiteral("sync")};
// Taken in the form -name=value only.
const QStringList kToolkitJoined = {QStringLiteral("style="), QStringLiteral("stylesheet="),
                                    QStringLiteral("qmljsdebugger=")};

CommandLine answer(CommandLine::Action action, const QString& refusal = {}) {
    return {.action = action, .refusal = refusal, .display = {}, .platform = {}};
}

CommandLine refuse(const QString& why) {
    return answer(CommandLine::Action::Refuse,
                  QStringLiteral("hourling: %1; see 'hourling --help'").arg(why));
}
} // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--help" || argument == u"-h")
            return answer(CommandLine::Action::Help);
        if (argument == u"--version" || argument == u"-v")
            return answer(CommandLine::Action::Version);
        if (!argument.startsWith(u'-') || argument == u"-")
            return refuse(QStringLiteral("unexpected argument '%1'").arg(argument));
        // The toolkit takes its options with one dash or two.
        const QString name = argument.mid(argument.startsWith(u"--") ? 2 : 1);
        if (kToolkitFlags.contains(name) ||
            std::any_of(kToolkitJoined.begin(), kToolkitJoined.end(),
                        [&](const QString& joined) { return name.startsWith(joined); }))
            continue;
        if (!kToolkitWithValue.contains(name))
            return refuse(QStringLiteral("unknown option '%1'").arg(argument));
        if (i + 1 == arguments.size())
            return refuse(QStringLiteral("option '%1' needs a value").arg(argument));
        const QString& value = arguments[++i];
        if (name == u"display")
            line.display = value;
        else if (name == u"platform")
            line.platform = value;
    }
    return line;
}

QString helpText() {
    return QStringLiteral(
        "Usage: hourling [options]\n"
        "Miora stands on the desktop and holds a clock that tells the time.\n"
        "\n"
        "Options:\n"
        "  -h, --help           print this help and exit\n"
        "  -v, --version        print the version and exit\n"
        "  -display <display>   the X display to use instead of $DISPLAY\n"
        "  -platform <name>     the toolkit's platform plugin (she needs xcb on screen)\n"
        "The toolkit's other options, such as -style or -reverse, are passed on to it.\n"
        "\n"
        "Hold Shift and Ctrl while she starts to reset her settings. Her settings are kept in\n"
        "$XDG_CONFIG_HOME/hourling/user.reg (~/.config/hourling/user.reg). See hourling(1).\n");
}

QString versionText() {
    return QStringLiteral("hourling " HOURLING_VERSION "\n");
}
