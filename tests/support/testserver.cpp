#include "testserver.h"

#include <QTcpSocket>

TestServer::TestServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

bool TestServer::start()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString TestServer::proxyFlag() const
{
    return QStringLiteral("--proxy-server=http://127.0.0.1:%1").arg(port());
}

QList<QByteArray> TestServer::targets() const
{
    QList<QByteArray> result;
    for (const Request &request : requests)
        result << request.target;
    return result;
}

void TestServer::serve(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
        }
        const int length = request.headers.value("content-length", "0").toInt();
        if (buffer.size() < end + 4 + length)
            return;
        request.body = buffer.mid(end + 4, length);
        buffer.remove(0, end + 4 + length);

        Response response;
        allTargets << request.target;
        if (request.target.endsWith("/favicon.ico")) {
            response.status = 404;
            response.body = "not found";
        } else {
            requests << request;
            if (handler)
                response = handler(request);
        }
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + " X\r\n";
        reply += "Content-Type: " + response.contentType + "\r\n";
        reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        reply += "Cache-Control: no-store\r\n";
        for (const auto &header : response.headers)
            reply += header.first + ": " + header.second + "\r\n";
        reply += "Connection: keep-alive\r\n\r\n";
        reply += response.body;
        socket->write(reply);
        if (!request.target.endsWith("/favicon.ico"))
            Q_EMIT requestReceived(request.target);
    }
}
