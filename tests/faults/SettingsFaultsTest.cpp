// Her settings file under faults of the place it lives in, through the real program: a
// folder she may not write, a directory where the file belongs, a disk that fills during
// the save, and kills at any moment of the save. She keeps working, and whatever was stored
// before stays whole.
#include "app/SettingsStore.h"
#include "platform/HiveFile.h"
#include "support/harness/HerOnScreen.h"
#include "support/harness/Polling.h"
#include "support/harness/ProgramFixture.h"
#include "support/harness/SmallDisk.h"
#include "support/harness/UnprivilegedUser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString kSaveFailed = QStringLiteral("her settings could not be saved");

// Long messages: a save that writes more takes longer, and needs more room.
StageSettings lengthySettings(int repeats) {
    StageSettings settings = distinctSettings();
    for (EventSlot& slot : settings.schedules)
        slot.message = slot.message.repeated(repeats);
    for (EventSlot& slot : settings.anniversaries)
        slot.message = slot.message.repeated(repeats);
    return settings;
}

class SettingsFaults : public ProgramFixture {
protected:
    // The clock keeps her title moving: she runs and answers.
    void expectTitleSentence(qulonglong her) {
        EXPECT_TRUE(eventually(
            [&] { return session.windowName(her).startsWith(QStringLiteral("ミオラ 「")); }, 30000))
            << "title " << session.windowName(her).toStdString();
    }
};

class ReadOnlySettingsFolder : public SettingsFaults, public ::testing::WithParamInterface<bool> {};

// Root may write anywhere: she runs as nobody, as a user does.
TEST_P(ReadOnlySettingsFolder, SheRunsTellsThatSheCannotSaveAndTheFileStaysAsItWas) {
    UnprivilegedUser nobody(session);
    if (!nobody.unavailable().isEmpty())
        GTEST_SKIP() << nobody.unavailable().toStdString();
    const bool withFile = GetParam();
    if (withFile)
        store(distinctSettings());
    else
        ASSERT_TRUE(QDir().mkpath(hiveDirectory()));
    const QByteArray before = hiveBytes();
    ASSERT_TRUE(nobody.give(configHome()));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(hiveDirectory(), readOnly));
    ASSERT_TRUE(QFile::setPermissions(configHome(), readOnly));

    ProgramRun program(session, configHome());
    program.runAs(nobody);
    ASSERT_TRUE(program.start());
    const auto her = waitForHer(program, withFile ? QPoint(120, 90) : QPoint(40, 64));
    ASSERT_TRUE(her);
    expectTitleSentence(*her);
    dragHer(session, *her, {300, 200});
    closeBySignal(program);

    EXPECT_EQ(hiveBytes(), before);
    EXPECT_EQ(otherFiles(), QStringList());
    EXPECT_TRUE(QString::fromLocal8Bit(program.standardError()).contains(kSaveFailed));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutAFile, ReadOnlySettingsFolder, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "FileStored" : "NothingStored";
                         });

TEST_F(SettingsFaults, ADirectoryInTheFilesPlaceIsLeftAloneAndSheRunsOnHerDefaults) {
    ASSERT_TRUE(QDir().mkpath(hivePath()));
    QFile inside(hivePath() + QStringLiteral("/mine.txt"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write("kept");
    inside.close();

    auto program = launch();
    const auto her = waitForHer(*program, {40, 64});
    ASSERT_TRUE(her);
    expectTitleSentence(*her);
    dragHer(session, *her, {300, 200});
    closeBySignal(*program);

    EXPECT_TRUE(QFileInfo(hivePath()).isDir());
    ASSERT_TRUE(inside.open(QIODevice::ReadOnly));
    EXPECT_EQ(inside.readAll(), "kept");
    EXPECT_EQ(otherFiles(), QStringList());
    EXPECT_TRUE(QString::fromLocal8Bit(program->standardError()).contains(kSaveFailed));
}

TEST_F(SettingsFaults, ADiskThatFillsDuringTheSaveKeepsTheFileAsItWas) {
    SmallDisk disk(512 * 1024);
    if (!disk.unavailable().isEmpty())
        GTEST_SKIP() << disk.unavailable().toStdString();
    setConfigHome(disk.path());
    const StageSettings settings = lengthySettings(1000);
    store(settings);
    const QByteArray before = hiveBytes();
    ASSERT_GT(before.size(), 64 * 1024);
    // Room for part of a new file only: the save runs out of it on the way.
    ASSERT_TRUE(disk.fillLeaving(before.size() / 4));

    auto program = launch();
    const auto her = waitForHer(*program, {120, 90});
    ASSERT_TRUE(her);
    dragHer(session, *her, {300, 200});
    closeBySignal(*program);
    EXPECT_EQ(hiveBytes(), before);
    EXPECT_EQ(otherFiles(), QStringList()) << "a part of the new file was left";
    EXPECT_TRUE(QString::fromLocal8Bit(program->standardError()).contains(kSaveFailed));

    // With room again, she starts from what was stored, and saves again.
    disk.makeRoom();
    auto again = launch();
    const auto second = waitForHer(*again, {120, 90});
    ASSERT_TRUE(second);
    dragHer(session, *second, {310, 210});
    closeBySignal(*again);
    StageSettings expected = settings;
    expected.FormLeft = 310;
    expected.FormTop = 210;
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->schedules, expected.schedules);
    EXPECT_EQ(stored()->anniversaries, expected.anniversaries);
    EXPECT_EQ(QPoint(stored()->FormLeft, stored()->FormTop), QPoint(310, 210));
}

// Another program (sed -i) changes a value while she runs; her own change, a move, lands
// beside it at the close.
TEST_F(SettingsFaults, AnEditWhileSheRunsSurvivesHerSaveBesideHerOwnChange) {
    store(StageSettings());
    auto program = launch();
    const auto her = waitForHer(*program, {40, 64});
    ASSERT_TRUE(her);
    ASSERT_EQ(QProcess::execute(
                  "sed", {"-i", "s/samiLim\"=dword:00000e10/samiLim\"=dword:3c/", hivePath()}),
              0);
    dragHer(session, *her, {300, 200});
    closeBySignal(*program);
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->samiLim, 60);
    EXPECT_EQ(QPoint(stored()->FormLeft, stored()->FormTop), QPoint(300, 200));
}

