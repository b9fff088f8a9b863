#include "store/DbValue.h"

#include <cmath>
#include <limits>

namespace {

// What SQLite prints for a real ("%!.15g": at least one digit after the point, e.g. 18.0, 1.0e+20). Used only
// for values that did not come from the engine with its own text.
QString RealText(double value)
{
    if (std::isnan(value))
        return QString();
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    QString text = QString::number(value, 'g', 15);
    const qsizetype exponent = text.indexOf(QLatin1Char('e'));
    const QString mantissa = exponent < 0 ? text : text.left(exponent);
    if (!mantissa.contains(QLatin1Char('.'))) {
        if (exponent < 0)
            text += QStringLiteral(".0");
        else
            text.insert(exponent, QStringLiteral(".0"));
    }
    return text;
}

qint64 TruncateToInteger(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(value);
}

double ParseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

} // namespace

QString DbValue::asText() const
{
    switch (m_value.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::Double:
    case QMetaType::Float:
        return m_realText.isNull() ? RealText(m_value.toDouble()) : m_realText;
    case QMetaType::QByteArray:
        return QString::fromUtf8(m_value.toByteArray());
    default:
        return m_value.isNull() ? QString() : m_value.toString();
    }
}

qint64 DbValue::asInteger() const
{
    if (m_value.isNull())
        return 0;
    switch (m_value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return TruncateToInteger(m_value.toDouble());
    case QMetaType::QString: {
        bool ok = false;
        const qint64 value = m_value.toString().trimmed().toLongLong(&ok);
        return ok ? value : 0;
    }
    case QMetaType::QByteArray:
        return 0;
    default:
        return m_value.toLongLong();
    }
}

double DbValue::asDouble() const
{
    if (m_value.isNull())
        return 0.0;
    switch (m_value.typeId()) {
    case QMetaType::QString:
        return ParseNumber(m_value.toString());
    case QMetaType::QByteArray:
        return ParseNumber(QString::fromUtf8(m_value.toByteArray()));
    default:
        return m_value.toDouble();
    }
}
