#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace corvane {
namespace {

constexpr int kConnectMs = 2000;
constexpr int kReplyMs = 10000;
constexpr int kTakeOverMs = 5000;

const QByteArray kHandled = "handled";
const QByteArray kQuitting = "quitting";

} // namespace

SingleInstance::SingleInstance(QString executablePath, QString socketName, QObject *parent)
    : QObject(parent)
    , m_path(QDir::cleanPath(executablePath))
    , m_socketName(socketName.isEmpty() ? defaultSocketName() : std::move(socketName))
{
}

SingleInstance::~SingleInstance() = default;

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
    case Command::start: return QStringLiteral("start");
    case Command::toggle: return QStringLiteral("toggle");
    case Command::next: return QStringLiteral("next");
    }
    return {};
}

SingleInstance::Outcome SingleInstance::claim(Command command)
{
    bool connected = false;
    const QString reply = ask(command, &connected);
    if (connected && reply == QLatin1String(kHandled))
        return Outcome::handedOver;
    if (!connected && command == Command::next)
        return Outcome::notRunning;
    if (connected && reply == QLatin1String(kQuitting)) {
        // Wait until the other copy has let go of the socket.
        QElapsedTimer waited;
        waited.start();
        QLocalSocket probe;
        while (waited.elapsed() < kTakeOverMs) {
            probe.connectToServer(m_socketName);
            if (!probe.waitForConnected(kConnectMs))
                break;
            probe.abort();
            QThread::msleep(100);
        }
    } else if (connected) {
        m_error = QStringLiteral("the running copy did not answer");
        return Outcome::failed;
    }
    return listen() ? Outcome::primary : Outcome::failed;
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
    const QJsonObject message{{QStringLiteral("path"), m_path},
                              {QStringLiteral("command"), commandName(command)}};
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
}

bool SingleInstance::listen()
{
    // A socket file left by a crashed copy would block listening; nobody answered on it.
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
            m_server->close();
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
