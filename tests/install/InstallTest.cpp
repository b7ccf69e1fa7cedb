// What `cmake --install` puts in place and what the Debian package declares, from the build.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Ran {
    int exitCode = -1;
    QString output; // standard output and error together
};

Ran run(const QString& program, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    Ran ran;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        ran.output = QStringLiteral("timed out");
        return ran;
    }
    ran.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    ran.output = QString::fromUtf8(process.readAll());
    return ran;
}

const QList<int> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

// One install and one package for the whole suite: each takes seconds.
class Install : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix_ = std::make_unique<QTemporaryDir>();
        installed_ =
            run(HOURLING_CMAKE, {"--install", HOURLING_BUILD_DIR, "--prefix", prefix_->path()});
        packages_ = std::make_unique<QTemporaryDir>();
        packed_ =
            run(HOURLING_CPACK, {"-G", "DEB", "--config", HOURLING_BUILD_DIR "/CPackConfig.cmake",
                                 "-B", packages_->path()});
    }
    static void TearDownTestSuite() {
        prefix_.reset();
        packages_.reset();
    }

    // The package's path; empty when there is not exactly one.
    static QString deb() {
        EXPECT_EQ(packed_.exitCode, 0) << packed_.output.toStdString();
        const QStringList debs = QDir(packages_->path()).entryList({"hourling_*.deb"});
        EXPECT_EQ(debs.size(), 1);
        return debs.size() == 1 ? packages_->filePath(debs[0]) : QString();
    }

    void SetUp() override { ASSERT_EQ(installed_.exitCode, 0) << installed_.output.toStdString(); }

    static QString installed(const QString& relative) { return prefix_->filePath(relative); }

    // Key=value lines of the [Desktop Entry] group.
    static QMap<QString, QString> desktopEntry() {
        QFile file(installed("share/applications/hourling.desktop"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QMap<QString, QString> entry;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals > 0)
                entry.insert(line.left(equals), line.mid(equals + 1));
        }
        return entry;
    }

    static inline std::unique_ptr<QTemporaryDir> prefix_;
    static inline Ran installed_;
    static inline std::unique_ptr<QTemporaryDir> packages_;
    static inline Ran packed_;
};

TEST_F(Install, PutsTheProgramAndHerIconInEverySize) {
    const QFileInfo program(installed("bin/hourling"));
    EXPECT_TRUE(program.isFile() && program.isExecutable());
    for (int size : kIconSizes) {
        const QString folder = QStringLiteral("%1x%1").arg(size);
        QImageReader icon(installed("share/icons/hicolor/" + folder + "/apps/hourling.png"));
        EXPECT_EQ(icon.size(), QSize(size, size)) << folder.toStdString();
    }
    EXPECT_TRUE(QFile::exists(installed("share/icons/hicolor/scalable/apps/hourling.svg")));
}

TEST_F(Install, DesktopEntryValidatesAndNamesWhatWasInstalled) {
    const QString path = installed("share/applications/hourling.desktop");
    const Ran validated = run("desktop-file-validate", {path});
    EXPECT_EQ(validated.exitCode, 0);
    EXPECT_EQ(validated.output, "");

    const QMap<QString, QString> entry = desktopEntry();
    EXPECT_EQ(entry.value("Type"), "Application");
    EXPECT_EQ(entry.value("Name[ja]"), QString::fromUtf8("ミオラちゃん時計"));
    EXPECT_FALSE(entry.value("Name").isEmpty());
    EXPECT_FALSE(entry.value("Comment").isEmpty());
    EXPECT_FALSE(entry.value("Comment[ja]").isEmpty());
    // The menu starts what bin/ holds, shows the installed icon, and finds her window by class.
    EXPECT_EQ(entry.value("Exec"), "hourling");
    EXPECT_EQ(entry.value("TryExec"), "hourling");
    EXPECT_EQ(entry.value("Icon"), "hourling");
    EXPECT_EQ(entry.value("StartupWMClass"), "hourling");
}

TEST_F(Install, PackageDeclaresTheQtLibrariesItLinks) {
    const QString deb = Install::deb();
    ASSERT_FALSE(deb.isEmpty());

    const Ran depends = run("dpkg-deb", {"--field", deb, "Depends"});
    ASSERT_EQ(depends.exitCode, 0) << depends.output.toStdString();
    // From dpkg-shlibdeps: each with the version its symbols need.
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libc6"})
        EXPECT_TRUE(depends.output.contains(
            QRegularExpression(QStringLiteral(R"(\b%1 \(>= )").arg(library))))
            << library << " in " << depends.output.toStdString();
    // What Qt and she load at run time rather than link.
    for (const char* package : {"qt6-qpa-plugins", "libpulse0"})
        EXPECT_TRUE(depends.output.contains(package)) << package;

    const Ran contents = run("dpkg-deb", {"--contents", deb});
    for (const char* file : {"./usr/bin/hourling", "./usr/share/applications/hourling.desktop",
                             "./usr/share/icons/hicolor/48x48/apps/hourling.png"})
        EXPECT_TRUE(contents.output.contains(file)) << file;
}

// Debian's own checks of a package: policy, the copyright and changelog in their places and
// forms, the man page, the hardening of the program.
TEST_F(Install, LintianFindsNoErrorAndNoWarningInThePackage) {
    const QString deb = Install::deb();
    ASSERT_FALSE(deb.isEmpty());
    const Ran lintian = run("lintian", {"--fail-on", "error,warning", deb});
    EXPECT_EQ(lintian.exitCode, 0) << lintian.output.toStdString();
}

TEST_F(Install, MetainfoValidatesAndLaunchesTheInstalledDesktopEntry) {
    const QStringList found = QDir(installed("share/metainfo")).entryList({"*.metainfo.xml"});
    ASSERT_EQ(found.size(), 1);
    const QString path = installed("share/metainfo/" + found[0]);
    const Ran validated = run("appstreamcli", {"validate", "--no-net", path});
    EXPECT_EQ(validated.exitCode, 0) << validated.output.toStdString();

    QFile metainfo(path);
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const QRegularExpression launchable(R"(<launchable type="desktop-id">([^<]+)</launchable>)");
    const QString entry = launchable.match(QString::fromUtf8(metainfo.readAll())).captured(1);
    EXPECT_TRUE(QFile::exists(installed("share/applications/" + entry))) << entry.toStdString();
}

} // namespace
