#include "store/postgres/PostgresStatementText.h"

QByteArray PostgresStatementText(const QString& sql, int* count)
{
    const QByteArray in = sql.toUtf8();
    QByteArray out;
    out.reserve(in.size() + 8);
    int largest = 0;
    char quote = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (quote) {
            out += c;
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            out += c;
            continue;
        }
        if (c != '?') {
            out += c;
            continue;
        }
        qsizetype end = i + 1;
        while (end < in.size() && in[end] >= '0' && in[end] <= '9')
            ++end;
        const int number = end > i + 1 ? in.mid(i + 1, end - i - 1).toInt() : largest + 1;
        largest = std::max(largest, number);
        out += '$' + QByteArray::number(number);
        i = end - 1;
    }
    if (count)
        *count = largest;
    return out;
}
