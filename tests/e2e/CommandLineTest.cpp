// Her command line through the real program: what prints and ends, with or without a
// display; what is refused; the toolkit's own options; a Wayland platform left in the
// environment, where an X display can be reached.
#include "support/harness/ProgramFixture.h"
#include "support/harness/XShape.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

class CommandLineRun : public ProgramFixture {
protected:
    struct Ended {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Ended runToEnd(const QStringList& arguments, bool withDisplay) const {
        QProcessEnvironment env = session.environment();
        if (!withDisplay)
            env.remove(QStringLiteral("DISPLAY"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(HOURLING_BINARY), arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return {};
        }
        return {.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                .out = QString::fromLocal8Bit(process.readAllStandardOutput()),
                .err = QString::fromLocal8Bit(process.readAllStandardError())};
    }
    // Started with these arguments and environment, her shaped window on the session.
    void expectHerOnScreen(const QStringList& arguments, const QStringList& environment,
                           std::unique_ptr<ProgramRun>& program) {
        program = std::make_unique<ProgramRun>(session, configHome(), environment);
        program->setArguments(arguments);
        ASSERT_TRUE(program->start());
        const auto her = session.waitForWindowByClass(QStringLiteral("hourling"));
        ASSERT_TRUE(her.has_value()) << program->report();
        EXPECT_TRUE(eventually([&] { return !boundingShapeOf(session, *her).isEmpty(); }))
            << "her window has no outline";
    }
};

TEST_F(CommandLineRun, HelpAndVersionPrintAndEndWithOrWithoutADisplay) {
    for (bool withDisplay : {true, false}) {
        SCOPED_TRACE(withDisplay ? "with a display" : "without a display");
        const Ended version = runToEnd({"--version"}, withDisplay);
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, "hourling " HOURLING_VERSION "\n");
        EXPECT_EQ(version.err, "");
        const Ended help = runToEnd({"--help"}, withDisplay);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.startsWith("Usage: hourling")) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains("--version") && help.out.contains("-display"));
        EXPECT_EQ(help.err, "");
    }
}

TEST_F(CommandLineRun, AnUnknownOptionIsNamedWithAHintToHelpAndEndsWith2) {
    const Ended refused = runToEnd({"-reverse", "--frobnicate"}, true);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "hourling: unknown option '--frobnicate'; see 'hourling --help'\n");
}

TEST_F(CommandLineRun, TheToolkitsDisplayAndPlatformOptionsStillWork) {
    // Neither from the environment: the display and the platform come from the options.
    std::unique_ptr<ProgramRun> program;
    expectHerOnScreen({"-display", session.display(), "-platform", "xcb"},
                      {"DISPLAY=", "QT_QPA_PLATFORM=offscreen"}, program);
    closeBySignal(*program);
}

TEST_F(CommandLineRun, APlatformSheCannotRunOnGivesWayToTheXDisplayWithOneLine) {
    for (const QStringList& arguments : {QStringList{}, QStringList{"-platform", "wayland"},
                                         QStringList{"-platform", "nosuchplugin"}}) {
        const QString named =
            arguments.isEmpty() ? QStringLiteral("QT_QPA_PLATFORM=wayland") : arguments.join(u' ');
        SCOPED_TRACE(named.toStdString());
        std::unique_ptr<ProgramRun> program;
        expectHerOnScreen(arguments, {"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=wayland-none"},
                          program);
        closeBySignal(*program);
        const QStringList said =
            QString::fromLocal8Bit(program->standardError()).split(u'\n').filter("set aside");
        ASSERT_EQ(said.size(), 1) << said.join(u'\n').toStdString();
        EXPECT_TRUE(said[0].startsWith("hourling: " + named) && said[0].contains(session.display()))
            << said[0].toStdString();
    }
}

} // namespace
