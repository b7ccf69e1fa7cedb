#pragma once

#include <QApplication>

// The application object: shows an exception that escapes an event handler in a message
// box and goes on, instead of ending the program.
class HourlingApplication : public QApplication {
    Q_OBJECT
public:
    HourlingApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    static void showException(const char* what);
};
