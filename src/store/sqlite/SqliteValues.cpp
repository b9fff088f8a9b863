#include "store/sqlite/SqliteValues.h"

#include <QDate>
#include <QDateTime>

#include <sqlite3.h>

#include <limits>

QString SqliteMessage(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

DbValue SqliteColumnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return DbValue(QVariant(static_cast<qint64>(sqlite3_column_int64(stmt, column))));
    case SQLITE_FLOAT: {
        const double real = sqlite3_column_double(stmt, column);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return text ? DbValue(real, QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)))
                    : DbValue(QVariant(real));
    }
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return DbValue(QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, column))));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        return DbValue(QVariant(QByteArray(data, sqlite3_column_bytes(stmt, column))));
    }
    default:
        return DbValue();
    }
}

int SqliteBind(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(stmt, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(stmt, index, value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong unsignedValue = value.toULongLong();
        if (unsignedValue > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
            return sqlite3_bind_double(stmt, index, static_cast<double>(unsignedValue));
        return sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(unsignedValue));
    }
    case QMetaType::Float:
    case QMetaType::Double:
        return sqlite3_bind_double(stmt, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(stmt, index, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    default:
        break;
    }
    QString text;
    if (value.typeId() == QMetaType::QDateTime)
        text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    else if (value.typeId() == QMetaType::QDate)
        text = value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    else
        text = value.toString();
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text64(stmt, index, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                               SQLITE_TRANSIENT, SQLITE_UTF8);
}
