#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// The maker's web site, answered by the program itself. The page engine is
// told that the maker's host lives on a loopback port of ours, so the real
// "http://" addresses show in the address bar, the caption and the history,
// and no request for them leaves the machine (not even a name lookup).
class MakerSite : public QObject
{
    Q_OBJECT
public:
    struct Reply
    {
        int status = 200;
        QByteArray contentType;
        QByteArray body;
    };

    explicit MakerSite(QObject *parent = nullptr);

    bool start();
    quint16 port() const { return m_server.serverPort(); }

    // Starts the site and routes the engine's requests for the maker's host to
    // it. Must run before the first engine object exists: the engine reads its
    // flags once, when it starts. Returns nullptr when no port could be had.
    static MakerSite *startForEngine(QObject *parent);

    // The engine flags with the maker's host mapped to the loopback port, and
    // kept out of any proxy the flags name. Other flags pass unchanged.
    static QString routedEngineFlags(const QString &flags, quint16 port);

    // What the site answers for a request (path with its query, as sent).
    static Reply answer(const QByteArray &method, const QByteArray &target);

    // A page compiled into the program (":/pages/<name>"), empty if missing.
    static QByteArray resourcePage(const QString &name);

private:
    void serve(QTcpSocket *socket);

    QHash<QTcpSocket *, QByteArray> m_buffers;
    QTcpServer m_server;
};
