#include "support/harness/UnprivilegedUser.h"

#include "support/harness/ProcThreadStat.h"
#include "support/harness/XSession.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {
bool chownTo(const QString& path, uid_t uid, gid_t gid) {
    return ::chown(QFile::encodeName(path).constData(), uid, gid) == 0;
}
} // namespace

UnprivilegedUser::UnprivilegedUser(const XSession& session) {
    if (!prepare(session) && problem_.isEmpty())
        problem_ = QStringLiteral("cannot prepare a place for nobody");
}

bool UnprivilegedUser::prepare(const XSession& session) {
    if (::geteuid() != 0) {
        problem_ = QStringLiteral("the tests do not run as root, so they cannot become nobody");
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()) {
        problem_ = QStringLiteral("no setpriv");
        return false;
    }
    const passwd* user = ::getpwnam("nobody");
    const group* group = ::getgrnam("nogroup");
    if (!user || !group) {
        problem_ = QStringLiteral("no user nobody or group nogroup");
        return false;
    }
    uid_ = user->pw_uid;
    gid_ = group->gr_gid;
    if (!dir_.isValid())
        return false;
    // Readable by all, so that nobody can run the copy; the home inside is nobody's alone.
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                           QFile::ExeGroup);
    if (!QFile::copy(QStringLiteral(HOURLING_BINARY), program()))
        return false;
    QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                         QFile::ExeGroup);
    for (const char* home : {"home", "runtime"}) {
        const QString path = dir_.filePath(QLatin1String(home));
        if (!QDir().mkpath(path) || !chownTo(path, uid_, gid_))
            return false;
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Xvfb admits local clients already; this keeps it so on servers that would not.
    session.run(QStringLiteral("xhost"), {QStringLiteral("+si:localuser:nobody")});
    return true;
}

bool UnprivilegedUser::give(const QString& folder) const {
    if (!chownTo(folder, uid_, gid_))
        return false;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (!chownTo(it.next(), uid_, gid_))
            return false;
    }
    return true;
}

QString UnprivilegedUser::program() const {
    return dir_.filePath(QStringLiteral("hourling"));
}

QStringList UnprivilegedUser::wrapper() const {
    return {QStringLiteral("setpriv"),         QStringLiteral("--reuid=nobody"),
            QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups"),
            QStringLiteral("--inh-caps=-all"), QStringLiteral("--bounding-set=-all")};
}

QStringList UnprivilegedUser::environment() const {
    return {QStringLiteral("HOME=") + dir_.filePath(QStringLiteral("home")),
            QStringLiteral("XDG_RUNTIME_DIR=") + dir_.filePath(QStringLiteral("runtime"))};
}

QString unprivilegedProblem(pid_t pid) {
    const passwd* user = ::getpwnam("nobody");
    const QString uid = QString::number(user ? user->pw_uid : 65534);
    const QString uids = QString::fromStdString(procStatusField(pid, pid, "Uid"));
    if (uids.split(QLatin1Char('\t'), Qt::SkipEmptyParts) != QStringList(4, uid))
        return QStringLiteral("runs with the user ids ") + uids;
    for (const char* set : {"CapInh", "CapPrm", "CapEff", "CapBnd", "CapAmb"}) {
        const std::string value = procStatusField(pid, pid, set);
        if (value.empty() || std::stoull(value, nullptr, 16) != 0)
            return QStringLiteral("%1 is %2")
                .arg(QLatin1String(set), QString::fromStdString(value));
    }
    return {};
}
