#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace Tempolane::Testing {

// A small HTTP server on 127.0.0.1 for update checks. Each path answers with a fixed status
// and body, or redirects elsewhere; a silent path accepts the connection and never answers;
// other paths get 404.
class FeedServer final : public QObject
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        bool isSilent = false;
    };

    FeedServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { answer(socket); });
        });
    }

    void route(const QString& path, Response response) { m_routes.insert(path, response); }
    // Answers "302 Found" with this Location.
    void redirect(const QString& path, const QByteArray& location)
    {
        m_redirects.insert(path, location);
    }
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    int requestCount() const { return m_requestCount; }

    // An address on this computer where nothing listens.
    static QUrl refusedUrl()
    {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        return QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(closed.serverPort()));
    }

private:
    void answer(QTcpSocket* socket)
    {
        if (!socket->canReadLine())
            return;
        // "GET /path HTTP/1.1"
        const QList<QByteArray> requestLine = socket->readLine().split(' ');
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        ++m_requestCount;
        const QString path = QString::fromUtf8(requestLine.value(1));
        if (m_redirects.contains(path)) {
            socket->write("HTTP/1.1 302 Found\r\nLocation: " + m_redirects.value(path) +
                          "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        const Response response = m_routes.value(path, {404, QByteArrayLiteral("Not Found")});
        if (response.isSilent)
            return;
        const QByteArray reason = response.status == 200 ? "OK" : "Not Found";
        socket->write("HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reason +
                      "\r\nContent-Type: application/rss+xml\r\nContent-Length: " +
                      QByteArray::number(response.body.size()) + "\r\nConnection: close\r\n\r\n" +
                      response.body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    QHash<QString, QByteArray> m_redirects;
    int m_requestCount = 0;
};

} // namespace Tempolane::Testing
