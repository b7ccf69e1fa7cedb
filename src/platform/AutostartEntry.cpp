#include "platform/AutostartEntry.h"

#include "platform/ConfigHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

constexpr QLatin1StringView kFileName("hourling.desktop");
constexpr QLatin1StringView kEnabledKey("X-GNOME-Autostart-enabled");

// A string value's escapes: a line break or a leading blank would end or change the value.
QString escapedString(const QString& text) {
    QString escaped;
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            escaped += QLatin1StringView("\\\\");
            break;
        case u'\n':
            escaped += QLatin1StringView("\\n");
            break;
        case u'\r':
            escaped += QLatin1StringView("\\r");
            break;
        case u'\t':
            escaped += QLatin1StringView("\\t");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

bool isKey(const QByteArray& line, QLatin1StringView key) {
    return line.startsWith(QByteArray(key.data(), key.size())) &&
           line.mid(key.size()).trimmed().startsWith('=');
}

} // namespace

AutostartEntry::AutostartEntry(QString folder, QByteArray desktopEntry, QString programPath)
    : folder_(std::move(folder)), desktopEntry_(std::move(desktopEntry)),
      programPath_(std::move(programPath)) {}

AutostartEntry AutostartEntry::forThisProgram() {
    QFile installed(QStringLiteral(":/hourling.desktop"));
    installed.open(QIODevice::ReadOnly);
    const QString home = configHome();
    return AutostartEntry(home.isEmpty() ? QString() : home + QStringLiteral("/autostart"),
                          installed.readAll(), QCoreApplication::applicationFilePath());
}

QString AutostartEntry::path() const {
    return folder_ + u'/' + kFileName;
}

bool AutostartEntry::exists() const {
    return !folder_.isEmpty() && QFile::exists(path());
}

QByteArray AutostartEntry::contents() const {
    QByteArray out;
    bool inMainGroup = false;
    const auto endMainGroup = [&] {
        if (inMainGroup)
            out += QByteArray(kEnabledKey.data(), kEnabledKey.size()) + "=true\n";
        inMainGroup = false;
    };
    for (const QByteArray& line : desktopEntry_.split('\n')) {
        if (line.startsWith('[')) {
            endMainGroup();
            inMainGroup = line.trimmed() == "[Desktop Entry]";
        }
        if (inMainGroup && isKey(line, QLatin1StringView("Exec")))
            out += "Exec=" + execValue(programPath_).toUtf8() + '\n';
        // A TryExec that names the program alone would look for it on the PATH only.
        else if (inMainGroup && isKey(line, QLatin1StringView("TryExec")))
            out += "TryExec=" + escapedString(programPath_).toUtf8() + '\n';
        else if (!(inMainGroup && isKey(line, kEnabledKey)) && !line.isEmpty())
            out += line + '\n';
    }
    endMainGroup();
    return out;
}

QString AutostartEntry::execValue(const QString& path) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument;
    bool quote = false;
    for (QChar c : path) {
        quote = quote || kReserved.contains(c);
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            argument += u'\\';
        argument += c;
    }
    argument.replace(u'%', QLatin1StringView("%%"));
    return escapedString(quote ? u'"' + argument + u'"' : argument);
}

QString AutostartEntry::write() const {
    if (folder_.isEmpty())
        return QCoreApplication::translate("AutostartEntry", "ホームフォルダがありません");
    if (!QDir().mkpath(folder_))
        return QCoreApplication::translate("AutostartEntry", "フォルダを作れません");
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly) || file.write(contents()) < 0 || !file.commit())
        return file.errorString();
    return {};
}

QString AutostartEntry::remove() const {
    QFile file(path());
    if (!exists() || file.remove())
        return {};
    return file.errorString();
}
