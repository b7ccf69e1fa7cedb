#include "support/TempConfigHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TempConfigHome::TempConfigHome()
    : m_previous(qgetenv("XDG_CONFIG_HOME")),
      m_hadPrevious(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    EXPECT_TRUE(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

TempConfigHome::~TempConfigHome() {
    if (m_hadPrevious)
        qputenv("XDG_CONFIG_HOME", m_previous);
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
