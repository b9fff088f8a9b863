#pragma once

#include "reports/HistoryTexts.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QStringList>

#include <vector>

class CsvWriter;
class Database;
class LongTaskProgress;

// One end of the history's date-time range: "yyyy-MM-dd HH:mm:ss", compared as text with the stored date-times.
QString HistoryBound(const QDate& date, const QTime& time);

// The filters of one load. An empty product or customer means all of them; both bounds are included.
struct HistoryFilter
{
    QString product;
    QString customer; // credits only
    QString begin;
    QString end;
};

// The common part of the payments and credits lists: rows are kept as compact records and their cells are
// formatted when they are shown, so a list of a few hundred thousand lines stays quick.
class HistoryListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    HistoryListModel(int columns, QObject* parent) : QAbstractTableModel(parent), m_columns(columns) {}

    // Whether the last column, the till that sold the line, shows: only for a database several tills share.
    bool showsTill() const { return m_showsTill; }

    // The column titles as written in the CSV header (English, untranslated).
    virtual QStringList csvHeader() const = 0;
    // The text a cell shows.
    virtual QString text(int row, int column) const = 0;
    // The id of a row, for deleting it.
    virtual qint64 id(int row) const = 0;

    void setTitles(const QStringList& titles);
    QStringList rowTexts(int row) const;
    // Writes the header and every row, top to bottom, as shown.
    void writeCsv(CsvWriter& writer) const;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // Called between beginResetModel and endResetModel.
    void setShowsTill(bool shows) { m_showsTill = shows; }
    QStringList withTill(QStringList header) const;

private:
    int m_columns;
    bool m_showsTill = false;
    QStringList m_titles;
};

// The payment lines of table odemeler.
class PaymentsListModel : public HistoryListModel
{
    Q_OBJECT

public:
    enum Column { Date, Barcode, Product, Price, Quantity, Total, Id, Receipt, Till, ColumnCount };

    explicit PaymentsListModel(QObject* parent = nullptr) : HistoryListModel(ColumnCount, parent) {}

    struct Line;
    struct Rows;

    // Replaces the rows with the payments of the range, in date-time order. On failure the list is empty and
    // error holds the engine's message.
    bool load(Database& db, const HistoryFilter& filter, QString* error = nullptr);
    // The rows load() shows, read without touching the model, so a worker thread can read them. Each row is a
    // step of the progress; false when reading failed (error holds the engine's message) or was cancelled.
    static bool read(Database& db, const HistoryFilter& filter, Rows& rows, QString* error = nullptr,
                     LongTaskProgress* progress = nullptr);
    // Shows rows read for the filter.
    void setRows(const HistoryFilter& filter, Rows&& rows);
    void clear();
    double grandTotal() const { return m_grandTotal; }
    // The filter of the last load (empty after clear).
    const HistoryFilter& filter() const { return m_filter; }

    QStringList csvHeader() const override;
    QString text(int row, int column) const override;
    qint64 id(int row) const override { return m_lines[size_t(row)].id; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;

    // A year of a big shop is half a million lines: a line holds the places of its texts in a pool that keeps
    // each repeated text (barcode, product, quantity, receipt number, date) once.
    struct Line
    {
        quint32 date = 0;
        quint32 barcode = 0;
        quint32 product = 0;
        quint32 quantity = 0;
        quint32 receipt = 0;
        quint32 till = 0;
        double price = 0;
        double total = 0;
        qint64 id = 0;
    };
    struct Rows
    {
        std::vector<Line> lines;
        TextPool texts; // what the lines' text places refer to
        double grandTotal = 0;
        bool tills = false; // read from a shared database: each line knows its till
    };

    const std::vector<Line>& lines() const { return m_lines; }
    const TextPool& texts() const { return m_texts; }

private:
    std::vector<Line> m_lines;
    TextPool m_texts;
    HistoryFilter m_filter;
    double m_grandTotal = 0;
};

// The credit lines of table veresiyeler.
class CreditsListModel : public HistoryListModel
{
    Q_OBJECT

public:
    enum Column { Date, Customer, Barcode, Product, Price, Quantity, Total, Paid, Id, Till, ColumnCount };

    explicit CreditsListModel(QObject* parent = nullptr) : HistoryListModel(ColumnCount, parent) {}

    // The word shown in "Paid" for a line marked paid without a settlement date (the translated "PAID").
    void setPaidWord(const QString& word) { m_paidWord = word; }

    struct Line;
    struct Rows;

    // Replaces the rows with the credit lines sold in the range, in date-time order. On failure the list is
    // empty and error holds the engine's message.
    bool load(Database& db, const HistoryFilter& filter, QString* error = nullptr);
    // As PaymentsListModel::read and setRows.
    static bool read(Database& db, const HistoryFilter& filter, Rows& rows, QString* error = nullptr,
                     LongTaskProgress* progress = nullptr);
    void setRows(const HistoryFilter& filter, Rows&& rows);
    void clear();
    double paidTotal() const { return m_paidTotal; }
    double openTotal() const { return m_openTotal; }
    // The filter of the last load (empty after clear).
    const HistoryFilter& filter() const { return m_filter; }

    QStringList csvHeader() const override;
    QString text(int row, int column) const override;
    qint64 id(int row) const override { return m_lines[size_t(row)].id; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;

    struct Line
    {
        QString date;
        QString customer;
        QString barcode;
        QString product;
        QString quantity;
        QString paidAt; // the settlement date-time; empty for open lines
        QString till;
        double price = 0;
        double total = 0;
        qint64 id = 0;
        bool open = true;
    };
    struct Rows
    {
        std::vector<Line> lines;
        double paidTotal = 0;
        double openTotal = 0;
        bool tills = false;
    };

    const std::vector<Line>& lines() const { return m_lines; }

private:
    std::vector<Line> m_lines;
    HistoryFilter m_filter;
    QString m_paidWord = QStringLiteral("PAID");
    double m_paidTotal = 0;
    double m_openTotal = 0;
};

// How a reprint shows money, dates and times.
struct ReprintFormat
{
    QString currencySymbol;
    QString shortDateFormat;
    QString longTimeFormat;
};

// The reprint of a payment line from its cells (as PaymentsListModel shows them): its receipt number, one list
// line product (price) * quantity, the total read back from the price and quantity cells, and the line's
// date-time. Raises AppError when a cell cannot be read as a number or date-time.
QString RenderPaymentReprint(const QString& templateText, const QStringList& cells, const ReprintFormat& format);
// The reprint of a credit line from its cells (as CreditsListModel shows them). A credit line has no receipt
// number: "[RECEIPTNO]" becomes "-"; the total is written in its shortest form (7.5); the date and time are
// those of the sale.
QString RenderCreditReprint(const QString& templateText, const QStringList& cells, const ReprintFormat& format);

// A stored date-time text (YYYY-MM-DD HH:MM:SS, or a bare date); raises AppError when it is not one.
QDateTime StoredDateTime(const QString& text);
