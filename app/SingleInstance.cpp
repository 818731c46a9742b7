#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace corvane {
namespace {

constexpr int kConnectMs = 2000;
constexpr int kReplyMs = 10000;

const QByteArray kHandled = "handled";
const QByteArray kQuitting = "quitting";

} // namespace

SingleInstance::SingleInstance(QString executablePath, QString socketName, QObject *parent, int waitMs)
    : QObject(parent)
    , m_path(QDir::cleanPath(executablePath))
    , m_socketName(socketName.isEmpty() ? defaultSocketName() : std::move(socketName))
    , m_waitMs(waitMs)
{
}

SingleInstance::~SingleInstance()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

bool SingleInstance::lock()
{
    if (m_lockFd >= 0)
        return true;
    const QString socket = QDir::isAbsolutePath(m_socketName) ? m_socketName : QDir::temp().filePath(m_socketName);
    const int fd = ::open(QFile::encodeName(socket + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

QString SingleInstance::defaultSocketName()
{
    // The runtime folder is private to the user; without one, the name carries the uid.
    const QString name = QStringLiteral("corvane-%1.socket").arg(::getuid());
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

QString SingleInstance::commandName(Command command)
{
    switch (command) {
    case Command::start:
        return QStringLiteral("start");
    case Command::toggle:
        return QStringLiteral("toggle");
    case Command::next:
        return QStringLiteral("next");
    }
    return {};
}

SingleInstance::Outcome SingleInstance::claim(Command command)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        bool connected = false;
        const QString reply = ask(command, &connected);
        if (connected && reply == QLatin1String(kHandled))
            return Outcome::handedOver;
        if (connected && reply != QLatin1String(kQuitting)) {
            m_error = QStringLiteral("the running copy did not answer");
            return Outcome::failed;
        }
        // Nobody listening (or the listener steps aside): whoever holds the lock is the one Corvane.
        if (!connected && lock()) {
            if (command == Command::next) {
                release();
                return Outcome::notRunning;
            }
            return listen() ? Outcome::primary : Outcome::failed;
        }
        if (waited.elapsed() > m_waitMs) {
            m_error = QStringLiteral("another copy is starting or quitting and did not finish");
            return Outcome::failed;
        }
        // A copy is starting and about to listen, or quitting and about to let go.
        QThread::msleep(50);
    }
}

SingleInstance::Outcome SingleInstance::forward(Command command)
{
    bool connected = false;
    const QString reply = ask(command, &connected);
    if (!connected)
        return Outcome::notRunning;
    if (reply == QLatin1String(kHandled))
        return Outcome::handedOver;
    m_error = QStringLiteral("the running copy did not answer");
    return Outcome::failed;
}

QString SingleInstance::ask(Command command, bool *connected)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    *connected = socket.waitForConnected(kConnectMs);
    if (!*connected)
        return {};
    const QJsonObject message{{QStringLiteral("path"), m_path}, {QStringLiteral("command"), commandName(command)}};
    socket.write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
    socket.waitForBytesWritten(kReplyMs);
    QElapsedTimer waited;
    waited.start();
    while (!socket.canReadLine() && waited.elapsed() < kReplyMs) {
        if (!socket.waitForReadyRead(kReplyMs - int(waited.elapsed())))
            break;
    }
    return QString::fromUtf8(socket.readLine()).trimmed();
}

void SingleInstance::release()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

bool SingleInstance::listen()
{
    // A socket file left by a crashed copy would block listening; nobody answered on it, and
    // holding the lock means no other copy is about to.
    QLocalServer::removeServer(m_socketName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketName)) {
        m_error = m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            serve(socket);
    });
    return true;
}

void SingleInstance::serve(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine())
            return;
        const QJsonObject message = QJsonDocument::fromJson(socket->readLine()).object();
        const QString command = message.value(QStringLiteral("command")).toString();
        const QString path = QDir::cleanPath(message.value(QStringLiteral("path")).toString());
        if (command == commandName(Command::start) && path != m_path) {
            socket->write(kQuitting + '\n');
            socket->flush();
            release();
            emit quitRequested();
            return;
        }
        socket->write(kHandled + '\n');
        socket->flush();
        if (command == commandName(Command::toggle))
            emit toggleRequested();
        else if (command == commandName(Command::next))
            emit nextRequested();
        else
            emit showRequested();
    });
}

} // namespace corvane
