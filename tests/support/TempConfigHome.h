#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh XDG_CONFIG_HOME for the lifetime of one test, so that no test touches the real
// ~/.config. The variable is put back as it was afterwards.
class TempConfigHome {
public:
    TempConfigHome();
    ~TempConfigHome();
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    QString path() const { return dir_.path(); }
    QString hiveDirectory() const { return path() + QStringLiteral("/hourling"); }
    QString hivePath() const { return hiveDirectory() + QStringLiteral("/user.reg"); }

    bool hiveExists() const;
    // Creates the directory when needed.
    void writeHive(const QByteArray& bytes) const;
    // Empty when there is no file.
    QByteArray readHive() const;
    // Names of the files in the hive's directory other than the hive itself.
    QStringList otherFiles() const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_;
};
