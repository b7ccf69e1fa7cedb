#include "app/DisplayCheck.h"
#include "app/HourlingApplication.h"
#include "app/MainStage.h"
#include "app/ShutdownSignals.h"
#include "platform/HiveRegistry.h"
#include "platform/KeyState.h"
#include "platform/WallClock.h"
#include "shared/ApplicationTitle.h"
#include "shared/UiFont.h"

#include <QSessionManager>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const QString displayProblem = prepareDisplay();
    if (!displayProblem.isEmpty()) {
        std::fprintf(stderr, "%s\n", displayProblem.toLocal8Bit().constData());
        return 1;
    }
    HourlingApplication app(argc, argv);
    try {
        app.setFont(uiFont());
        app.setQuitOnLastWindowClosed(false);

        HiveRegistry registry(HiveRegistry::defaultPath());
        X11KeyState keys;
        SystemWallClock clock;
        MainStage stage({registry, keys, clock});
        stage.setWindowTitle(kApplicationTitle);

        ShutdownSignals shutdownSignals;
        QObject::connect(&shutdownSignals, &ShutdownSignals::requested, &stage, &QWidget::close);
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &stage,
                         [&stage](QSessionManager&) { stage.close(); });
        QObject::connect(&stage, &MainStage::closed, &app, &QCoreApplication::quit);

        stage.show();
        app.exec();
    } catch (const std::exception& error) {
        HourlingApplication::showException(error.what());
    }
    return 0;
}
