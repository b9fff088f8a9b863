#pragma once

#include "store/Database.h"
#include "store/TillSessionFigures.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Every statement on z_reports and z_report_tenders. A Z report is only ever added, once per session, numbered
// 1, 2, ... on its till; the database refuses to change or delete one. Failures are reported by the database's
// error reporter.
class ZReportsTable
{
public:
    explicit ZReportsTable(Database& db) : m_db(db) {}

    // Stores the report and its tender lines (in the caller's transaction); false at the first statement refused.
    bool insert(const ZReport& report);
    // The highest Z number of the till, 0 before its first; nothing when the lookup failed (reported).
    std::optional<qint64> lastNumberOf(const QString& till);
    // The reports closed at or after from and before until (times compared as text with closed_at, so a bare date
    // bounds whole days; an empty bound is no bound), of the till (every till when empty), by till and Z number,
    // with their tender lines. Nothing when the lookup failed (reported).
    std::optional<std::vector<ZReport>> closedBetween(const QString& from, const QString& until, const QString& till);
    // The tills that closed a Z, in order; empty when the lookup failed (reported).
    QStringList tills();

private:
    Database& m_db;
};
