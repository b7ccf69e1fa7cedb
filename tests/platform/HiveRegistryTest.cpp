#include "platform/HiveRegistry.h"
#include "support/fixtures/TempConfigHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <functional>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
                           "\"Cut\"=hex(1):61,00,62,00,00\n"
                           "\n";

QStringList warnings;

void keepWarning(QtMsgType, const QMessageLogContext&, const QString& text) {
    warnings << text;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs the work with writes beyond `bytes` failing, for root as well.
template <typename Work> auto underFileSizeLimit(rlim_t bytes, Work work) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const auto result = work();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

// The work's answer, from a child process that an alarm ends when it takes over a second.
std::optional<bool> answerInASecond(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(1);
        ::_exit(work() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? std::optional(WEXITSTATUS(status) == 1) : std::nullopt;
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
    // Without HOME the password entry tells, never the root.
    const QString home = QFile::decodeName(::getpwuid(::getuid())->pw_dir);
    for (const char* value : {"", "relative", "unset"}) {
        value == QLatin1String("unset") ? qunsetenv("HOME") : qputenv("HOME", value);
        EXPECT_EQ(HiveRegistry::defaultPath(),
                  home == "/" ? QString() : home + "/.config/hourling/user.reg");
    }
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
    // Strings of other forms keep their bytes when given the text they read as.
    EXPECT_TRUE(registry.writeString("Expand", "%HOME%"));
    EXPECT_TRUE(registry.writeString("Cut", "a"));
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

TEST_F(HiveRegistryTest, DamagedFileIsReadAsFarAsItCanAndKeptAsideBeforeItIsReplaced) {
    const QByteArray damaged = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
                               "\"v\"=dword:3g\n\"w\"=dword:1\n\"x\"=dwo";
    home.writeHive(damaged);
    qInstallMessageHandler(keepWarning);
    EXPECT_TRUE(registry.keyExists("K"));
    ASSERT_TRUE(registry.openKey("K", false));
    EXPECT_EQ(registry.readDword("w"), 1u);
    EXPECT_TRUE(registry.writeDword("Fresh", 1));
    EXPECT_EQ(home.readHive(), damaged);
    EXPECT_TRUE(registry.closeKey());
    qInstallMessageHandler(nullptr);

    const QStringList aside = home.otherFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QRegularExpression("^user\\.reg\\.bad-\\d{8}T\\d{6}Z$").match(aside[0]).hasMatch())
        << aside[0].toStdString();
    // Each skipped line once, though the file was read twice.
    const QString prefix = "hourling: " + home.hivePath();
    EXPECT_EQ(warnings.join('\n').toStdString(),
              (prefix + " line 3 skipped: a dword takes one to eight hex digits\n" + prefix +
               " line 5 skipped: it is cut short at the end of the file\n" +
               "hourling: the settings file as it was is kept in " + home.hiveDirectory() + '/' +
               aside[0])
                  .toStdString());
    QFile kept(home.hiveDirectory() + "/" + aside[0]);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    EXPECT_TRUE(home.readHive().endsWith("\"w\"=dword:00000001\n\"Fresh\"=dword:00000001\n\n"));

    // A second damaged file moments later does not take the first one's place.
    home.writeHive("garbage");
    ASSERT_TRUE(registry.openKey(kKey, true));
    EXPECT_TRUE(registry.closeKey());
    EXPECT_EQ(home.otherFiles().size(), 2);

    // One too large to read is moved aside, and said so as well.
    ASSERT_TRUE(QFile::resize(home.hivePath(), 64 * 1024 * 1024 + 1));
    qInstallMessageHandler(keepWarning);
    EXPECT_TRUE(registry.openKey(kKey, true) && registry.closeKey());
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(warnings.last(), "hourling: the settings file as it was is kept in " +
                                   home.hiveDirectory() + '/' + home.otherFiles().last());
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
    EXPECT_TRUE(contents(nested).contains("\"v\"=dword:00000005"));

    // A link to a file that is not there yet gets it written.
    QFile::remove(home.hivePath());
    ASSERT_EQ(::symlink("../kept/user.reg", QFile::encodeName(home.hivePath()).constData()), 0);
    ASSERT_TRUE(registry.openKey("K", true));
    EXPECT_TRUE(registry.closeKey());
    EXPECT_TRUE(QFileInfo(home.hivePath()).isSymLink());
    EXPECT_EQ(contents(home.path() + "/kept/user.reg"),
              "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\n");
}

TEST_F(HiveRegistryTest, ASaveKeepsTheFilesModeAndOwner) {
    home.writeHive(kStored);
    const QByteArray path = QFile::encodeName(home.hivePath());
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && nobody) {
        ASSERT_EQ(::chown(path.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    struct stat before {};
    struct stat after {};
    ::stat(path.constData(), &before);
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeDword("Number", 1));
    EXPECT_TRUE(registry.closeKey());
    ::stat(path.constData(), &after);
    EXPECT_NE(after.st_ino, before.st_ino) << "the file was not replaced";
    EXPECT_EQ(std::tie(after.st_mode, after.st_uid, after.st_gid),
              std::tie(before.st_mode, before.st_uid, before.st_gid));
}

TEST_F(HiveRegistryTest, TemporaryFilesOfAKilledSaveGoAtTheNextStart) {
    home.writeHive(kStored);
    for (const char* name : {"user.reg.tmp-a1B2c3", "user.reg.bad-20260101T000000Z.tmp-x9Y8z7",
                             "user.reg.tmp-Live00", "notes.tmp-abcdef"})
        QFile(home.hiveDirectory() + '/' + name).open(QIODevice::WriteOnly);
    // A save running elsewhere holds its file locked.
    const int live = ::open(QFile::encodeName(home.hiveDirectory() + "/user.reg.tmp-Live00"),
                            O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    EXPECT_TRUE(registry.keyExists(kKey));
    ::close(live);
    EXPECT_EQ(home.otherFiles().join(' '), "notes.tmp-abcdef user.reg.tmp-Live00");
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

    // The hive itself is a directory, a FIFO or a device: none is read or waited on.
    QFile::remove(home.hiveDirectory());
    QDir().mkpath(home.hiveDirectory());
    const QByteArray path = QFile::encodeName(home.hivePath());
    for (const int kind : {0, 1, 2}) {
        ASSERT_EQ(kind == 0   ? ::mkdir(path.constData(), 0700)
                  : kind == 1 ? ::mkfifo(path.constData(), 0600)
                              : ::symlink("/dev/zero", path.constData()),
                  0);
        EXPECT_EQ(answerInASecond([&] {
                      return registry.openKey(kKey, true) || !registry.keepCopy().isEmpty() ||
                             registry.deleteKey(kKey);
                  }),
                  std::optional(false));
        EXPECT_TRUE(home.otherFiles().isEmpty());
        if (::rmdir(path.constData()) != 0)
            ::unlink(path.constData());
    }
}

TEST_F(HiveRegistryTest, UnwritableDirectoryLeavesTheOldFileWhole) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the pass as nobody runs this";
    home.writeHive(kStored);
    ASSERT_EQ(::chmod(QFile::encodeName(home.hiveDirectory()).constData(), 0555), 0);
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeDword("Number", 1));
    EXPECT_FALSE(registry.closeKey());
    EXPECT_FALSE(registry.deleteKey(kKey));
    ::chmod(QFile::encodeName(home.hiveDirectory()).constData(), 0755);
    EXPECT_EQ(home.readHive(), kStored);
    EXPECT_TRUE(home.otherFiles().isEmpty());
}

TEST_F(HiveRegistryTest, FailedWriteLeavesTheOldFileWhole) {
    home.writeHive(kStored);
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeString("Big", QString(4096, u'x')));

    const bool closed = underFileSizeLimit(64, [&] { return registry.closeKey(); });
    EXPECT_FALSE(closed);
    EXPECT_EQ(home.readHive(), kStored);
    EXPECT_TRUE(home.otherFiles().isEmpty());
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_EQ(registry.readString("Big"), QString());
    EXPECT_TRUE(registry.closeKey());
}

TEST_F(HiveRegistryTest, ACopyThatCannotBeMadeIsOwedAndNothingIsWrittenOverMeanwhile) {
    // A long value that the close replaces by a short one: only the copy needs much room.
    const QByteArray stored = kStored + "\"Big\"=\"" + QByteArray(48 * 1024, 'x') + "\"\n";
    home.writeHive(stored);
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeString("Big", "short"));
    EXPECT_FALSE(underFileSizeLimit(
        16 * 1024, [&] { return !registry.keepCopy().isEmpty() || registry.closeKey(); }));
    EXPECT_EQ(home.readHive(), stored);
    EXPECT_TRUE(home.otherFiles().isEmpty());

    // With room again, the next write makes the copy first.
    ASSERT_TRUE(registry.openKey(kKey, false));
    EXPECT_TRUE(registry.writeString("Big", "short"));
    EXPECT_TRUE(registry.closeKey());
    ASSERT_EQ(home.otherFiles().size(), 1);
    EXPECT_EQ(contents(home.hiveDirectory() + '/' + home.otherFiles()[0]), stored);
}

