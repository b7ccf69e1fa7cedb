#include "support/TempConfigHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TempConfigHome::TempConfigHome()
    : previous_(qgetenv("XDG_CONFIG_HOME")),
      hadPrevious_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    EXPECT_TRUE(dir_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
}

TempConfigHome::~TempConfigHome() {
    if (hadPrevious_)
        qputenv("XDG_CONFIG_HOME", previous_);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

bool TempConfigHome::hiveExists() const {
    return QFile::exists(hivePath());
}

void TempConfigHome::writeHive(const QByteArray& bytes) const {
    QDir().mkpath(hiveDirectory());
    QFile file(hivePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray TempConfigHome::readHive() const {
    QFile file(hivePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList TempConfigHome::otherFiles() const {
    QStringList names =
        QDir(hiveDirectory()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    names.removeAll(QStringLiteral("user.reg"));
    return names;
}
