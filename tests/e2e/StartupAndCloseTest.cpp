// The program as a user meets it: started on a private X server with an empty settings
// folder, closed the ways a desktop closes it, its settings file read back afterwards.
#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"
#include "support/fixtures/SettingsFile.h"
#include "support/fixtures/StageSettingsText.h"
#include "support/harness/ProgramFixture.h"
#include "support/harness/XSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {
const QString kTitle = QStringLiteral("ミオラちゃん時計");

class StartupAndClose : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        ASSERT_TRUE(config.isValid());
    }
    QString hivePath() const { return config.path() + QStringLiteral("/hourling/user.reg"); }
    std::optional<quint32> stored(const QString& name) { return storedDword(hivePath(), name); }
    std::unique_ptr<ProgramRun> launch() {
        // At second 2 the title stays the start-up one for several seconds.
        auto program = std::make_unique<ProgramRun>(
            session, config.path(), fixedClockEnvironment(QStringLiteral("2026-03-15 08:29:02")));
        EXPECT_TRUE(program->start());
        return program;
    }
    void clickButtonOf(qulonglong dialog, QPoint centreInDialog) {
        const QRect where = session.windowGeometry(dialog);
        const QPoint at = where.topLeft() + centreInDialog;
        session.xdotool(
            {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
        session.xdotool({QStringLiteral("click"), QStringLiteral("1")});
    }

    XSession session;
    QTemporaryDir config;
};

TEST_F(StartupAndClose, FirstStartShowsTheTitledWindowAtTheDefaultPlaceAndSavesEveryDefault) {
    auto program = launch();
    const auto stage = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(stage.has_value()) << program->report();
    EXPECT_EQ(session.windowName(*stage), kTitle);
    ASSERT_TRUE(eventually([&] {
        return session.windowGeometry(*stage).topLeft() == QPoint(40, 64);
    })) << "window at "
        << session.windowGeometry(*stage).x() << "," << session.windowGeometry(*stage).y();
    session.screenshot().save(artifactPath(QStringLiteral("first-start.png")));

    program->sendSignal(SIGTERM);
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 0);

    HiveRegistry registry(hivePath());
    ASSERT_TRUE(registry.openKey(kProgramKey, false));
    for (const QString& name : storedValueNames())
        EXPECT_TRUE(registry.readDword(name) || registry.readString(name)) << name.toStdString();
    registry.closeKey();
    StageSettings stored;
    ASSERT_TRUE(loadSettings(registry, stored));
    EXPECT_EQ(stored, StageSettings());
}

// The session's language as a desktop sets it, and the title she shows in it: at start, then
// the date at second 11 and the time at second 21.
struct SessionLanguage {
    const char* name;
    QStringList environment;
    QStringList titles;
};

void PrintTo(const SessionLanguage& language, std::ostream* out) {
    *out << language.name;
}

class InSessionLanguage : public StartupAndClose,
                          public ::testing::WithParamInterface<SessionLanguage> {};

TEST_P(InSessionLanguage, TheTitleSpeaksIt) {
    auto program = std::make_unique<ProgramRun>(
        session, config.path(),
        fixedClockEnvironment(QStringLiteral("2026-03-15 08:29:02")) + GetParam().environment);
    ASSERT_TRUE(program->start());
    const auto stage = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(stage.has_value()) << program->report();
    for (const QString& title : GetParam().titles)
        EXPECT_TRUE(eventually([&] { return session.windowName(*stage) == title; }, 30000))
            << "never \"" << title.toStdString() << "\"; last \""
            << session.windowName(*stage).toStdString() << '"';
    program->sendSignal(SIGTERM);
    EXPECT_TRUE(program->waitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, InSessionLanguage,
    ::testing::Values(
        SessionLanguage{"English",
                        {"LANG=en_US.UTF-8", "LANGUAGE=en_US:en", "LC_ALL=en_US.UTF-8"},
                        {"Hourling", "Miora: “It's March 15”", "Miora: “It's 8:29 AM”"}},
        SessionLanguage{
            "Japanese",
            {"LANG=ja_JP.UTF-8", "LANGUAGE=ja_JP:ja", "LC_ALL=ja_JP.UTF-8"},
            {"ミオラちゃん時計", "ミオラ 「3月15日です」", "ミオラ 「午前8時29分です」"}}),
    [](const ::testing::TestParamInfo<SessionLanguage>& info) { return info.param.name; });

class ClosedBySignal : public StartupAndClose, public ::testing::WithParamInterface<int> {};

TEST_P(ClosedBySignal, SavesWhereTheWindowWasMovedTo) {
    auto program = launch();
    const auto stage = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(stage.has_value()) << program->report();
    ASSERT_TRUE(
        eventually([&] { return session.windowGeometry(*stage).topLeft() == QPoint(40, 64); }));
    dragHer(session, *stage, {-30, 200});

    // A second signal while closing must not lose the save.
    program->sendSignal(GetParam());
    program->sendSignal(GetParam());
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(stored(QStringLiteral("FormLeft")), std::optional<quint32>(quint32(-30)));
    EXPECT_EQ(stored(QStringLiteral("FormTop")), std::optional<quint32>(200));

    // The next start places her where she was left, brought wholly onto the screen; the
    // stored place changes only when she is moved.
    auto again = launch();
    const auto second = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(second.has_value()) << again->report();
    EXPECT_TRUE(eventually([&] {
        return session.windowGeometry(*second).topLeft() == QPoint(0, 200);
    })) << "at "
        << session.windowGeometry(*second).x() << "," << session.windowGeometry(*second).y();
    again->sendSignal(SIGTERM);
    EXPECT_TRUE(again->waitForExit());
    EXPECT_EQ(stored(QStringLiteral("FormLeft")), std::optional<quint32>(quint32(-30)));
    EXPECT_EQ(stored(QStringLiteral("FormTop")), std::optional<quint32>(200));
}

INSTANTIATE_TEST_SUITE_P(TermIntHup, ClosedBySignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP));
// Whose default would end her without a save.
INSTANTIATE_TEST_SUITE_P(QuitUsrAlrm, ClosedBySignal,
                         ::testing::Values(SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM));

