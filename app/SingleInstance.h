#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace corvane {

/**
 * @brief Keeps one Corvane per user session.
 *
 * Every copy meets at one local socket named after the user. A new copy tells the running one its
 * executable path and what it was started for. The running copy handles commands itself, shows its
 * window when a copy from its own path starts, and steps aside (quits) when a copy from another
 * path starts.
 */
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Command { start, toggle, next };
    enum class Outcome {
        primary,    ///< this process is the one Corvane; it listens now
        handedOver, ///< the running copy took the command; exit 0
        notRunning, ///< a forwarded command found no running copy
        failed      ///< the socket could not be claimed
    };

    /**
     * `socketName` overrides the per-user name (tests); `waitMs` bounds how long a claim waits
     * for a copy that is starting or stepping aside.
     */
    explicit SingleInstance(QString executablePath, QString socketName = {}, QObject *parent = nullptr, int waitMs = 5000);
    ~SingleInstance() override;

    /** Meets the running copy, if any, and decides; blocks for at most a few seconds. */
    Outcome claim(Command command);
    /** Hands a command to the running copy without ever listening: handedOver, notRunning or failed. */
    Outcome forward(Command command);
    QString errorString() const { return m_error; }
    /** Stops answering and lets go of the lock, so a copy started now becomes the one Corvane. */
    void release();
    /**
     * Takes the lock beside the socket without waiting. Only its holder may replace and listen
     * on the socket, so two copies started at once never both stay up.
     */
    bool lock();
    QString socketName() const { return m_socketName; }

    static QString defaultSocketName();
    static QString commandName(Command command);

signals:
    /** Another copy from this path was started: bring the main window to the front. */
    void showRequested();
    void toggleRequested();
    void nextRequested();
    /** A copy from another path takes over; this one should quit. */
    void quitRequested();

private:
    QString ask(Command command, bool *connected);
    bool listen();
    void serve(QLocalSocket *socket);

    QString m_path;
    QString m_socketName;
    QString m_error;
    QLocalServer *m_server = nullptr;
    int m_lockFd = -1;
    int m_waitMs;
};

} // namespace corvane
