#include "NumberedSettings.h"
#include "app/SettingsStore.h"
#include "platform/HiveFile.h"
#include "platform/HiveRegistry.h"
#include "support/fixtures/StageSettingsText.h"
#include "support/fixtures/TempConfigHome.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <chrono>
#include <gtest/gtest.h>
#include <set>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kKills = 100;
constexpr auto kTimeBudget = std::chrono::seconds(30);

pid_t startSaver(const QString& hivePath, qint32 firstNumber) {
    QByteArray program = SAVE_FOREVER_BINARY;
    QByteArray path = hivePath.toLocal8Bit();
    QByteArray number = QByteArray::number(firstNumber);
    char* argv[] = {program.data(), path.data(), number.data(), nullptr};
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) != 0)
        return -1;
    return pid;
}

// Waits until the saver that numbers from `first` has stored a save of its own, so that the
// kill lands among its saves and not in its start-up, which a loaded machine or a sanitizer
// build stretches. Reads the file only: the saver is writing it.
bool waitForOwnSave(const TempConfigHome& home, qint32 first) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::optional<HiveFile> hive = HiveFile::parse(home.readHive());
        const HiveKey* key = hive ? hive->key(kProgramKey) : nullptr;
        const HiveValue* number = key ? key->value(QStringLiteral("samiLim")) : nullptr;
        if (number && number->data.size() == 4 &&
            qFromLittleEndian<qint32>(number->data.constData()) >= first)
            return true;
        ::usleep(1000);
    }
    return false;
}

} // namespace

// A process killed at any moment of a save leaves a file that parses and holds one whole
// save, the one before or the one it was writing.
TEST(SaveKill, FileIsAlwaysOneWholeSave) {
    TempConfigHome home;
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "random seed " << seed);
    QRandomGenerator random(seed);

    const auto deadline = std::chrono::steady_clock::now() + kTimeBudget;
    std::set<qint32> seen;
    bool fileSeen = false;
    int kills = 0;
    for (; kills < kKills && std::chrono::steady_clock::now() < deadline; ++kills) {
        const qint32 first = 1 + kills * 100000;
        const pid_t pid = startSaver(home.hivePath(), first);
        ASSERT_GT(pid, 0);
        const bool started = waitForOwnSave(home, first);
        if (started)
            ::usleep(random.bounded(0u, 30000u));
        ASSERT_EQ(::kill(pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(started) << "saver " << kills << " stored nothing";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended by itself";

        if (!home.hiveExists()) {
            ASSERT_FALSE(fileSeen) << "the file vanished after kill " << kills;
            continue;
        }
        fileSeen = true;
        const std::optional<HiveFile> hive = HiveFile::parse(home.readHive());
        ASSERT_TRUE(hive) << "unparseable after kill " << kills;
        const HiveKey* key = hive->key(kProgramKey);
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(key->values.size(), storedValueNames().size());

        HiveRegistry registry(home.hivePath());
        StageSettings loaded;
        ASSERT_TRUE(loadSettings(registry, loaded));
        const qint32 n = loaded.samiLim;
        ASSERT_EQ(loaded, numberedSettings(n)) << "after kill " << kills;
        seen.insert(n);
    }
    EXPECT_GE(kills, 20);
    EXPECT_GE(seen.size(), size_t(kills / 4)) << "too few kills came after a save";
    for (const QString& name : home.otherFiles())
        EXPECT_FALSE(name.contains(".bad-")) << name.toStdString();
}