class ResetAtStart : public StartupAndClose {
protected:
    // Holds Shift and Ctrl while the program starts and waits for the question.
    qulonglong startHoldingShiftCtrl(std::unique_ptr<ProgramRun>& program) {
        session.xdotool(
            {QStringLiteral("keydown"), QStringLiteral("Shift_L"), QStringLiteral("Control_L")});
        program = launch();
        const auto dialog = session.waitForWindowByName(QStringLiteral("?"));
        session.xdotool(
            {QStringLiteral("keyup"), QStringLiteral("Shift_L"), QStringLiteral("Control_L")});
        EXPECT_TRUE(dialog.has_value());
        return dialog.value_or(0);
    }
    void storeSomething() {
        auto program = launch();
        ASSERT_TRUE(session.waitForWindowByClass(QStringLiteral("hourling")).has_value());
        program->sendSignal(SIGTERM);
        ASSERT_TRUE(program->waitForExit());
        ASSERT_TRUE(QFile::exists(hivePath()));
    }
    // Her window by its start title: the reset dialog is a window of the program's class
    // too, and stays mapped for a moment after its button is clicked, before the program
    // answers signals.
    bool waitForHerWindow() { return session.waitForWindowByName(kTitle).has_value(); }
    // Resets her at start with OK and waits for her window.
    void resetAtStart(std::unique_ptr<ProgramRun>& program) {
        const qulonglong dialog = startHoldingShiftCtrl(program);
        ASSERT_NE(dialog, 0u);
        clickButtonOf(dialog, kOk);
        ASSERT_TRUE(eventually([&] { return !QFile::exists(hivePath()); }))
            << "the key was not deleted";
        ASSERT_TRUE(waitForHerWindow());
    }
    // Her exit item: the secondary button on her dial opens her menu, X picks it.
    void pickExit() {
        const auto her = session.waitForWindowByName(kTitle);
        ASSERT_TRUE(her.has_value());
        const QPoint dial = session.windowGeometry(*her).topLeft() + QPoint(80 + 64, 256 + 64);
        session.xdotool(
            {QStringLiteral("mousemove"), QString::number(dial.x()), QString::number(dial.y())});
        session.xdotool({QStringLiteral("click"), QStringLiteral("3")});
        ASSERT_TRUE(eventually([&] { return menuOpen(); })) << "no menu opened";
        session.xdotool({QStringLiteral("key"), QStringLiteral("x")});
    }
    bool menuOpen() const {
        for (const QString& id :
             session
                 .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--class"), QStringLiteral("^hourling$")})
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (session.run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id})
                    .out.contains("Override Redirect State: yes"))
                return true;
        }
        return false;
    }
    // Ends by itself, well within what a desktop waits for at logout.
    void endsCleanly(ProgramRun& program, int signal) {
        program.sendSignal(signal);
        ASSERT_TRUE(program.waitForExit(20000)) << "she did not end: " << program.report();
        EXPECT_FALSE(program.crashed()) << "ended by the signal itself: " << program.report();
        EXPECT_EQ(program.exitCode(), 0) << program.report();
    }
    static constexpr QPoint kOk{145 + 44, 52 + 10};
    static constexpr QPoint kCancel{238 + 44, 52 + 10};
};

