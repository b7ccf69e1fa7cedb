#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/HourlingApplication.h"
#include "app/MainStage.h"
#include "app/SettingsKeeper.h"
#include "app/ShutdownSignals.h"
#include "platform/Beeper.h"
#include "platform/HiveRegistry.h"
#include "platform/KeyState.h"
#include "platform/PulseSoundOutput.h"
#include "platform/RandomSource.h"
#include "platform/SecondWaiter.h"
#include "platform/SingleInstance.h"
#include "platform/StageTimer.h"
#include "platform/UiPoster.h"
#include "platform/WallClock.h"
#include "shared/ApplicationTitle.h"
#include "shared/UiFont.h"
#include "stage/UiLanguage.h"
#include "voice/MinimizeWatch.h"

#include <QSessionManager>
#include <QThread>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {
// Her window while the event loop runs. Qt ends the process with exit() when its connection
// to the X server breaks, which a window's close never sees.
MainStage* runningStage = nullptr;

void closeAtExit() {
    // Only the user-interface thread may touch her window.
    const QCoreApplication* app = QCoreApplication::instance();
    if (runningStage && app && QThread::currentThread() == app->thread())
        runningStage->closeAtExit();
}

struct RunningStage {
    explicit RunningStage(MainStage& stage) {
        runningStage = &stage;
        std::atexit(closeAtExit);
    }
    ~RunningStage() { runningStage = nullptr; }
};
} // namespace

int main(int argc, char** argv) {
    ShutdownSignals::ignoreFailingWrites();
    // Read before the toolkit starts, which needs a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = readCommandLine(arguments);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", line.refusal.toLocal8Bit().constData());
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    const DisplayChoice display = prepareDisplay(line.display, line.platform);
    if (!display.notice.isEmpty())
        std::fprintf(stderr, "%s\n", display.notice.toLocal8Bit().constData());
    if (!display.problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", display.problem.toLocal8Bit().constData());
        return 1;
    }
    if (display.dropPlatformOption)
        dropPlatformOption(argc, argv);
    HourlingApplication app(argc, argv);
    const UiLanguage language;
    try {
        // A signal ends her at once, whatever is open: the settings are saved unless they
        // were reset, and every event loop ends, a question's or a dialog's among them.
        // Installed first, so that the reset question at start is covered too.
        ShutdownSignals shutdownSignals;
        bool ending = false;
        MainStage* stage = nullptr;
        const auto endNow = [&] {
            ending = true;
            if (stage)
                stage->keeper().endWithoutQuestions();
            QCoreApplication::exit(0);
        };
        QObject::connect(&shutdownSignals, &ShutdownSignals::requested, &shutdownSignals, endNow);

        const QString settingsPath = HiveRegistry::defaultPath();
        SingleInstance instance(settingsPath);
        switch (instance.claim()) {
        case SingleInstance::Outcome::First:
            if (!instance.problem().isEmpty())
                std::fprintf(stderr, "hourling: %s\n",
                             instance.problem().toLocal8Bit().constData());
            break;
        case SingleInstance::Outcome::AskedForward:
            std::fprintf(stderr,
                         "hourling: she is already running; her window was brought forward\n");
            return 0;
        case SingleInstance::Outcome::NoAnswer:
            std::fprintf(stderr, "hourling: %s; no second one is started\n",
                         instance.problem().toLocal8Bit().constData());
            return 1;
        case SingleInstance::Outcome::Unguarded:
            std::fprintf(stderr, "hourling: %s; a second start would not find this one\n",
                         instance.problem().toLocal8Bit().constData());
            break;
        }

        app.setFont(uiFont());
        app.setQuitOnLastWindowClosed(false);

        HiveRegistry registry(settingsPath);
        X11KeyState keys;
        SystemWallClock clock;
        SystemSecondWaiter waiter;
        QtUiPoster uiPoster;
        PulseSoundOutput sound;
        QtTimerFactory timers;
        SeededRandomSource random;
        QtBeeper beeper;
        // Before her window is made: a later start during the reset question brings the
        // question forward.
        QObject::connect(&instance, &SingleInstance::comeForwardRequested, &instance, [&stage] {
            if (stage) {
                stage->minimizeWatch().comeForward();
            } else if (QWidget* question = QApplication::activeModalWidget()) {
                question->raise();
                question->activateWindow();
            }
        });
        MainStage herWindow(
            {registry, keys, clock, waiter, uiPoster, sound, timers, random, beeper});
        // A signal during the reset question at start ended it unanswered.
        if (ending)
            return 0;
        stage = &herWindow;
        herWindow.setWindowTitle(applicationTitle());

        QObject::connect(&app, &QGuiApplication::commitDataRequest, &shutdownSignals,
                         [&endNow](QSessionManager&) { endNow(); });
        QObject::connect(&herWindow, &MainStage::closed, &app, &QCoreApplication::quit);

        herWindow.show();
        const RunningStage running(herWindow);
        app.exec();
        stage = nullptr;
    } catch (const std::exception& error) {
        HourlingApplication::showException(error.what());
    }
    return 0;
}
