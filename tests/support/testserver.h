#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <functional>

// A loopback HTTP server that records every request. Used directly, or as the
// page engine's proxy (then the request target is the absolute address).
class TestServer : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray method;
        QByteArray target; // as sent: absolute through a proxy, a path otherwise
        QHash<QByteArray, QByteArray> headers; // lower-case names
        QByteArray body;
    };
    struct Response
    {
        int status = 200;
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray body = "<html><head><title>Test page</title></head><body>Test page</body></html>";
        QList<QPair<QByteArray, QByteArray>> headers;
    };
    using Handler = std::function<Response(const Request &)>;

    explicit TestServer(QObject *parent = nullptr);
    bool start();
    quint16 port() const { return m_server.serverPort(); }
    QString proxyFlag() const;

    // Requests other than the engine's own background noise (favicons are left out).
    QList<Request> requests;
    QList<QByteArray> targets() const;
    // Every request target, favicons included.
    QList<QByteArray> allTargets;
    Handler handler;

Q_SIGNALS:
    void requestReceived(const QByteArray &target);

private:
    void serve(QTcpSocket *socket);
    // Declared first so it outlives the server's sockets when torn down.
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QTcpServer m_server;
};
