#include "platform/ConfigHome.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kMaxPasswordEntrySize = 1 << 20;

// HOME, or when that is unset the home that the user's password entry gives; empty when
// neither names a folder other than the root.
QString homeDirectory() {
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
        home.clear();
        const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(suggested > 0 ? size_t(suggested) : 16384);
        passwd entry{};
        passwd* found = nullptr;
        while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
               buffer.size() < kMaxPasswordEntrySize)
            buffer.resize(buffer.size() * 2);
        if (found && found->pw_dir)
            home = QFile::decodeName(found->pw_dir);
    }
    // Settings at the root of the file system would be nobody's own.
    if (QDir::cleanPath(home) == QStringLiteral("/"))
        return {};
    return home;
}

} // namespace

QString configHome() {
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    const QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!base.isEmpty() && QDir::isAbsolutePath(base))
        return base;
    const QString home = homeDirectory();
    return home.isEmpty() ? QString() : home + QStringLiteral("/.config");
}
