#include "online/ScriptedHttpServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

QByteArray ScriptedHttpServer::Request::header(const QByteArray& name) const
{
    for (const auto& h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return {};
}

ScriptedHttpServer::ScriptedHttpServer()
    : m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, &ScriptedHttpServer::onNewConnection);
}

ScriptedHttpServer::~ScriptedHttpServer() = default;

QString ScriptedHttpServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort());
}

void ScriptedHttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        ++connections;
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void ScriptedHttpServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    if (neverAnswer)
        return;
    if (!buffer.isEmpty() && !(buffer[0] >= 'A' && buffer[0] <= 'Z')) {
        ++foreignConnections;
        socket->setProperty("buffer", QByteArray());
        socket->abort();
        return;
    }
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    Request request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
    }
    const qsizetype length = request.header("Content-Length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return;
    request.body = buffer.mid(headerEnd + 4, length);
    socket->setProperty("buffer", QByteArray());
    requests.append(request);

    Answer answer = defaultAnswer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) + (answer.status < 400 ? " OK" : " Error")
        + "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " + QByteArray::number(answer.body.size())
        + "\r\nConnection: close\r\n\r\n" + answer.body;
    socket->write(response);
    socket->disconnectFromHost();
}

ServiceUrlOverride::ServiceUrlOverride(const QString& url)
{
    qputenv("QUENVALE_SERVICE_URL", url.toUtf8());
}

ServiceUrlOverride::~ServiceUrlOverride()
{
    qunsetenv("QUENVALE_SERVICE_URL");
}
