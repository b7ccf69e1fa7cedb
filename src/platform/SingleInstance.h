#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QDeadlineTimer;
class QSocketNotifier;

// One of her at a time for one settings file: two of her would both announce every event,
// and the one that closed last would write over the other's settings.
//
// The first start holds a lock (flock) on a file beside the settings file (<file>.lock), so
// that whatever runtime folder a start is given (cron, ssh, su, env -i give other ones or
// none), two of her never run on one file. It answers a local socket in the user's runtime
// folder ($XDG_RUNTIME_DIR/hourling, else a private folder under /tmp; a short private one
// when that name is too long for a socket) and writes its path into the lock file. A later
// start finds the lock held, asks the running one through that socket to come forward and
// ends. The kernel lets go of a lock when its process ends, however it ends, so that a lock
// left by a killed one never stops the next start; the socket that one left is replaced.
// Where no lock file can be made beside the settings (a read-only folder), the lock lies
// beside the socket instead. The socket is a plain one of the system's, since a network
// library would bring a dozen more libraries to load before her window maps.
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
        // No lock could be had: she runs unguarded.
        Unguarded,
    };

    // A request is one short line; more from one caller, or a caller silent this long, is
    // cut off.
    static constexpr qint64 kMaxRequestBytes = 64;
    static constexpr int kIdleCallerMs = 1000;

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
    QString lockPath() const { return lockPath_; }
    QString socketPath() const;

signals:
    // A later start asks her to come forward; the answer is sent once this returns.
    void comeForwardRequested();

private:
    bool openLock();
    bool prepareFolder();
    bool tryLock();
    void listen();
    // The sockets the holder of the lock may answer at: the one it wrote down, then this
    // start's own.
    QStringList holderSockets();
    bool askForward(const QString& socket, const QDeadlineTimer& deadline);
    void answer();

    QString settingsName_;
    QString lockPath_;
    QString folder_;
    QString name_;
    bool madeFolder_ = false; // a folder of its own, removed at the end
    int lockFd_ = -1;
    int serverFd_ = -1;
    QSocketNotifier* server_ = nullptr;
    QString problem_;
    qint64 runningProcess_ = 0;
};
