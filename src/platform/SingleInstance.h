#pragma once

#include <QObject>
#include <QString>

class QDeadlineTimer;
class QLocalServer;

// One of her at a time for one settings file: two of her would both announce every event,
// and the one that closed last would write over the other's settings.
//
// The first start holds a lock (flock) on a file in the user's runtime folder
// ($XDG_RUNTIME_DIR/hourling, else a private folder of the user's under the temporary
// folder), named after the settings file, and answers a local socket beside it. A later
// start finds the lock held, asks the running one through the socket to come forward and
// ends. The kernel lets go of a lock when its process ends, however it ends, so that a lock
// left by a killed one never stops the next start; the socket that one left is replaced.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        // This is the one: it holds the lock and answers later starts.
        First,
        // Another one of her runs and has been asked to come forward.
        AskedForward,
        // Another one holds the lock but did not answer in time.
        NoAnswer,
        // No lock could be had (no private folder for it): she runs unguarded.
        Unguarded,
    };

    explicit SingleInstance(const QString& settingsPath, QObject* parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or asks the one that holds it, waiting at most answerMs for its answer.
    Outcome claim(int answerMs = 10000);
    // What went wrong, for NoAnswer and Unguarded, and for a First that cannot be reached.
    QString problem() const { return problem_; }
    // The process that holds the lock, when it wrote itself down.
    qint64 runningProcess() const { return runningProcess_; }
    // Where the lock and the socket are.
    QString lockPath() const;
    QString socketPath() const;

signals:
    // A later start asks her to come forward; the answer is sent once this returns.
    void comeForwardRequested();

private:
    bool prepareFolder();
    bool tryLock();
    void listen();
    bool askForward(const QDeadlineTimer& deadline);
    void answer();

    QString folder_;
    QString name_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    QString problem_;
    qint64 runningProcess_ = 0;
};
