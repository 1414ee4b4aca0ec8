#include "makersite.h"

#include "app/appicon.h"
#include "makeraddresses.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QUrl>

// The pages are compiled into the static library; make sure they are linked in.
static void initPageResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {
// A request head larger than this is not from the page engine.
constexpr int MaxRequestHead = 64 * 1024;

QByteArray resource(const QString &name)
{
    initPageResources();
    QFile file(QStringLiteral(":/pages/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QByteArray page(const QString &name)
{
    QByteArray html = resource(name);
    html.replace("{{VERSION}}", SKIMLARK_VERSION);
    html.replace("{{MAKER}}", maker::Name.toUtf8());
    html.replace("{{START}}", maker::StartPage.toUtf8());
    html.replace("{{HELP}}", maker::HelpPage.toUtf8());
    html.replace("{{HOME}}", maker::OwnAddress.toUtf8());
    return html;
}

QByteArray iconPng()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    appicon::draw(32).save(&buffer, "PNG");
    return png;
}

QString quoted(const QString &token)
{
    if (!token.contains(QLatin1Char(' ')))
        return token;
    const int equals = token.indexOf(QLatin1Char('='));
    if (equals < 0)
        return QLatin1Char('"') + token + QLatin1Char('"');
    return token.left(equals + 1) + QLatin1Char('"') + token.mid(equals + 1) + QLatin1Char('"');
}

// Appends `addition` to the value of switch `name`, or adds the switch.
void mergeSwitch(QStringList &tokens, const QString &name, const QString &separator,
                 const QString &addition)
{
    const QString prefix = name + QLatin1Char('=');
    for (QString &token : tokens) {
        if (token.startsWith(prefix)) {
            const QString value = token.mid(prefix.size());
            token = prefix + (value.isEmpty() ? addition : value + separator + addition);
            return;
        }
    }
    tokens << prefix + addition;
}
} // namespace

QByteArray MakerSite::resourcePage(const QString &name)
{
    return resource(name);
}

MakerSite::MakerSite(QObject *parent)
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

bool MakerSite::start()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

MakerSite *MakerSite::startForEngine(QObject *parent)
{
    auto *site = new MakerSite(parent);
    if (!site->start()) {
        delete site;
        return nullptr;
    }
    const QString flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", routedEngineFlags(flags, site->port()).toLocal8Bit());
    // A proxy taken from the environment would otherwise get the maker's requests.
    for (const char *name : {"no_proxy", "NO_PROXY"}) {
        const QByteArray current = qgetenv(name);
        qputenv(name, current.isEmpty() ? maker::Host.toLatin1()
                                        : current + ',' + maker::Host.toLatin1());
    }
    return site;
}

QString MakerSite::routedEngineFlags(const QString &flags, quint16 port)
{
    QStringList tokens = QProcess::splitCommand(flags);
    mergeSwitch(tokens, QStringLiteral("--host-resolver-rules"), QStringLiteral(","),
                QStringLiteral("MAP %1 127.0.0.1:%2").arg(maker::Host).arg(port));
    const bool proxied = std::any_of(tokens.cbegin(), tokens.cend(), [](const QString &token) {
        return token.startsWith(QLatin1String("--proxy-server="));
    });
    if (proxied)
        mergeSwitch(tokens, QStringLiteral("--proxy-bypass-list"), QStringLiteral(";"), maker::Host);
    QStringList out;
    for (const QString &token : std::as_const(tokens))
        out << quoted(token);
    return out.join(QLatin1Char(' '));
}

MakerSite::Reply MakerSite::answer(const QByteArray &method, const QByteArray &target)
{
    const QByteArray html = "text/html; charset=utf-8";
    if (method != "GET" && method != "HEAD")
        return {405, "text/plain; charset=utf-8", "Only pages to read here."};
    const QString path = QUrl(QString::fromLatin1(target)).path();
    if (path == QLatin1String("/"))
        return {200, html, page(QStringLiteral("maker.html"))};
    if (path == QLatin1String("/skimlark.htm"))
        return {200, html, page(QStringLiteral("start.html"))};
    if (path == QLatin1String("/skimlark/skimlarkhelp.htm"))
        return {200, html, page(QStringLiteral("help.html"))};
    if (path == QLatin1String("/affiliates/") || path == QLatin1String("/affiliates"))
        return {200, html, page(QStringLiteral("referral.html"))};
    if (path == QLatin1String("/skimlark.css"))
        return {200, "text/css; charset=utf-8", resource(QStringLiteral("skimlark.css"))};
    if (path == QLatin1String("/favicon.ico"))
        return {200, "image/png", iconPng()};
    return {404, html, page(QStringLiteral("notfound.html"))};
}

void MakerSite::serve(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (buffer.size() > MaxRequestHead)
            socket->abort();
        return;
    }
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    QByteArray host;
    for (const QByteArray &line : lines) {
        if (line.toLower().startsWith("host:"))
            host = line.mid(5).trimmed();
    }
    m_buffers.remove(socket);
    const QByteArray method = first.value(0);
    // Only the engine, sent here for the maker's host, gets the maker's pages.
    const Reply reply = host == maker::Host.toLatin1() || host.startsWith(maker::Host.toLatin1() + ':')
                            ? answer(method, first.value(1))
                            : Reply{404, "text/plain; charset=utf-8", "Not found."};
    QByteArray response = "HTTP/1.1 " + QByteArray::number(reply.status)
                          + (reply.status == 200 ? " OK" : " Error") + "\r\n";
    response += "Content-Type: " + reply.contentType + "\r\n";
    response += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    response += "Cache-Control: no-cache\r\nConnection: close\r\n\r\n";
    if (method != "HEAD")
        response += reply.body;
    socket->write(response);
    socket->disconnectFromHost();
}