// Another program changes the file between her read and her save (none: deletes it): she
// writes back what she changed herself (M 1 -> 2), of the rest what the file holds now.
TEST_F(HiveRegistryTest, AnotherProgramsEditSurvivesHerSaves) {
    const auto file = [](const char* values) {
        return "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" + kKey.toUtf8() +
               "]\n" + values + "\n";
    };
    const char* const cases[][2] = {
        {"\"M\"=dword:00000001\n\"T\"=\"a\"\n", "\"M\"=dword:00000002\n\"T\"=\"a\"\n"},
        {"\"M\"=dword:00000001\n\"T\"=\"b\"\n", "\"M\"=dword:00000002\n\"T\"=\"b\"\n"},
        {"\"T\"=\"b\"\n\"M\"=dword:00000009\n", "\"T\"=\"b\"\n\"M\"=dword:00000002\n"},
        {"\"M\"=dword:00000001\n", "\"M\"=dword:00000002\n\"T\"=\"a\"\n"},
        {nullptr, "\"M\"=dword:00000002\n\"T\"=\"a\"\n"},
    };
    for (const auto& [edited, expected] : cases) {
        home.writeHive(file("\"M\"=dword:00000001\n\"T\"=\"a\"\n"));
        HiveRegistry her(home.hivePath());
        ASSERT_TRUE(her.openKey(kKey, false) && her.closeKey());
        edited ? home.writeHive(file(edited)) : void(QFile::remove(home.hivePath()));
        for (int save = 0; save < 2; ++save) {
            ASSERT_TRUE(her.openKey(kKey, true));
            EXPECT_TRUE(her.writeDword("M", 2) && her.writeString("T", "a") && her.closeKey());
            EXPECT_EQ(home.readHive(), file(expected)) << (edited ? edited : "deleted");
        }
    }
}

// CI runs as root, whom modes and read-only folders do not stop: these tests run once more in
// a copy of this program as nobody, without a single capability.
TEST(HiveRegistryAsNobody, TheTestsPassAsNobody) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody || QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "needs root, setpriv and the user nobody";
    QTemporaryDir place;
    const QString program = place.filePath("test_platform");
    ASSERT_TRUE(QFile::copy("/proc/self/exe", program));
    ::chmod(QFile::encodeName(place.path()).constData(), 0755);
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedChannels);
    run.start("env", {"TMPDIR=/tmp", "setpriv", "--reuid=nobody", "--regid=nogroup",
                      "--clear-groups", "--inh-caps=-all", "--bounding-set=-all", program,
                      "--gtest_filter=HiveRegistry*:-HiveRegistryAsNobody.*"});
    EXPECT_TRUE(run.waitForFinished(120000) && run.exitStatus() == QProcess::NormalExit &&
                run.exitCode() == 0);
}
