#include "platform/HiveRegistry.h"
#include "support/TempConfigHome.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Vellmoor\\Hourling1");

const QByteArray kStored = "Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1]\n"
                           "\"Number\"=dword:0000002a\n"
                           "\"Text\"=\"hello\"\n"
                           "\"Expand\"=hex(2):25,48,4f,4d,45,25,00\n"
                           "\"FourBytes\"=hex(3):01,00,00,00\n"
                           "\"ShortDword\"=hex(4):01,00\n"
                           "\"Multi\"=hex(7):61,00,00\n"
                           "\n";

// Root passes permission checks through CAP_DAC_OVERRIDE. Dropping it (and its relatives)
// from this thread's effective set, and restoring it afterwards, lets a read-only directory
// stop root as it stops anyone else.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        if (::geteuid() != 0 || ::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &=
            ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER);
        active_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutPermissionOverride() {
        if (active_)
            ::syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

bool canCreateFileIn(const QString& directory) {
    QFile probe(directory + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

class HiveRegistryTest : public ::testing::Test {
protected:
    TempConfigHome home;
    HiveRegistry registry{HiveRegistry::defaultPath()};
};

} // namespace

TEST(HiveRegistryPath, FollowsXdgConfigHome) {
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", "/home/somebody");
    qputenv("XDG_CONFIG_HOME", "/elsewhere/config");
    EXPECT_EQ(HiveRegistry::defaultPath(), "/elsewhere/config/hourling/user.reg");
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(HiveRegistry::defaultPath(), "/home/somebody/.config/hourling/user.reg");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(HiveRegistry::defaultPath(), "/home/somebody/.config/hourling/user.reg");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(HiveRegistry::defaultPath(), "/home/somebody/.config/hourling/user.reg");
    qputenv("HOME", savedHome);
    qputenv("XDG_CONFIG_HOME", savedXdg);
}

TEST_F(HiveRegistryTest, CreatedKeyIsWrittenEmptyAtClose) {
    EXPECT_FALSE(registry.openKey(kKey, false));
    EXPECT_FALSE(registry.keyExists(kKey));
    EXPECT_FALSE(home.hiveExists());

    ASSERT_TRUE(registry.openKey(kKey, true));
    EXPECT_TRUE(registry.keyExists(kKey));
    EXPECT_FALSE(home.hiveExists());
    EXPECT_TRUE(registry.closeKey());
    EXPECT_EQ(home.readHive(), "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1]\n\n");
    EXPECT_TRUE(home.otherFiles().isEmpty());
    EXPECT_TRUE(registry.keyExists("software\\VELLMOOR"));
    EXPECT_TRUE(registry.openKey("software\\vellmoor", false));
    EXPECT_TRUE(registry.hasSubKeys());
    EXPECT_TRUE(registry.closeKey());
}

TEST_F(HiveRegistryTest, WritesReachTheFileAtCloseAndOnlyWhenChanged) {
    // The comment would vanish with any rewrite, so it shows whether the file was replaced.
    home.writeHive(kStored + "; untouched\n");
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeDword("number", 42));
    EXPECT_TRUE(registry.writeString("TEXT", "hello"));
    EXPECT_TRUE(registry.closeKey());
    EXPECT_TRUE(home.readHive().endsWith("; untouched\n"));

    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeDword("number", 7));
    EXPECT_TRUE(registry.writeString("New", "日本語"));
    EXPECT_TRUE(home.readHive().endsWith("; untouched\n"));
    EXPECT_TRUE(registry.closeKey());
    const QByteArray written = home.readHive();
    EXPECT_FALSE(written.contains("untouched"));
    EXPECT_TRUE(written.contains("\"Number\"=dword:00000007\n\"Text\""));
    EXPECT_TRUE(written.endsWith("\"New\"=\"日本語\"\n\n"));

    EXPECT_FALSE(registry.writeDword("Number", 1)); // nothing open
    EXPECT_TRUE(registry.closeKey());
}

