#pragma once

#include <QString>
#include <QVariant>

// One value read from a result row. Text follows the program's rules: an integer gives its digits, a real its
// decimal form with a point, NULL the empty text. As a number, NULL reads 0 and text is read with a point.
class DbValue
{
public:
    DbValue() = default;
    explicit DbValue(QVariant value) : m_value(std::move(value)) {}
    // A real value together with the engine's own text for it, so reading it as text gives what SQLite prints.
    DbValue(double real, QString engineText) : m_value(real), m_realText(std::move(engineText)) {}
    QString asText() const;
    qint64 asInteger() const;
    double asDouble() const;
    bool isNull() const { return m_value.isNull(); }
    const QVariant& raw() const { return m_value; }

private:
    QVariant m_value;
    QString m_realText;
};
