#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

namespace corvane::test {

/** @brief A minimal HTTP/1.0 server on 127.0.0.1 answering fixed paths; 404 for the rest. */
class LocalHttpServer : public QObject {
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
    void route(const QString &path, const QByteArray &body, const QByteArray &contentType = "text/html")
    {
        m_routes.insert(path, {body, contentType});
    }
    QStringList requested() const { return m_requested; }

private:
    struct Response {
        QByteArray body;
        QByteArray contentType;
    };

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
            const auto it = m_routes.constFind(path);
            const QByteArray status = it == m_routes.cend() ? "404 Not Found" : "200 OK";
            const Response response = it == m_routes.cend() ? Response{"missing", "text/plain"} : *it;
            socket->write("HTTP/1.0 " + status + "\r\nContent-Type: " + response.contentType +
                          "\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                          "\r\nConnection: close\r\n\r\n" + response.body);
            socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QStringList m_requested;
};

} // namespace corvane::test
