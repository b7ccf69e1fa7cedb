#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2 and SIGALRM into a signal on the
// user-interface thread, so that an ending session or a kill from the shell closes the
// program the ordinary way and saves. The handlers stay installed: a second signal while
// closing changes nothing.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

    // A write to a pipe nobody reads (standard error into a closed pipe) or beyond the file
    // size limit then fails with its error, as on a full disk, instead of killing her.
    static void ignoreFailingWrites();

signals:
    void requested();

private:
    QSocketNotifier* notifier_ = nullptr;
};
