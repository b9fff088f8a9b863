#pragma once

#include "cashup/TillSessions.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Database;

// The Z reports closed from fromDay to untilDay, both included ("yyyy-MM-dd"; an empty day bounds nothing), of the
// till (every till when empty), by till and Z number. Nothing when the lookup failed (reported).
std::optional<std::vector<ZReport>> ZReportsOf(Database& db, const QString& fromDay, const QString& untilDay, const QString& till);

// A day across the tills: every Z closed that day, each till's own (by till and Z number), their sum, and the tills
// whose session open now was opened by the end of that day.
struct DaySummary
{
    QString day;
    std::vector<ZReport> tills;
    SessionFigures total;      // the sum of every figure of those Z reports (its texts empty)
    qint64 countedCents = 0;   // the sum of their counts
    qint64 differenceCents = 0;
    QStringList stillOpen;
};

// The summary of the day ("yyyy-MM-dd"); nothing when a lookup failed (reported).
std::optional<DaySummary> ReadDaySummary(Database& db, const QString& day);
