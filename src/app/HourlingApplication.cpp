#include "app/HourlingApplication.h"

#include "shared/ApplicationTitle.h"

#include <QMessageBox>
#include <exception>

HourlingApplication::HourlingApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("hourling"));
    setApplicationVersion(QStringLiteral(HOURLING_VERSION));
}

bool HourlingApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showException(error.what());
    } catch (...) {
        showException("unknown error");
    }
    return false;
}

void HourlingApplication::showException(const char* what) {
    QMessageBox::critical(nullptr, applicationTitle(), QString::fromLocal8Bit(what));
}
