#pragma once

#include <QByteArray>
#include <QString>

// Her entry in the session's autostart folder: her desktop entry as installed, started from
// where this program was started. The folder is the only record of whether she starts at
// login.
class AutostartEntry {
public:
    // The entry in folder, made of desktopEntry's lines for the program at programPath.
    AutostartEntry(QString folder, QByteArray desktopEntry, QString programPath);
    // In the autostart folder under the user's configuration, for this very program.
    static AutostartEntry forThisProgram();

    QString path() const;
    bool exists() const;
    // Each gives the reason when the folder could not be changed, and is empty when it was.
    QString write() const;
    QString remove() const;

    // What write() puts in the file.
    QByteArray contents() const;
    // An Exec value that starts exactly the program at path, whatever its name holds.
    static QString execValue(const QString& path);

private:
    QString folder_;
    QByteArray desktopEntry_;
    QString programPath_;
};
