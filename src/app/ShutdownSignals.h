#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the user-interface thread, so that an
// ending session or a kill from the shell closes the program the ordinary way and saves.
// The handlers stay installed: a second signal while closing changes nothing.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void requested();

private:
    QSocketNotifier* notifier_ = nullptr;
};
