// One of her at a time: a second start over the same settings file finds the running one,
// asks it to come forward, says so in one line and ends; a lock left by a killed one never
// stops the next start. The real program on a private X server, with a window manager so
// that she can be minimised and covered.
#include "support/harness/Polling.h"
#include "support/harness/ProgramFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QPoint kHerPlace(100, 60);

class OneAtATime : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        ASSERT_TRUE(runtime.isValid());
        StageSettings settings;
        settings.FormLeft = kHerPlace.x();
        settings.FormTop = kHerPlace.y();
        store(settings);
    }
    // Her runtime folder, private to the test, as a desktop session gives one.
    QStringList environment() const {
        return {QStringLiteral("XDG_RUNTIME_DIR=") + runtime.path()};
    }
    // A later start that must end by itself, at once, saying so in one line.
    void startsAndEndsAskingHerForward() {
        auto later = launch(environment());
        ASSERT_TRUE(later->waitForExit(20000)) << "the later start runs on: " << later->report();
        EXPECT_FALSE(later->crashed());
        EXPECT_EQ(later->exitCode(), 0) << later->report();
        const QString said = QString::fromLocal8Bit(later->standardError()).trimmed();
        EXPECT_TRUE(said.contains(QStringLiteral("already running"))) << said.toStdString();
        EXPECT_EQ(said.count(QLatin1Char('\n')), 0) << said.toStdString();
    }
    QStringList herWindows() const {
        return session
            .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--class"), QStringLiteral("^hourling$")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The managed windows from the bottom up, as the window manager stacks them.
    QList<qulonglong> stacking() const {
        const QString out = QString::fromUtf8(
            session
                .run(QStringLiteral("xprop"),
                     {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")})
                .out);
        QList<qulonglong> ids;
        static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
        for (const auto& match : hex.globalMatch(out))
            ids << match.captured().toULongLong(nullptr, 16);
        return ids;
    }
    bool isAbove(qulonglong upper, qulonglong lower) const {
        const QList<qulonglong> order = stacking();
        return order.contains(upper) && order.contains(lower) &&
               order.indexOf(upper) > order.indexOf(lower);
    }

    QTemporaryDir runtime;
};

TEST_F(OneAtATime, ALaterStartBringsHerForwardMinimisedOrCoveredAndEnds) {
    ASSERT_TRUE(session.startWindowManager());
    auto first = launch(environment());
    const auto her = waitForHer(*first, kHerPlace);
    ASSERT_TRUE(her);

    // Minimised: the later start shows her again.
    session.xdotool({QStringLiteral("windowminimize"), QString::number(*her)});
    ASSERT_TRUE(eventually([&] { return !session.viewable(*her); })) << "she was not minimised";
    startsAndEndsAskingHerForward();
    EXPECT_TRUE(eventually([&] { return session.viewable(*her); })) << "she stays minimised";
    EXPECT_EQ(herWindows().size(), 1) << "a second one of her";

    // Covered by another window: the later start raises her above it.
    QProcess cover;
    cover.setProcessEnvironment(session.environment());
    cover.start(QStringLiteral("xlogo"),
                {QStringLiteral("-geometry"), QStringLiteral("500x700+0+0")});
    const auto logo = session.waitForWindowByClass(QStringLiteral("XLogo"));
    ASSERT_TRUE(logo.has_value());
    ASSERT_TRUE(eventually([&] { return isAbove(*logo, *her); })) << "she was not covered";
    startsAndEndsAskingHerForward();
    EXPECT_TRUE(eventually([&] { return isAbove(*her, *logo); })) << "she stays covered";
    EXPECT_EQ(herWindows().size(), 1) << "a second one of her";
    session.screenshot().save(artifactPath(QStringLiteral("brought-forward.png")));

    cover.kill();
    cover.waitForFinished(5000);
    closeBySignal(*first);
    ASSERT_TRUE(stored());
    EXPECT_EQ(QPoint(stored()->FormLeft, stored()->FormTop), kHerPlace);
}

TEST_F(OneAtATime, ALockLeftByAKilledOneNeverStopsTheNextStart) {
    auto killed = launch(environment());
    ASSERT_TRUE(waitForHer(*killed, kHerPlace));
    killed->sendSignal(SIGKILL);
    ASSERT_TRUE(killed->waitForExit());
    // The lock beside her settings and the socket stay behind.
    ASSERT_TRUE(QFileInfo::exists(hivePath() + QStringLiteral(".lock")));
    ASSERT_EQ(QDir(runtime.path() + QStringLiteral("/hourling"))
                  .entryList(QDir::Files | QDir::System)
                  .size(),
              1);

    auto next = launch(environment());
    ASSERT_TRUE(waitForHer(*next, kHerPlace)) << next->report();
    EXPECT_FALSE(next->waitForExit(1000)) << next->report();
    // The next one answers as the first one did.
    startsAndEndsAskingHerForward();
    closeBySignal(*next);
}

// Whatever runtime folder a start is given (cron, ssh, su and env -i give another one or
// none, or one whose name is too long for a socket), a later start finds her.
TEST_F(OneAtATime, ALaterStartWithAnotherRuntimeFolderOrNoneFindsHer) {
    QTemporaryDir other;
    const QString longName = runtime.path() + QLatin1Char('/') + QString(102, QLatin1Char('r'));
    ASSERT_EQ(::mkdir(QFile::encodeName(longName).constData(), 0700), 0);
    const QString cases[][2] = {{runtime.path(), other.path()},
                                {runtime.path(), QString()},
                                {QString(), runtime.path()},
                                {longName, longName}};
    for (const auto& [first, later] : cases) {
        SCOPED_TRACE(later.toStdString());
        auto running = launch({QStringLiteral("XDG_RUNTIME_DIR=") + first});
        ASSERT_TRUE(waitForHer(*running, kHerPlace)) << running->report();
        auto again = launch({QStringLiteral("XDG_RUNTIME_DIR=") + later});
        ASSERT_TRUE(again->waitForExit(20000)) << "a second one runs: " << again->report();
        EXPECT_EQ(again->exitCode(), 0) << again->report();
        EXPECT_EQ(herWindows().size(), 1) << "a second one of her";
        closeBySignal(*running);
    }
}

} // namespace