// A kill loses nothing committed: a drag and a menu choice reach the file moments after
// they are made, with no close to save them.
TEST_F(SettingsFaults, AKillAfterADragAndAMenuChoiceLosesNeither) {
    store(StageSettings());
    auto program = launch();
    const auto her = waitForHer(*program, {40, 64});
    ASSERT_TRUE(her);
    dragHer(session, *her, {300, 200});
    session.xdotool({"mousemove", "444", "520", "click", "3"});
    ASSERT_TRUE(eventually([&] { return HerWindows::openMenu(session).has_value(); }));
    session.xdotool({"key", "d"});
    const auto onDisk = [&] {
        const auto saved = stored();
        // The digits chosen, and the place she was dragged to.
        return saved && !saved->AnaDigi && saved->FormLeft == 300 && saved->FormTop == 200;
    };
    EXPECT_TRUE(eventually(onDisk)) << "the drag and the choice are not on disk";
    program->sendSignal(SIGKILL);
    ASSERT_TRUE(program->waitForExit());
    EXPECT_TRUE(onDisk());
}

// Writes that a signal's default would end her at: standard error a pipe nobody reads (her
// first line names the file's bad line), and a save beyond the file size limit. Each fails
// instead; she goes on and saves, or says she could not.
TEST_F(SettingsFaults, AClosedStandardErrorOrAFileSizeLimitNeverKillsHer) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    const QStringList wrappers[] = {
        {"bash", "-c", QStringLiteral("exec 2>&%1 %1>&-; exec \"$0\" \"$@\"").arg(pipeEnds[1])},
        {"prlimit", "--fsize=4096"}};
    for (const QStringList& wrapper : wrappers) {
        const bool limited = wrapper.first() == "prlimit";
        store(lengthySettings(100));
        QFile file(hivePath());
        ASSERT_TRUE(file.open(QIODevice::Append) && file.write("a bad line\n") > 0);
        file.close();
        const QByteArray before = hiveBytes();
        ProgramRun program(session, configHome(), {}, wrapper);
        ASSERT_TRUE(program.start());
        const auto her = waitForHer(program, {120, 90});
        ASSERT_TRUE(her) << program.report();
        dragHer(session, *her, {300, 200});
        closeBySignal(program);
        EXPECT_EQ(stored()->FormLeft, limited ? 120 : 300) << wrapper.first().toStdString();
        EXPECT_TRUE(!limited || (hiveBytes() == before &&
                                 program.standardError().contains(kSaveFailed.toUtf8())));
        EXPECT_TRUE(otherFiles().filter(".tmp-").isEmpty()) << "a part of a file was left";
    }
    ::close(pipeEnds[1]);
}

// Each run moves her and is killed at a random moment after it was asked to close, before,
// during or after its save: the file then holds one whole save, the last one or this one.
TEST_F(SettingsFaults, KilledAtRandomMomentsOfItsSavesTheFileHoldsOneWholeSave) {
    constexpr int kRuns = 20;
    const StageSettings settings = lengthySettings(300);
    store(settings);
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "random seed " << seed);
    QRandomGenerator random(seed);

    QPoint last(settings.FormLeft, settings.FormTop);
    int newOnes = 0;
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        auto program = launch();
        const auto her = waitForHer(*program, last);
        ASSERT_TRUE(her);
        const QPoint moved(150 + 20 * run, 100 + 10 * run);
        dragHer(session, *her, moved);
        program->sendSignal(SIGTERM);
        QThread::usleep(random.bounded(0u, 12000u));
        program->sendSignal(SIGKILL);
        ASSERT_TRUE(program->waitForExit());

        const std::optional<HiveFile> hive = HiveFile::parse(hiveBytes());
        ASSERT_TRUE(hive) << "the file does not parse";
        ASSERT_NE(hive->key(kProgramKey), nullptr);
        EXPECT_EQ(hive->key(kProgramKey)->values.size(), storedValueNames().size());
        const std::optional<StageSettings> now = stored();
        ASSERT_TRUE(now);
        const QPoint place(now->FormLeft, now->FormTop);
        ASSERT_TRUE(place == last || place == moved)
            << "she was stored at " << place.x() << "," << place.y();
        newOnes += place == moved;
        last = place;
        StageSettings expected = settings;
        expected.FormLeft = place.x();
        expected.FormTop = place.y();
        EXPECT_EQ(now->schedules, expected.schedules);
        EXPECT_EQ(now->anniversaries, expected.anniversaries);
        EXPECT_EQ(now->samiLim, expected.samiLim);
        EXPECT_EQ(now->lastYotei, expected.lastYotei);
    }
    for (const QString& name : otherFiles())
        EXPECT_FALSE(name.contains(QStringLiteral(".bad-"))) << name.toStdString();
    RecordProperty("newSaves", newOnes);
}

} // namespace
