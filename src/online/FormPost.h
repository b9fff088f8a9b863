#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// One form field: name and value, sent in the order of the list.
using FormFields = QList<QPair<QString, QString>>;

struct PostTimeouts
{
    // Until the request has been sent (name lookup, connection, TLS handshake).
    int connectMs = 3000;
    // The longest silence while waiting for the answer.
    int responseMs = 3000;
};

struct PostResult
{
    bool ok = false;   // false on any transport problem (and, over plain http, on an error status)
    QString body;      // the answer, decoded as UTF-8
    QString error;     // what went wrong when !ok
};

// application/x-www-form-urlencoded in UTF-8: name=value pairs joined by '&', a blank as '+', every byte other
// than letters, digits and * - . _ as %XX.
QByteArray EncodeForm(const FormFields& fields);

// Posts the form and waits for the answer. An https address is asked with "Connection: close" and an error
// status still counts as an answer; over plain http an error status is a failure. The wait runs a local event
// loop that leaves user input queued, so the calling window does not react meanwhile. Works on any thread;
// on a QThread whose interruption has been requested the post is abandoned.
PostResult PostForm(const QString& url, const FormFields& fields, const PostTimeouts& timeouts);

// The address of a page of the maker's web server for the given scheme, e.g. https://www.zelkora.com/php/x.php.
// The environment variable QUENVALE_SERVICE_URL (such as http://127.0.0.1:8080 or http://host/prefix) replaces
// host, port and leading path; the scheme stays the one asked for. So with a plain http server behind the
// variable the https attempt reaches it with a TLS handshake and fails, and the http attempt gets through.
QString ServiceUrl(const QString& scheme, const QString& path);
// The maker's home page (the same host rule).
QString MakerHomePage();

// Posts to the page over https first; when that fails, once more over http.
PostResult PostWithFallback(const QString& path, const FormFields& fields, const PostTimeouts& timeouts);
