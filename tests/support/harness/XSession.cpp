#include "support/harness/XSession.h"

#include "support/harness/UnprivilegedUser.h"
#include "support/harness/XShape.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {
// Xvfb writes its display number to the descriptor it is given once it accepts clients.
QString startServer(QProcess& server, int width, int height) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const int writeFd = pipeFds[1];
    server.setChildProcessModifier([pipeFds] { ::close(pipeFds[0]); });
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QString::number(writeFd), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                  QStringLiteral("-br"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  QStringLiteral("-noreset")});
    ::close(writeFd);
    QString number;
    if (server.waitForStarted(10000)) {
        pollfd pfd{pipeFds[0], POLLIN, 0};
        QElapsedTimer timer;
        timer.start();
        char buffer[32];
        while (timer.elapsed() < 30000 && !number.endsWith(QLatin1Char('\n'))) {
            if (::poll(&pfd, 1, 200) > 0) {
                const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
                if (n <= 0)
                    break;
                number += QString::fromLatin1(buffer, static_cast<int>(n));
            }
        }
    }
    ::close(pipeFds[0]);
    number = number.trimmed();
    return number.isEmpty() ? QString() : QStringLiteral(":") + number;
}
} // namespace

XSession::XSession(int width, int height) : server_(std::make_unique<QProcess>()) {
    display_ = startServer(*server_, width, height);
}

XSession::~XSession() {
    for (QProcess* process :
         {compositor_.get(), windowManager_.get(), sessionBus_.get(), server_.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("SESSION_MANAGER"));
    return env;
}

XSession::Result XSession::run(const QString& program, const QStringList& args,
                               int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, args);
    Result result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString XSession::xdotool(const QStringList& args) const {
    return QString::fromUtf8(run(QStringLiteral("xdotool"), args).out).trimmed();
}

namespace {
std::optional<qulonglong> waitForSearch(const XSession& session, const QStringList& search,
                                        int timeoutMs) {
    std::optional<qulonglong> found;
    eventually(
        [&] {
            const QStringList ids = session
                                        .xdotool(QStringList{QStringLiteral("search"),
                                                             QStringLiteral("--onlyvisible")} +
                                                 search)
                                        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            if (ids.isEmpty())
                return false;
            found = ids.first().toULongLong();
            return true;
        },
        timeoutMs);
    return found;
}
} // namespace

std::optional<qulonglong> XSession::waitForWindowByClass(const QString& wmClass,
                                                         int timeoutMs) const {
    return waitForSearch(*this, {QStringLiteral("--class"), QStringLiteral("^%1$").arg(wmClass)},
                         timeoutMs);
}

std::optional<qulonglong> XSession::waitForWindowByName(const QString& name, int timeoutMs) const {
    return waitForSearch(
        *this,
        {QStringLiteral("--name"), QStringLiteral("^%1$").arg(QRegularExpression::escape(name))},
        timeoutMs);
}

QString XSession::windowName(qulonglong id) const {
    return xdotool({QStringLiteral("getwindowname"), QString::number(id)});
}

QRect XSession::windowGeometry(qulonglong id) const {
    const QString out = QString::fromUtf8(
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)}).out);
    auto field = [&](const QString& label) {
        const QRegularExpression re(QRegularExpression::escape(label) +
                                    QStringLiteral(":\\s*(-?\\d+)"));
        const auto match = re.match(out);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    };
    return QRect(field(QStringLiteral("Absolute upper-left X")),
                 field(QStringLiteral("Absolute upper-left Y")), field(QStringLiteral("Width")),
                 field(QStringLiteral("Height")));
}

QImage XSession::screenshot() const {
    return screenPixelsOf(*this);
}

namespace {
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}
} // namespace

bool XSession::closeWindow(qulonglong id) const {
    xcb_connection_t* connection = xcb_connect(display_.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(id);
    message.type = internAtom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = internAtom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent =
        xcb_send_event_checked(connection, 0, xcb_window_t(id), XCB_EVENT_MASK_NO_EVENT,
                               reinterpret_cast<const char*>(&message));
    xcb_generic_error_t* error = xcb_request_check(connection, sent);
    const bool ok = error == nullptr;
    std::free(error);
    xcb_disconnect(connection);
    return ok;
}

bool XSession::viewable(qulonglong id) const {
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)})
        .out.contains("Map State: IsViewable");
}

namespace {
struct WindowManagerKind {
    const char* name;
    QStringList command;
    // Its settings come through a service on the session bus.
    bool needsSessionBus = false;
};

// Each as Debian installs it. i3's own configuration without its exec lines, which start
// the desktop's autostart entries and a sound server.
const WindowManagerKind kWindowManagers[] = {
    {"openbox", {QStringLiteral("openbox")}},
    {"xfwm4", {QStringLiteral("xfwm4")}, true},
    {"icewm", {QStringLiteral("icewm")}},
    {"i3", {QStringLiteral("i3"), QStringLiteral("-c"), QStringLiteral("%home/i3.config")}},
};

bool writeI3Config(const QString& path) {
    QFile stock(QStringLiteral("/etc/i3/config"));
    QFile config(path);
    if (!stock.open(QIODevice::ReadOnly) || !config.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray& line : stock.readAll().split('\n'))
        if (!line.trimmed().startsWith("exec"))
            config.write(line + '\n');
    return true;
}
} // namespace

std::vector<std::string> XSession::windowManagers() {
    std::vector<std::string> names;
    for (const WindowManagerKind& kind : kWindowManagers)
        names.emplace_back(kind.name);
    return names;
}

