#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Looks at what a killed crash child left in the program folder, as the program would find it on its next
// start, and says what is wrong with it. Only the files are trusted; the child's log only says which sales
// were started.
struct CrashCheckResult
{
    QStringList problems;
    int whole = 0;   // started sales stored completely
    int absent = 0;  // started sales not stored at all
    int partial = 0; // started sales stored in part: must never happen
    int receiptFiles = 0;
    QStringList strayFiles; // files the program left beside its own (temporary files of unfinished writes)
    QString sessionId;      // the till's one session, once a sale opened it
};

// The till's session is checked as well: at most one, every record in it, its figures those of the records.
// Every started sale is checked by its totals (lines, units, stock, receipt number); the sales of runs from
// detailFromRun on also line by line (name, quantity, price, account, each product's stock).
CrashCheckResult CheckCrashState(const QString& programFolder, quint32 seed, const QSet<QString>& startedSales,
                                 int detailFromRun = 0);
