#pragma once

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace corvane::test {

/** @brief A minimal HTTP/1.0 server on 127.0.0.1 answering fixed paths; 404 for the rest. */
class LocalHttpServer : public QObject
{
public:
    LocalHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }

    int port() const { return m_server.serverPort(); }
    void route(const QString &path, const QByteArray &body, const QByteArray &contentType = "text/html",
               const QByteArray &status = "200 OK", const QByteArray &extraHeaders = {})
    {
        m_routes.insert(path, {body, contentType, status, extraHeaders});
    }
    /** A redirect from `path` to `location`. */
    void redirect(const QString &path, const QByteArray &location)
    {
        route(path, {}, "text/html", "302 Found", "Location: " + location + "\r\n");
    }
    /**
     * A body sent in `chunk`s every `intervalMs` until the client goes away or `limit` bytes are out
     * (a bound, so a test that fails cannot flood the machine).
     */
    void stream(const QString &path, const QByteArray &contentType, const QByteArray &chunk, int intervalMs,
                qint64 limit = 64 * 1024 * 1024)
    {
        m_streams.insert(path, {contentType, chunk, intervalMs, limit});
    }
    QStringList requested() const { return m_requested; }

private:
    struct Response {
        QByteArray body;
        QByteArray contentType;
        QByteArray status = "200 OK";
        QByteArray extraHeaders;
    };
    struct Stream {
        QByteArray contentType;
        QByteArray chunk;
        int intervalMs = 0;
        qint64 limit = 0;
    };

    void startStream(QTcpSocket *socket, const Stream &stream)
    {
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: " + stream.contentType + "\r\nConnection: close\r\n\r\n");
        auto *timer = new QTimer(socket);
        auto sent = std::make_shared<qint64>(0);
        QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, stream, sent] {
            if (*sent >= stream.limit || socket->state() != QAbstractSocket::ConnectedState) {
                timer->stop();
                socket->disconnectFromHost();
                return;
            }
            if (socket->bytesToWrite() < 4 * stream.chunk.size()) {
                socket->write(stream.chunk);
                *sent += stream.chunk.size();
            }
        });
        timer->start(stream.intervalMs);
    }

    void serve(QTcpSocket *socket)
    {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            QByteArray &request = m_pending[socket];
            request += socket->readAll();
            if (!request.contains("\r\n\r\n"))
                return;
            const QString path = QString::fromLatin1(request.split(' ').value(1));
            m_requested.append(path);
            m_pending.remove(socket);
            if (const auto stream = m_streams.constFind(path); stream != m_streams.cend()) {
                startStream(socket, *stream);
                return;
            }
            const auto it = m_routes.constFind(path);
            const Response response = it == m_routes.cend() ? Response{"missing", "text/plain", "404 Not Found", {}} : *it;
            socket->write("HTTP/1.0 " + response.status + "\r\nContent-Type: " + response.contentType + "\r\n"
                          + response.extraHeaders + "Content-Length: " + QByteArray::number(response.body.size())
                          + "\r\nConnection: close\r\n\r\n" + response.body);
            socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    QHash<QString, Stream> m_streams;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QStringList m_requested;
};

} // namespace corvane::test