TEST_F(HiveRegistryTest, ReadsAsTheRegistryWould) {
    home.writeHive(kStored);
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_EQ(registry.readDword("NUMBER"), 42u);
    EXPECT_EQ(registry.readDword("Missing"), std::nullopt);
    EXPECT_EQ(registry.readDword("Text"), std::nullopt);
    EXPECT_EQ(registry.readDword("FourBytes"), std::nullopt);
    EXPECT_EQ(registry.readDword("ShortDword"), std::nullopt);

    EXPECT_EQ(registry.readString("text"), "hello");
    EXPECT_EQ(registry.readString("Expand"), "%HOME%");
    EXPECT_EQ(registry.readString("Missing"), QString());
    EXPECT_EQ(registry.readString("Number"), std::nullopt);
    EXPECT_EQ(registry.readString("Multi"), std::nullopt);
    EXPECT_FALSE(registry.hasSubKeys());
    EXPECT_TRUE(registry.closeKey());

    EXPECT_EQ(registry.readDword("Number"), std::nullopt);
    EXPECT_EQ(registry.readString("Text"), std::nullopt);
    EXPECT_FALSE(registry.hasSubKeys());
    EXPECT_FALSE(registry.openKey("", true));
    EXPECT_FALSE(registry.openKey("A\\\\B", true));
}

TEST_F(HiveRegistryTest, DeletesTreesAtOnceAndRemovesAnEmptyFile) {
    home.writeHive("Windows Registry Editor Version 5.00\n\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1]\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1\\Deeper\\Still]\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Other]\n");
    EXPECT_FALSE(registry.deleteKey("SOFTWARE\\Vellmoor\\Missing"));
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.hasSubKeys());
    EXPECT_TRUE(registry.closeKey());

    EXPECT_TRUE(registry.deleteKey("software\\vellmoor\\HOURLING1"));
    EXPECT_FALSE(registry.keyExists(kKey + "\\Deeper"));
    EXPECT_FALSE(home.readHive().contains("Hourling1"));
    EXPECT_TRUE(registry.keyExists("SOFTWARE\\Vellmoor\\Other"));

    EXPECT_TRUE(registry.deleteKey("SOFTWARE"));
    EXPECT_FALSE(home.hiveExists());
    EXPECT_TRUE(home.otherFiles().isEmpty());
    EXPECT_FALSE(registry.deleteKey("SOFTWARE"));
}

TEST_F(HiveRegistryTest, DeletingTheOpenKeyClosesIt) {
    home.writeHive(kStored);
    ASSERT_TRUE(registry.openKey("SOFTWARE\\Vellmoor", false));
    EXPECT_TRUE(registry.deleteKey(kKey));
    EXPECT_FALSE(registry.keyExists(kKey));
    EXPECT_FALSE(registry.hasSubKeys());
    EXPECT_TRUE(registry.closeKey());

    home.writeHive(kStored);
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeDword("Pending", 1));
    EXPECT_TRUE(registry.deleteKey("SOFTWARE\\Vellmoor"));
    EXPECT_FALSE(registry.writeDword("Pending", 2));
    EXPECT_TRUE(registry.closeKey());
    EXPECT_FALSE(home.hiveExists());
}

