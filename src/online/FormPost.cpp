#include "online/FormPost.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

const char* const kMakerHost = "www.zelkora.com";
const char* const kServiceUrlVariable = "QUENVALE_SERVICE_URL";

void appendEncoded(QByteArray& out, const QString& text)
{
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '*' || b == '-'
            || b == '.' || b == '_') {
            out += static_cast<char>(b);
        } else if (b == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        }
    }
}

// An error that only reports the HTTP status of an answer that did arrive.
bool isStatusError(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

} // namespace

QByteArray EncodeForm(const FormFields& fields)
{
    QByteArray out;
    for (const auto& field : fields) {
        if (!out.isEmpty())
            out += '&';
        appendEncoded(out, field.first);
        out += '=';
        appendEncoded(out, field.second);
    }
    return out;
}

PostResult PostForm(const QString& url, const FormFields& fields, const PostTimeouts& timeouts)
{
    PostResult result;
    const bool secure = url.toLower().startsWith(QStringLiteral("https://"));

    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    if (secure) {
        request.setRawHeader(QByteArrayLiteral("Connection"), QByteArrayLiteral("close"));
        // "Connection: close" has no meaning in HTTP/2.
        request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    }

    QNetworkReply* reply = manager.post(request, EncodeForm(fields));
    QEventLoop loop;
    QTimer connectTimer;
    QTimer responseTimer;
    QTimer interruptionPoll;
    connectTimer.setSingleShot(true);
    responseTimer.setSingleShot(true);
    bool timedOut = false;
    bool interrupted = false;

    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&connectTimer, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(&responseTimer, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    const auto answerStarted = [&] {
        connectTimer.stop();
        responseTimer.start(timeouts.responseMs);
    };
    QObject::connect(reply, &QNetworkReply::requestSent, reply, answerStarted);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, answerStarted);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, answerStarted);
    QObject::connect(&interruptionPoll, &QTimer::timeout, reply, [&] {
        if (QThread::currentThread()->isInterruptionRequested()) {
            interrupted = true;
            reply->abort();
        }
    });

    connectTimer.start(timeouts.connectMs);
    interruptionPoll.start(50);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    connectTimer.stop();
    responseTimer.stop();
    interruptionPoll.stop();

    const QNetworkReply::NetworkError error = reply->error();
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()
        && (error == QNetworkReply::NoError || isStatusError(error));
    if (interrupted) {
        result.error = QStringLiteral("Cancelled");
    } else if (timedOut) {
        result.error = QStringLiteral("Time-out");
    } else if (!answered) {
        result.error = reply->errorString();
    } else if (!secure && error != QNetworkReply::NoError) {
        result.error = reply->errorString();
    } else {
        result.ok = true;
        result.body = QString::fromUtf8(reply->readAll());
    }
    delete reply;
    return result;
}

QString ServiceUrl(const QString& scheme, const QString& path)
{
    const QString override = qEnvironmentVariable(kServiceUrlVariable).trimmed();
    if (override.isEmpty())
        return scheme + QStringLiteral("://") + QLatin1String(kMakerHost) + path;
    QUrl base(override);
    base.setScheme(scheme);
    QString text = base.toString(QUrl::None);
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text + path;
}

QString MakerHomePage()
{
    return ServiceUrl(QStringLiteral("https"), QStringLiteral("/"));
}

PostResult PostWithFallback(const QString& path, const FormFields& fields, const PostTimeouts& timeouts)
{
    PostResult result = PostForm(ServiceUrl(QStringLiteral("https"), path), fields, timeouts);
    if (result.ok || QThread::currentThread()->isInterruptionRequested())
        return result;
    return PostForm(ServiceUrl(QStringLiteral("http"), path), fields, timeouts);
}
