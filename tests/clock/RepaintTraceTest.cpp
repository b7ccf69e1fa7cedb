#include "clock/RepaintTrace.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>
#include <vector>

// The trace file is chosen once per process, so the trace is written in a fresh one: the
// child runs this test again from the top and finds the name its parent set.
TEST(RepaintTraceDeathTest, EachRepaintCarriesTheLastWakeOfTheClockThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    constexpr const char* kVariable = "HOURLING_TRACE_REPAINT";
    if (!std::getenv(kVariable)) {
        const QString name =
            QDir::tempPath() + QStringLiteral("/repaint-trace-") + QString::number(::getpid());
        QFile::remove(name);
        ::setenv(kVariable, name.toLocal8Bit().constData(), 1);
    }
    const QString path = QString::fromLocal8Bit(std::getenv(kVariable));
    EXPECT_EXIT(
        {
            // A repaint from elsewhere, before the clock thread ever woke.
            RepaintTrace::mark();
            RepaintTrace::woke();
            RepaintTrace::mark();
            RepaintTrace::mark();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    ::unsetenv(kVariable);

    QFile trace(path);
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = trace.readAll().trimmed().split('\n');
    trace.remove();
    ASSERT_EQ(lines.size(), 3);
    std::vector<std::pair<long long, long long>> rows;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        ASSERT_EQ(fields.size(), 2) << line.constData();
        rows.emplace_back(fields[0].toLongLong(), fields[1].toLongLong());
    }
    EXPECT_EQ(rows[0].second, 0);
    EXPECT_GT(rows[1].second, 0);
    EXPECT_LE(rows[1].second, rows[1].first);
    EXPECT_LE(rows[1].first, rows[2].first);
    EXPECT_EQ(rows[2].second, rows[1].second);
}
