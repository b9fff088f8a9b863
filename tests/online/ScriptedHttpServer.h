#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <deque>

class QTcpServer;
class QTcpSocket;

// A plain HTTP server on 127.0.0.1 that records every request and answers from a script. It runs on the test's
// thread; the code under test waits in a local event loop, which lets the server do its work meanwhile.
// Bytes that are not an HTTP request (a TLS handshake, for one) are counted and the connection is closed,
// unless the server is set never to answer.
class ScriptedHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        QByteArray header(const QByteArray& name) const;
    };
    struct Answer
    {
        int status = 200;
        QByteArray body;
    };

    ScriptedHttpServer();
    ~ScriptedHttpServer() override;

    // "http://127.0.0.1:<port>"
    QString baseUrl() const;

    std::deque<Answer> answers;      // taken in order
    Answer defaultAnswer{200, "OK"}; // when the queue is empty
    bool neverAnswer = false;        // accept and read, but stay silent

    QList<Request> requests;
    int connections = 0;
    int foreignConnections = 0;      // connections that did not speak HTTP

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);

    QTcpServer* m_server;
};

// Sets QUENVALE_SERVICE_URL for the life of the object.
class ServiceUrlOverride
{
public:
    explicit ServiceUrlOverride(const QString& url);
    ~ServiceUrlOverride();
    ServiceUrlOverride(const ServiceUrlOverride&) = delete;
    ServiceUrlOverride& operator=(const ServiceUrlOverride&) = delete;
};