TEST_F(ResetAtStart, OkDeletesTheKeyAndTheEmptiedFileAndTheCloseAsksFirst) {
    storeSomething();
    std::unique_ptr<ProgramRun> program;
    const qulonglong dialog = startHoldingShiftCtrl(program);
    ASSERT_NE(dialog, 0u);
    EXPECT_EQ(session.windowGeometry(dialog).size(), QSize(464, 83));
    session.screenshot().save(artifactPath(QStringLiteral("reset-dialog.png")));
    clickButtonOf(dialog, kOk);
    ASSERT_TRUE(eventually([&] { return !QFile::exists(hivePath()); }))
        << "the key was not deleted";
    ASSERT_TRUE(waitForHerWindow());

    // Closing her window after a reset asks before saving; Cancel leaves the key deleted.
    const auto her = session.waitForWindowByName(kTitle);
    ASSERT_TRUE(her.has_value());
    ASSERT_TRUE(session.closeWindow(*her));
    const auto question = session.waitForWindowByName(QStringLiteral("?"));
    ASSERT_TRUE(question.has_value());
    session.screenshot().save(artifactPath(QStringLiteral("save-question.png")));
    session.xdotool({QStringLiteral("key"), QStringLiteral("--window"), QString::number(*question),
                     QStringLiteral("Escape")});
    ASSERT_TRUE(program->waitForExit());
    EXPECT_FALSE(QFile::exists(hivePath()));
}

TEST_F(ResetAtStart, OkThenSavingAtCloseWritesEveryValueAgain) {
    storeSomething();
    std::unique_ptr<ProgramRun> program;
    const qulonglong dialog = startHoldingShiftCtrl(program);
    ASSERT_NE(dialog, 0u);
    clickButtonOf(dialog, kOk);
    ASSERT_TRUE(waitForHerWindow());
    pickExit();
    const auto question = session.waitForWindowByName(QStringLiteral("?"));
    ASSERT_TRUE(question.has_value());
    session.xdotool({QStringLiteral("key"), QStringLiteral("--window"), QString::number(*question),
                     QStringLiteral("Return")});
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(stored(QStringLiteral("samiLim")), std::optional<quint32>(3600));
    EXPECT_EQ(stored(QStringLiteral("DigiAMPM")), std::optional<quint32>(0));
}

TEST_F(ResetAtStart, CancelIsAnOrdinaryStart) {
    storeSomething();
    std::unique_ptr<ProgramRun> program;
    const qulonglong dialog = startHoldingShiftCtrl(program);
    ASSERT_NE(dialog, 0u);
    clickButtonOf(dialog, kCancel);
    ASSERT_TRUE(waitForHerWindow());
    EXPECT_TRUE(QFile::exists(hivePath()));
    program->sendSignal(SIGTERM);
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(stored(QStringLiteral("FormLeft")), std::optional<quint32>(40));
}

// Signals at logout never wait for a person: the question after a reset belongs to the exit
// item and the window's close. A signal ends her without saving after a reset, as Cancel
// does, and leaves the file as it was while the reset question is still open.
enum class Open { Nothing, SaveQuestion, ResetQuestion };
struct SignalCase {
    const char* name;
    int signal;
    Open open;
};

class SignalAtAReset : public ResetAtStart, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(SignalAtAReset, EndsHerWithoutAQuestionAndWithoutSaving) {
    storeSomething();
    QFile file(hivePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    std::unique_ptr<ProgramRun> program;
    if (GetParam().open == Open::ResetQuestion) {
        ASSERT_NE(startHoldingShiftCtrl(program), 0u);
    } else {
        resetAtStart(program);
        if (GetParam().open == Open::SaveQuestion) {
            pickExit();
            ASSERT_TRUE(session.waitForWindowByName(QStringLiteral("?")).has_value());
        }
    }
    endsCleanly(*program, GetParam().signal);
    if (GetParam().open == Open::ResetQuestion) {
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
    } else {
        EXPECT_FALSE(QFile::exists(hivePath())) << "saved after a reset";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, SignalAtAReset,
    ::testing::Values(SignalCase{"TermAfterIt", SIGTERM, Open::Nothing},
                      SignalCase{"IntAfterIt", SIGINT, Open::Nothing},
                      SignalCase{"HupAfterIt", SIGHUP, Open::Nothing},
                      SignalCase{"TermAtTheSaveQuestion", SIGTERM, Open::SaveQuestion},
                      SignalCase{"TermAtTheResetQuestion", SIGTERM, Open::ResetQuestion}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoDisplay, ExitsWithOneClearLine) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(HOURLING_BINARY), {});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_NE(process.exitCode(), 0);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    EXPECT_TRUE(err.startsWith(QStringLiteral("hourling: no display"))) << err.toStdString();
    EXPECT_EQ(err.count(QLatin1Char('\n')), 0) << err.toStdString();
}
} // namespace
