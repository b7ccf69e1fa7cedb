#pragma once

#include "support/harness/Polling.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A private X server for one test: Xvfb on a free display, with a black root so that a
// shaped window's holes show. Everything run through it sees only this display.
class XSession {
public:
    explicit XSession(int width = 1024, int height = 768);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ok() const { return !display_.isEmpty(); }
    QString display() const { return display_; }
    QProcessEnvironment environment() const;

    struct Result {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Result run(const QString& program, const QStringList& args, int timeoutMs = 30000) const;
    // Convenience for xdotool; its standard output, trimmed.
    QString xdotool(const QStringList& args) const;

    // The first mapped window whose WM_CLASS or title matches, waiting for it to appear.
    std::optional<qulonglong> waitForWindowByClass(const QString& wmClass,
                                                   int timeoutMs = 30000) const;
    std::optional<qulonglong> waitForWindowByName(const QString& name, int timeoutMs = 30000) const;
    QString windowName(qulonglong id) const;
    // Position on the root window and size, as the X server has them.
    QRect windowGeometry(qulonglong id) const;
    QImage screenshot() const;
    // Asks the window to close, as a window manager's close box does (WM_DELETE_WINDOW).
    bool closeWindow(qulonglong id) const;
    // Whether the window is mapped and all its ancestors are.
    bool viewable(qulonglong id) const;
    // Starts a window manager of windowManagers() with its stock configuration, in a home
    // of its own; it ends with the session. Ready once it has framed a window.
    bool startWindowManager(const QString& name = QStringLiteral("openbox"));
    // The window managers she is tried under.
    static std::vector<std::string> windowManagers();
    // A compositing manager that draws shadows, as in its sample configuration.
    bool startShadowingCompositor();
    // The X server goes away at once, as when it crashes.
    void killServer();

private:
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> windowManager_;
    std::unique_ptr<QProcess> compositor_;
    std::unique_ptr<QProcess> sessionBus_;
    std::unique_ptr<QTemporaryDir> home_;
    QString display_;
};

class UnprivilegedUser;

// The program itself, started on a session with its own settings folder.
class ProgramRun {
public:
    ProgramRun(const XSession& session, const QString& configHome,
               const QStringList& extraEnvironment = {}, const QStringList& wrapper = {});
    ~ProgramRun();

    // Runs it as that user rather than as the test's; before start().
    void runAs(const UnprivilegedUser& user);
    // Her command line; before start().
    void setArguments(const QStringList& arguments) { arguments_ = arguments; }
    bool start();
    void sendSignal(int signal);
    bool waitForExit(int timeoutMs = 30000);
    int exitCode() const { return process_.exitCode(); }
    // Ended by a signal it did not handle.
    bool crashed() const { return process_.exitStatus() == QProcess::CrashExit; }
    QByteArray standardError();
    qint64 pid() const { return process_.processId(); }
    // Whether it still runs, or how it ended, with what it wrote to standard error: for the
    // message of a test that waited for it in vain.
    std::string report();

private:
    const XSession& session_;
    QProcess process_;
    QStringList wrapper_;
    QString program_;
    QStringList arguments_;
};

// Environment entries that start the program's wall clock at a moment ("2026-03-15 08:29:02")
// and let it run on. Preloaded rather than wrapped, so that signals reach the program.
QStringList fixedClockEnvironment(const QString& moment);

// Where tests keep screenshots for people to look at.
QString artifactPath(const QString& fileName);
