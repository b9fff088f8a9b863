#pragma once

#include "reports/SalesHistory.h"

#include <QDate>
#include <QString>

#include <vector>

// How many days one bar of the takings chart covers.
enum class TakingsGrouping { Day, Week, Month, Year };

// The days from first to last, both included; invalid when either is.
struct DaySpan
{
    QDate first;
    QDate last;

    bool isValid() const { return first.isValid() && last.isValid() && first <= last; }
    qint64 days() const { return isValid() ? first.daysTo(last) + 1 : 0; }
};

// One bar: the days it covers (both included, inside the span) and what was sold on them, price x quantity.
struct TakingsBucket
{
    QDate first;
    QDate last;
    bool weekend = false; // a bar of one day, a Saturday or a Sunday
    double payments = 0;
    double credits = 0;
};

struct TakingsSeries
{
    TakingsGrouping grouping = TakingsGrouping::Day;
    std::vector<TakingsBucket> buckets;
    bool withCredits = false;
    // Lines whose stored date cannot be read as one: in no bar, but still part of the list's totals.
    double undatedPayments = 0;
    double undatedCredits = 0;
};

// The days a history filter covers: its begin date to its end date. A range that ends at midnight stops the day
// before, so "today 00:00:00 .. tomorrow 00:00:00" is one day.
DaySpan HistoryDaySpan(const HistoryFilter& filter);

// Day bars up to 90 days, week bars (Monday to Sunday) up to two years, month bars up to twenty years, then years.
TakingsGrouping GroupingForDays(qint64 days);

// The takings of the loaded lines per bar over the filter's days (every day of it present, empty ones zero),
// widened to any line that lies outside them. Lines are placed by the date part of their stored text, so a clock
// change never moves one to another day. Credits are given only when the credit lines are charted too.
TakingsSeries BuildTakingsSeries(const HistoryFilter& filter, const PaymentsListModel& payments,
                                 const CreditsListModel* credits = nullptr);

// The short date format without its day ("dd.MM.yyyy" -> "MM.yyyy", "M/d/yy" -> "M/yy").
QString MonthFormatOf(const QString& shortDateFormat);

// The text under a bar: its first day in the short date format, its month, or its year.
QString TakingsBarLabel(const TakingsBucket& bucket, TakingsGrouping grouping, const QString& shortDateFormat);
// The days a bar covers, for its tooltip: the day, "first - last" for a week, or the month or year.
QString TakingsBarPeriod(const TakingsBucket& bucket, TakingsGrouping grouping, const QString& shortDateFormat);