bool XSession::startWindowManager(const QString& name) {
    const WindowManagerKind* kind = nullptr;
    for (const WindowManagerKind& each : kWindowManagers)
        if (name == QLatin1String(each.name))
            kind = &each;
    home_ = std::make_unique<QTemporaryDir>();
    if (!kind || !home_->isValid() ||
        (name == QLatin1String("i3") &&
         !writeI3Config(home_->filePath(QStringLiteral("i3.config")))))
        return false;
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("HOME"), home_->path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_->filePath(QStringLiteral(".config")));
    env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    if (kind->needsSessionBus) {
        sessionBus_ = std::make_unique<QProcess>();
        sessionBus_->setProcessEnvironment(env);
        sessionBus_->setStandardErrorFile(QProcess::nullDevice());
        sessionBus_->start(QStringLiteral("dbus-daemon"),
                           {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
        if (!sessionBus_->waitForReadyRead(10000))
            return false;
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   QString::fromUtf8(sessionBus_->readLine()).trimmed());
    }
    QStringList command = kind->command;
    command.replaceInStrings(QStringLiteral("%home"), home_->path());
    windowManager_ = std::make_unique<QProcess>();
    windowManager_->setProcessEnvironment(env);
    windowManager_->setStandardOutputFile(QProcess::nullDevice());
    windowManager_->setStandardErrorFile(QProcess::nullDevice());
    windowManager_->start(command.first(), command.mid(1));
    if (!windowManager_->waitForStarted(10000))
        return false;
    // A manager names itself on the root window before it takes map requests, and may drop
    // those that come in between: it is ready once it has framed a window of ours.
    xcb_connection_t* connection = xcb_connect(display_.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_window_t probe = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    int polls = 0;
    const bool framed = eventually(
        [&] {
            // Asked again now and then, in case the request fell into that gap.
            if (polls++ % 25 == 0) {
                xcb_map_window(connection, probe);
                xcb_flush(connection);
            }
            xcb_query_tree_reply_t* tree =
                xcb_query_tree_reply(connection, xcb_query_tree(connection, probe), nullptr);
            const bool reparented = tree && tree->parent != root;
            std::free(tree);
            return reparented;
        },
        30000);
    xcb_destroy_window(connection, probe);
    xcb_flush(connection);
    xcb_disconnect(connection);
    return framed;
}

bool XSession::startShadowingCompositor() {
    // Its sample configuration, less the vertical sync that a virtual screen cannot give.
    QFile sample(QStringLiteral("/usr/share/doc/picom/examples/picom.sample.conf"));
    if (!home_)
        home_ = std::make_unique<QTemporaryDir>();
    const QString path = home_->filePath(QStringLiteral("picom.conf"));
    QFile config(path);
    if (!sample.open(QIODevice::ReadOnly) || !config.open(QIODevice::WriteOnly))
        return false;
    config.write(sample.readAll().replace("vsync = true;", "vsync = false;"));
    config.close();
    compositor_ = std::make_unique<QProcess>();
    compositor_->setProcessEnvironment(environment());
    compositor_->setStandardOutputFile(QProcess::nullDevice());
    compositor_->setStandardErrorFile(QProcess::nullDevice());
    compositor_->start(QStringLiteral("picom"), {QStringLiteral("--config"), path});
    return compositor_->waitForStarted(10000);
}

void XSession::killServer() {
    server_->kill();
    server_->waitForFinished(10000);
}

ProgramRun::ProgramRun(const XSession& session, const QString& configHome,
                       const QStringList& extraEnvironment, const QStringList& wrapper)
    : session_(session), wrapper_(wrapper), program_(QStringLiteral(HOURLING_BINARY)) {
    QProcessEnvironment env = session.environment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    // A Japanese session unless the test says otherwise, whatever the machine's: the texts
    // that tests find her windows by are her own. LANGUAGE comes first in Qt's choice.
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("ja"));
    for (const QString& entry : extraEnvironment) {
        const int eq = entry.indexOf(QLatin1Char('='));
        env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    process_.setProcessEnvironment(env);
}

ProgramRun::~ProgramRun() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void ProgramRun::runAs(const UnprivilegedUser& user) {
    wrapper_ = user.wrapper() + wrapper_;
    program_ = user.program();
    QProcessEnvironment env = process_.processEnvironment();
    for (const QString& entry : user.environment()) {
        const int eq = entry.indexOf(QLatin1Char('='));
        env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(user.workingDirectory());
}

bool ProgramRun::start() {
    QStringList command = wrapper_;
    command << program_ << arguments_;
    process_.start(command.first(), command.mid(1));
    return process_.waitForStarted(10000);
}

void ProgramRun::sendSignal(int signal) {
    if (process_.processId() > 0)
        ::kill(static_cast<pid_t>(process_.processId()), signal);
}

bool ProgramRun::waitForExit(int timeoutMs) {
    return process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
}

std::string ProgramRun::report() {
    QString state;
    if (process_.state() != QProcess::NotRunning)
        state = QStringLiteral("still running");
    else if (process_.exitStatus() == QProcess::CrashExit)
        state = QStringLiteral("crashed");
    else
        state = QStringLiteral("exited with %1").arg(process_.exitCode());
    return (QStringLiteral("the program ") + state + QStringLiteral("; its errors: ") +
            QString::fromLocal8Bit(standardError().right(2000)))
        .toStdString();
}

QByteArray ProgramRun::standardError() {
    return process_.readAllStandardError();
}

QStringList fixedClockEnvironment(const QString& moment) {
    return {QStringLiteral("LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1"),
            QStringLiteral("FAKETIME=@") + moment,
            // Timeouts and sleeps keep real time; only the wall clock is moved.
            QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC=1")};
}

QString artifactPath(const QString& fileName) {
    QDir().mkpath(QStringLiteral(HOURLING_ARTIFACT_DIR));
    return QStringLiteral(HOURLING_ARTIFACT_DIR) + QLatin1Char('/') + fileName;
}
