#pragma once

#include <QString>
#include <exception>

// An error that ends the current command; the main window's general error handler shows its message in a box
// captioned with the program's title ("'abc' is not a valid floating point value", "Printer not found!").
class AppError : public std::exception
{
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
