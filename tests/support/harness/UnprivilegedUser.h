#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <sys/types.h>

class XSession;

// The user nobody, for running the program as people do: the tests run as root, where the
// kernel grants every change of priority. The program runs through setpriv, with no
// capabilities at all, from its own copy in a folder nobody may read (a build tree under
// root's home is not), with a home of its own and access to the session's display.
class UnprivilegedUser {
public:
    explicit UnprivilegedUser(const XSession& session);
    UnprivilegedUser(const UnprivilegedUser&) = delete;
    UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

    // Why the program cannot be run as nobody here (not root, no setpriv, ...); empty when
    // it can.
    QString unavailable() const { return problem_; }
    // Hands a folder and all it holds to nobody, for settings it may write.
    bool give(const QString& folder) const;

    QString program() const;
    // The command that runs a program as nobody.
    QStringList wrapper() const;
    // Environment entries for its home.
    QStringList environment() const;
    QString workingDirectory() const { return dir_.path(); }

private:
    bool prepare(const XSession& session);

    QTemporaryDir dir_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    QString problem_;
};

// Whether a process runs as nobody without a single capability, from its /proc status;
// the reason when it does not.
QString unprivilegedProblem(pid_t pid);
