#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/HourlingApplication.h"
#include "app/MainStage.h"
#include "app/ShutdownSignals.h"
#include "platform/Beeper.h"
#include "platform/HiveRegistry.h"
#include "platform/KeyState.h"
#include "platform/PulseSoundOutput.h"
#include "platform/RandomSource.h"
#include "platform/StageTimer.h"
#include "platform/WallClock.h"
#include "shared/ApplicationTitle.h"
#include "shared/UiFont.h"
#include "stage/UiLanguage.h"

#include <QSessionManager>
#include <QThread>
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
    HourlingApplication app(argc, argv);
    const UiLanguage language;
    try {
        app.setFont(uiFont());
        app.setQuitOnLastWindowClosed(false);

        HiveRegistry registry(HiveRegistry::defaultPath());
        X11KeyState keys;
        SystemWallClock clock;
        PulseSoundOutput sound;
        QtTimerFactory timers;
        SeededRandomSource random;
        QtBeeper beeper;
        MainStage stage({registry, keys, clock, sound, timers, random, beeper});
        stage.setWindowTitle(applicationTitle());

        ShutdownSignals shutdownSignals;
        QObject::connect(&shutdownSignals, &ShutdownSignals::requested, &stage, &QWidget::close);
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &stage,
                         [&stage](QSessionManager&) { stage.close(); });
        QObject::connect(&stage, &MainStage::closed, &app, &QCoreApplication::quit);

        stage.show();
        const RunningStage running(stage);
        app.exec();
    } catch (const std::exception& error) {
        HourlingApplication::showException(error.what());
    }
    return 0;
}
