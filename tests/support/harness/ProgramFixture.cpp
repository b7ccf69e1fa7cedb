#include "support/harness/ProgramFixture.h"
#include "support/fixtures/BalloonControls.h"

#include "support/fixtures/SettingsFile.h"

#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"
#include "support/harness/Polling.h"

#include <QDir>
#include <QFile>
#include <csignal>

void ProgramFixture::SetUp() {
    ASSERT_TRUE(session.ok()) << "Xvfb did not start";
    ASSERT_TRUE(config_.isValid());
    configHome_ = config_.path();
}

void ProgramFixture::store(const StageSettings& settings) {
    ASSERT_TRUE(storeSettings(hivePath(), settings));
}

QByteArray ProgramFixture::hiveBytes() const {
    QFile file(hivePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<StageSettings> ProgramFixture::stored() const {
    HiveRegistry registry(hivePath());
    if (!registry.keyExists(kProgramKey))
        return std::nullopt;
    StageSettings settings;
    if (!loadSettings(registry, settings))
        return std::nullopt;
    return settings;
}

QStringList ProgramFixture::otherFiles() const {
    QStringList names =
        QDir(hiveDirectory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("user.reg"));
    // Her lock, held while she runs, stays for the next start.
    names.removeAll(QStringLiteral("user.reg.lock"));
    return names;
}

std::unique_ptr<ProgramRun> ProgramFixture::launch(const QStringList& environment) {
    auto program = std::make_unique<ProgramRun>(session, configHome_, environment);
    EXPECT_TRUE(program->start());
    return program;
}

std::optional<qulonglong> ProgramFixture::waitForHer(ProgramRun& program, QPoint at) {
    const auto her = session.waitForWindowByClass(QStringLiteral("hourling"));
    EXPECT_TRUE(her.has_value()) << program.report();
    if (!her)
        return std::nullopt;
    const bool placed =
        eventually([&] { return session.windowGeometry(*her).topLeft() == at; }, 20000);
    EXPECT_TRUE(placed) << "she stands at " << session.windowGeometry(*her).x() << ","
                        << session.windowGeometry(*her).y();
    return placed ? her : std::nullopt;
}

void ProgramFixture::closeBySignal(ProgramRun& program) {
    program.sendSignal(SIGTERM);
    ASSERT_TRUE(program.waitForExit(30000)) << "she did not end: " << program.report();
    EXPECT_EQ(program.exitCode(), 0) << program.report();
}

void dragHer(const XSession& session, qulonglong her, QPoint to) {
    const QPoint grip(144, 320);
    const QPoint from = session.windowGeometry(her).topLeft() + grip;
    const auto at = [](QPoint point) {
        return QStringList{QStringLiteral("mousemove"), QString::number(point.x()),
                           QString::number(point.y())};
    };
    session.xdotool(at(from) + QStringList{QStringLiteral("mousedown"), QStringLiteral("1")} +
                    at((from + to + grip) / 2) + at(to + grip) +
                    QStringList{QStringLiteral("mouseup"), QStringLiteral("1")});
    EXPECT_TRUE(eventually([&] { return session.windowGeometry(her).topLeft() == to; }))
        << "she stands at " << session.windowGeometry(her).x() << ","
        << session.windowGeometry(her).y();
}

bool ProgramFixture::balloonShows() const {
    return !session
                .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"), QStringLiteral("^MessageBalloon$")})
                .isEmpty();
}

void ProgramFixture::closeBalloon() {
    const auto balloon = session.waitForWindowByName(QStringLiteral("MessageBalloon"), 1000);
    if (!balloon)
        return;
    // A click on its button: a key sent to it would come up elsewhere once it has closed,
    // and stay down in the X server.
    const QPoint button = session.windowGeometry(*balloon).topLeft() + kBalloonButtonCentre;
    session.xdotool(
        {QStringLiteral("mousemove"), QString::number(button.x()), QString::number(button.y())});
    session.xdotool({QStringLiteral("click"), QStringLiteral("1")});
}