TEST_F(HiveRegistryTest, DamagedFileIsKeptAsideBeforeItIsReplaced) {
    const QByteArray damaged = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K";
    home.writeHive(damaged);
    EXPECT_FALSE(registry.keyExists("K"));
    EXPECT_FALSE(registry.openKey("K", false));
    EXPECT_FALSE(registry.deleteKey("K"));
    EXPECT_EQ(home.readHive(), damaged);
    EXPECT_TRUE(home.otherFiles().isEmpty());

    ASSERT_TRUE(registry.openKey(kKey, true));
    EXPECT_EQ(registry.readDword("v"), std::nullopt);
    EXPECT_TRUE(registry.writeDword("Fresh", 1));
    EXPECT_EQ(home.readHive(), damaged);
    EXPECT_TRUE(registry.closeKey());

    const QStringList aside = home.otherFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QRegularExpression("^user\\.reg\\.bad-\\d{8}T\\d{6}Z$").match(aside[0]).hasMatch())
        << aside[0].toStdString();
    QFile kept(home.hiveDirectory() + "/" + aside[0]);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    EXPECT_TRUE(home.readHive().contains("\"Fresh\"=dword:00000001"));

    // A second damaged file moments later does not take the first one's place.
    home.writeHive("garbage");
    ASSERT_TRUE(registry.openKey(kKey, true));
    EXPECT_TRUE(registry.closeKey());
    EXPECT_EQ(home.otherFiles().size(), 2);
}

TEST_F(HiveRegistryTest, CreatesMissingDirectoriesAndKeepsASymbolicLink) {
    const QString nested = home.path() + "/not/yet/there/user.reg";
    HiveRegistry deep(nested);
    ASSERT_TRUE(deep.openKey("K", true));
    EXPECT_TRUE(deep.closeKey());
    EXPECT_TRUE(QFile::exists(nested));

    QDir().mkpath(home.hiveDirectory());
    ASSERT_TRUE(QFile::link(nested, home.hivePath()));
    ASSERT_TRUE(registry.openKey("K", false));
    EXPECT_TRUE(registry.writeDword("v", 5));
    EXPECT_TRUE(registry.closeKey());
    EXPECT_TRUE(QFileInfo(home.hivePath()).isSymLink());
    QFile target(nested);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_TRUE(target.readAll().contains("\"v\"=dword:00000005"));
}

TEST_F(HiveRegistryTest, UnreadablePlacesReportFailure) {
    // The hive's directory is a regular file.
    QFile blocker(home.hiveDirectory());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(registry.openKey(kKey, true));
    EXPECT_FALSE(registry.keyExists(kKey));
    EXPECT_FALSE(registry.deleteKey(kKey));
    EXPECT_TRUE(registry.closeKey());

    // The hive itself is a directory.
    QFile::remove(home.hiveDirectory());
    QDir().mkpath(home.hivePath());
    EXPECT_FALSE(registry.openKey(kKey, true));
    EXPECT_TRUE(QFileInfo(home.hivePath()).isDir());
}

TEST_F(HiveRegistryTest, UnwritableDirectoryLeavesTheOldFileWhole) {
    home.writeHive(kStored);
    ASSERT_EQ(::chmod(QFile::encodeName(home.hiveDirectory()).constData(), 0555), 0);
    {
        WithoutPermissionOverride restricted;
        if (canCreateFileIn(home.hiveDirectory())) {
            ::chmod(QFile::encodeName(home.hiveDirectory()).constData(), 0755);
            GTEST_SKIP() << "this process writes into read-only directories; the failed write "
                            "is covered by FailedWriteLeavesTheOldFileWhole";
        }
        ASSERT_TRUE(registry.openKey(kKey, false));
        EXPECT_TRUE(registry.writeDword("Number", 1));
        EXPECT_FALSE(registry.closeKey());
        EXPECT_FALSE(registry.deleteKey(kKey));
    }
    ::chmod(QFile::encodeName(home.hiveDirectory()).constData(), 0755);
    EXPECT_EQ(home.readHive(), kStored);
    EXPECT_TRUE(home.otherFiles().isEmpty());
}

TEST_F(HiveRegistryTest, FailedWriteLeavesTheOldFileWhole) {
    home.writeHive(kStored);
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeString("Big", QString(4096, u'x')));

    // A file size limit makes the write itself fail, for root as well.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool closed = registry.closeKey();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(closed);
    EXPECT_EQ(home.readHive(), kStored);
    EXPECT_TRUE(home.otherFiles().isEmpty());
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_EQ(registry.readString("Big"), QString());
    EXPECT_TRUE(registry.closeKey());
}
