#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A tiny HTTP/1.1 server on 127.0.0.1 for the updater's tests: fixed bodies per path.
namespace corvane::test {

class LocalHttpServer : public QTcpServer
{
public:
    LocalHttpServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                serve(socket);
        });
    }

    void setBody(const QString &path, const QByteArray &body) { m_bodies.insert(path, body); }
    QUrl url(const QString &path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path)); }
    int requests = 0;

private:
    void serve(QTcpSocket *socket)
    {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray &buffer = m_buffers[socket];
            buffer += socket->readAll();
            if (!buffer.contains("\r\n\r\n"))
                return;
            ++requests;
            const QString path = QString::fromLatin1(buffer.split(' ').value(1));
            m_buffers.remove(socket);
            const bool found = m_bodies.contains(path);
            const QByteArray body = found ? m_bodies.value(path) : QByteArray("not found");
            socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") + QByteArray("Content-Length: ")
                          + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    }

    QHash<QString, QByteArray> m_bodies;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

} // namespace corvane::test
