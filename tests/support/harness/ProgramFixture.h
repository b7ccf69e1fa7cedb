#pragma once

#include "shared/StageSettings.h"
#include "support/fixtures/SettingsFile.h"
#include "support/harness/XSession.h"

#include <QByteArray>
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// Drags her by her dial with the primary button until her top-left stands at `to`: only the
// user's drag changes the place she is stored at.
void dragHer(const XSession& session, qulonglong her, QPoint to);

// The real program on a private X server over a settings folder of its own: what it is
// given to start with, how it is started and closed, and what it leaves in the file.
class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture() = default;
    // A screen of another size than the usual 1024 x 768.
    explicit ProgramFixture(QSize screen) : session(screen.width(), screen.height()) {}

    void SetUp() override;

    // Where her settings go; setConfigHome() moves them elsewhere, before start.
    QString configHome() const { return configHome_; }
    void setConfigHome(const QString& path) { configHome_ = path; }
    QString hiveDirectory() const { return configHome_ + QStringLiteral("/hourling"); }
    QString hivePath() const { return hiveDirectory() + QStringLiteral("/user.reg"); }

    // Stores the settings as a close would, at their own position.
    void store(const StageSettings& settings);
    // The file's bytes; empty when there is none.
    QByteArray hiveBytes() const;
    // The settings as the next start would read them; none when the key cannot be opened.
    std::optional<StageSettings> stored() const;
    // Names of the files beside the settings file, other than her lock.
    QStringList otherFiles() const;

    // Starts her with these environment entries added.
    std::unique_ptr<ProgramRun> launch(const QStringList& environment = {});
    // Her window, once it has been mapped at the place given.
    std::optional<qulonglong> waitForHer(ProgramRun& program, QPoint at);
    // A signal as the desktop sends at logout; she must end by herself, in time and well.
    void closeBySignal(ProgramRun& program);
    // Her balloon, while it shows.
    bool balloonShows() const;
    // Closes it at its button.
    void closeBalloon();

    XSession session;

private:
    QTemporaryDir config_;
    QString configHome_;
};
