#include "reports/TakingsSeries.h"

#include <QStringView>

#include <algorithm>

namespace {

constexpr qint64 kLongestDayBars = 90;
constexpr qint64 kLongestWeekBars = 2 * 366;
constexpr qint64 kLongestMonthBars = 20 * 366;

int digitsAt(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The date part of a stored date-time ("yyyy-MM-dd ..."), read without any time zone; invalid when it is none.
QDate dayOf(QStringView stored)
{
    if (stored.size() < 10 || stored[4] != u'-' || stored[7] != u'-')
        return {};
    const int year = digitsAt(stored, 0, 4);
    const int month = digitsAt(stored, 5, 2);
    const int day = digitsAt(stored, 8, 2);
    if (year < 1 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day); // invalid for 2025-02-30
}

// Reads the day of each credit line once per run of lines sharing a date: the lines come in date order, and the
// lines of one sale share their date text.
class CreditDays
{
public:
    QDate operator()(const CreditsListModel::Line& line)
    {
        const QStringView prefix = QStringView(line.date).left(10);
        if (!m_started || prefix != QStringView(m_prefix)) {
            m_started = true;
            m_prefix = prefix.toString();
            m_day = dayOf(line.date);
        }
        return m_day;
    }

private:
    bool m_started = false;
    QString m_prefix;
    QDate m_day;
};

// Reads the day of each payment line once per sale: the lines of one sale share their date's place.
class PaymentDays
{
public:
    explicit PaymentDays(const TextPool& texts) : m_texts(texts) {}

    QDate operator()(const PaymentsListModel::Line& line)
    {
        if (!m_started || line.date != m_place) {
            m_started = true;
            m_place = line.date;
            m_day = dayOf(m_texts.text(line.date));
        }
        return m_day;
    }

private:
    const TextPool& m_texts;
    bool m_started = false;
    quint32 m_place = 0;
    QDate m_day;
};

QDate mondayOf(const QDate& day)
{
    return day.addDays(1 - day.dayOfWeek());
}

int monthNumber(const QDate& day)
{
    return day.year() * 12 + day.month() - 1;
}

// The bar a day falls in, counted from the span's first bar.
qint64 barIndex(const QDate& day, const DaySpan& span, TakingsGrouping grouping)
{
    switch (grouping) {
    case TakingsGrouping::Day: return span.first.daysTo(day);
    case TakingsGrouping::Week: return mondayOf(span.first).daysTo(mondayOf(day)) / 7;
    case TakingsGrouping::Month: return monthNumber(day) - monthNumber(span.first);
    case TakingsGrouping::Year: return day.year() - span.first.year();
    }
    return 0;
}

// The last day of the bar that starts on this day.
QDate barEnd(const QDate& first, TakingsGrouping grouping)
{
    switch (grouping) {
    case TakingsGrouping::Day: return first;
    case TakingsGrouping::Week: return mondayOf(first).addDays(6);
    case TakingsGrouping::Month: return QDate(first.year(), first.month(), first.daysInMonth());
    case TakingsGrouping::Year: return QDate(first.year(), 12, 31);
    }
    return first;
}

std::vector<TakingsBucket> emptyBars(const DaySpan& span, TakingsGrouping grouping)
{
    std::vector<TakingsBucket> bars;
    for (QDate first = span.first; first.isValid() && first <= span.last;) {
        TakingsBucket bar;
        bar.first = first;
        bar.last = std::min(barEnd(first, grouping), span.last);
        bar.weekend = grouping == TakingsGrouping::Day && first.dayOfWeek() >= Qt::Saturday;
        bars.push_back(bar);
        first = bar.last.addDays(1);
    }
    return bars;
}

template <typename Line, typename Days>
void widenToLines(DaySpan& span, const std::vector<Line>& lines, Days readDay)
{
    for (const Line& line : lines) {
        const QDate day = readDay(line);
        if (!day.isValid())
            continue;
        if (!span.first.isValid() || day < span.first)
            span.first = day;
        if (!span.last.isValid() || day > span.last)
            span.last = day;
    }
}

template <typename Line, typename Days>
void addLines(TakingsSeries& series, const DaySpan& span, const std::vector<Line>& lines, Days readDay,
              double TakingsBucket::*amount, double& undated)
{
    for (const Line& line : lines) {
        const QDate day = readDay(line);
        if (!day.isValid()) {
            undated += line.total;
            continue;
        }
        series.buckets[size_t(barIndex(day, span, series.grouping))].*amount += line.total;
    }
}

} // namespace

DaySpan HistoryDaySpan(const HistoryFilter& filter)
{
    DaySpan span{dayOf(filter.begin), dayOf(filter.end)};
    if (span.isValid() && span.last > span.first && QStringView(filter.end).mid(11) == u"00:00:00")
        span.last = span.last.addDays(-1);
    return span;
}

TakingsGrouping GroupingForDays(qint64 days)
{
    if (days <= kLongestDayBars)
        return TakingsGrouping::Day;
    if (days <= kLongestWeekBars)
        return TakingsGrouping::Week;
    if (days <= kLongestMonthBars)
        return TakingsGrouping::Month;
    return TakingsGrouping::Year;
}

TakingsSeries BuildTakingsSeries(const HistoryFilter& filter, const PaymentsListModel& payments,
                                 const CreditsListModel* credits)
{
    DaySpan span = HistoryDaySpan(filter);
    if (!span.isValid())
        span = DaySpan();
    widenToLines(span, payments.lines(), PaymentDays(payments.texts()));
    if (credits)
        widenToLines(span, credits->lines(), CreditDays());

    TakingsSeries series;
    series.withCredits = credits != nullptr;
    series.grouping = GroupingForDays(span.days());
    series.buckets = emptyBars(span, series.grouping);
    addLines(series, span, payments.lines(), PaymentDays(payments.texts()), &TakingsBucket::payments,
             series.undatedPayments);
    if (credits)
        addLines(series, span, credits->lines(), CreditDays(), &TakingsBucket::credits, series.undatedCredits);
    return series;
}

QString MonthFormatOf(const QString& shortDateFormat)
{
    const QString& f = shortDateFormat;
    qsizetype start = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < f.size(); ++i) {
        if (f[i] == u'\'')
            quoted = !quoted;
        else if (!quoted && f[i] == u'd') {
            start = i;
            break;
        }
    }
    if (start < 0)
        return f;
    qsizetype end = start;
    while (end < f.size() && f[end] == u'd')
        ++end;
    const auto isSeparator = [&f](qsizetype i) {
        return i >= 0 && i < f.size() && !f[i].isLetter() && f[i] != u'\'';
    };
    QString month = f;
    if (isSeparator(end))
        month.remove(start, end - start + 1);
    else if (isSeparator(start - 1))
        month.remove(start - 1, end - start + 1);
    else
        month.remove(start, end - start);
    month = month.trimmed();
    return month.isEmpty() ? QStringLiteral("MM.yyyy") : month;
}

QString TakingsBarLabel(const TakingsBucket& bucket, TakingsGrouping grouping, const QString& shortDateFormat)
{
    switch (grouping) {
    case TakingsGrouping::Day:
    case TakingsGrouping::Week: return bucket.first.toString(shortDateFormat);
    case TakingsGrouping::Month: return bucket.first.toString(MonthFormatOf(shortDateFormat));
    case TakingsGrouping::Year: return bucket.first.toString(QStringLiteral("yyyy"));
    }
    return {};
}

QString TakingsBarPeriod(const TakingsBucket& bucket, TakingsGrouping grouping, const QString& shortDateFormat)
{
    if (grouping == TakingsGrouping::Week && bucket.last != bucket.first)
        return bucket.first.toString(shortDateFormat) + QStringLiteral(" - ") + bucket.last.toString(shortDateFormat);
    return TakingsBarLabel(bucket, grouping, shortDateFormat);
}
