#include "platform/AutostartEntry.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kInstalled = "[Desktop Entry]\nName=Hourling\nTryExec=hourling\nExec=hourling\n"
                              "X-GNOME-Autostart-enabled=false\n\n[Desktop Action Other]\n"
                              "Exec=other\n";

TEST(AutostartEntry, StartsThisVeryProgramWhateverItsPathHolds) {
    struct Case {
        QString path;
        QString exec;
    };
    for (const Case& c : {Case{"/usr/bin/hourling", "/usr/bin/hourling"},
                          Case{"/home/a b/build/hourling", "\"/home/a b/build/hourling\""},
                          Case{"/tmp/$x\"y`\\/100%", "\"/tmp/\\\\$x\\\\\"y\\\\`\\\\\\\\/100%%\""}})
        EXPECT_EQ(AutostartEntry::execValue(c.path), c.exec) << c.path.toStdString();
    const AutostartEntry entry("/nowhere", kInstalled, "/opt/her clock/hourling");
    EXPECT_EQ(entry.contents(), "[Desktop Entry]\nName=Hourling\n"
                                "TryExec=/opt/her clock/hourling\n"
                                "Exec=\"/opt/her clock/hourling\"\n"
                                "X-GNOME-Autostart-enabled=true\n"
                                "[Desktop Action Other]\nExec=other\n");
}

TEST(AutostartEntry, IsWrittenAndRemovedOrTellsWhyNot) {
    QTemporaryDir home;
    const AutostartEntry entry(home.filePath("config/autostart"), kInstalled, "/usr/bin/hourling");
    EXPECT_FALSE(entry.exists());
    EXPECT_EQ(entry.write(), QString());
    QFile file(entry.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), entry.contents());
    EXPECT_EQ(entry.remove(), QString());
    EXPECT_FALSE(entry.exists());
    // A file where the folder should be: no one, root included, can make the folder there.
    QFile blocker(home.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const AutostartEntry blocked(home.filePath("blocked/autostart"), kInstalled, "hourling");
    EXPECT_NE(blocked.write(), QString());
    EXPECT_FALSE(blocked.exists());
}

} // namespace
