#include "reports/SalesHistory.h"

#include "core/AppError.h"
#include "core/LongTaskProgress.h"
#include "pos/Money.h"
#include "pos/Receipt.h"
#include "reports/CsvFile.h"
#include "store/CreditLinesTable.h"
#include "store/PaymentsTable.h"

#include <tuple>

namespace {

// Shares the text of a column with the row before when it repeats (the lines of one sale share their date-time,
// receipt number and customer; quantities are mostly the same few values). A full dictionary of every distinct
// text would save a little more memory but doubles the time a long list takes to load.
class RepeatSharing
{
public:
    QString operator()(const QString& text)
    {
        if (text != m_previous)
            m_previous = text;
        return m_previous;
    }

private:
    QString m_previous;
};

// Walks a prepared statement; false with the engine's message when it could not be prepared or stepped, and
// false with no message when the progress was cancelled.
template <typename RowFunction>
bool walk(Statement statement, QString* error, LongTaskProgress* progress, RowFunction row)
{
    if (!statement.isValid()) {
        if (error)
            *error = QString(); // prepare has reported it
        return false;
    }
    while (statement.next()) {
        if (progress) {
            if (progress->cancelled()) {
                if (error)
                    error->clear();
                return false;
            }
            progress->advance();
        }
        row(statement);
    }
    if (!statement.error().isEmpty()) {
        if (error)
            *error = statement.error();
        return false;
    }
    return true;
}

} // namespace

QString HistoryBound(const QDate& date, const QTime& time)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm:ss"));
}

// ---- HistoryListModel ----

void HistoryListModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

QStringList HistoryListModel::rowTexts(int row) const
{
    QStringList texts;
    const int columns = columnCount();
    texts.reserve(columns);
    for (int column = 0; column < columns; ++column)
        texts << text(row, column);
    return texts;
}

void HistoryListModel::writeCsv(CsvWriter& writer) const
{
    writer.addLine(csvHeader());
    const int rows = rowCount();
    for (int row = 0; row < rows; ++row)
        writer.addLine(rowTexts(row));
}

QStringList HistoryListModel::withTill(QStringList header) const
{
    if (m_showsTill)
        header << QStringLiteral("Till");
    return header;
}

int HistoryListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_showsTill ? m_columns : m_columns - 1;
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return text(index.row(), index.column());
}

QVariant HistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section < m_titles.size() ? QVariant(m_titles.at(section)) : QVariant();
}

// ---- PaymentsListModel ----

QStringList PaymentsListModel::csvHeader() const
{
    return withTill({QStringLiteral("Date"), QStringLiteral("Barcode"), QStringLiteral("Product"),
                     QStringLiteral("Price"), QStringLiteral("Quantity"), QStringLiteral("Total"), QStringLiteral("ID"),
                     QStringLiteral("Receipt")});
}

int PaymentsListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QString PaymentsListModel::text(int row, int column) const
{
    const Line& line = m_lines[size_t(row)];
    switch (column) {
    case Date: return m_texts.text(line.date);
    case Barcode: return m_texts.text(line.barcode);
    case Product: return m_texts.text(line.product);
    case Price: return MoneyText(line.price);
    case Quantity: return m_texts.text(line.quantity);
    case Total: return MoneyText(line.total);
    case Id: return QString::number(line.id);
    case Receipt: return m_texts.text(line.receipt);
    case Till: return showsTill() ? m_texts.text(line.till) : QString();
    default: return {};
    }
}

void PaymentsListModel::clear()
{
    beginResetModel();
    m_lines.clear();
    m_lines.shrink_to_fit();
    m_texts = TextPool();
    m_filter = HistoryFilter();
    m_grandTotal = 0;
    endResetModel();
}

bool PaymentsListModel::load(Database& db, const HistoryFilter& filter, QString* error)
{
    Rows rows;
    const bool ok = read(db, filter, rows, error);
    setRows(filter, ok ? std::move(rows) : Rows());
    return ok;
}

bool PaymentsListModel::read(Database& db, const HistoryFilter& filter, Rows& rows, QString* error,
                             LongTaskProgress* progress)
{
    rows = Rows();
    ProductTexts products(rows.texts);
    FewTexts quantity(rows.texts);
    RunTexts receipt(rows.texts);
    FewTexts till(rows.texts);
    RunTexts date(rows.texts);
    rows.tills = db.recordsTill();
    const bool ok = walk(PaymentsTable(db).historyRows(filter.product, filter.begin, filter.end), error, progress,
                         [&](const Statement& row) {
        Line line;
        line.id = row.integer(0);
        line.receipt = receipt(row.utf8(1));
        std::tie(line.barcode, line.product) = products(row.utf8(2), row.utf8(3));
        line.price = row.real(4);
        line.total = line.price * row.real(5); // read as a number before the engine turns it into text
        line.quantity = quantity(row.utf8(5));
        line.date = date(row.utf8(6));
        if (rows.tills)
            line.till = till(row.utf8(7));
        rows.grandTotal += line.total;
        rows.lines.push_back(std::move(line));
    });
    if (!ok)
        rows = Rows();
    return ok;
}

void PaymentsListModel::setRows(const HistoryFilter& filter, Rows&& rows)
{
    beginResetModel();
    m_filter = filter;
    m_lines = std::move(rows.lines);
    m_texts = std::move(rows.texts);
    m_grandTotal = rows.grandTotal;
    setShowsTill(rows.tills);
    endResetModel();
}

// ---- CreditsListModel ----

QStringList CreditsListModel::csvHeader() const
{
    return withTill({QStringLiteral("Date"), QStringLiteral("Customer"), QStringLiteral("Barcode"),
                     QStringLiteral("Product"), QStringLiteral("Price"), QStringLiteral("Quantity"),
                     QStringLiteral("Total"), QStringLiteral("Paid"), QStringLiteral("ID")});
}

int CreditsListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QString CreditsListModel::text(int row, int column) const
{
    const Line& line = m_lines[size_t(row)];
    switch (column) {
    case Date: return line.date;
    case Customer: return line.customer;
    case Barcode: return line.barcode;
    case Product: return line.product;
    case Price: return MoneyText(line.price);
    case Quantity: return line.quantity;
    case Total: return MoneyText(line.total);
    case Paid:
        if (line.open)
            return QStringLiteral("-");
        return line.paidAt.isEmpty() ? m_paidWord : line.paidAt;
    case Id: return QString::number(line.id);
    case Till: return line.till;
    default: return {};
    }
}

void CreditsListModel::clear()
{
    beginResetModel();
    m_lines.clear();
    m_lines.shrink_to_fit();
    m_filter = HistoryFilter();
    m_paidTotal = 0;
    m_openTotal = 0;
    endResetModel();
}

bool CreditsListModel::load(Database& db, const HistoryFilter& filter, QString* error)
{
    Rows rows;
    const bool ok = read(db, filter, rows, error);
    setRows(filter, ok ? std::move(rows) : Rows());
    return ok;
}

bool CreditsListModel::read(Database& db, const HistoryFilter& filter, Rows& rows, QString* error,
                            LongTaskProgress* progress)
{
    rows = Rows();
    RepeatSharing customer, barcode, product, quantity, paidAt, date, till;
    rows.tills = db.recordsTill();
    const bool ok = walk(CreditLinesTable(db).historyRows(filter.customer, filter.product, filter.begin, filter.end),
                         error, progress, [&](const Statement& row) {
        Line line;
        line.id = row.integer(0);
        line.customer = customer(row.text(1));
        line.barcode = barcode(row.text(2));
        line.product = product(row.text(3));
        line.price = row.real(4);
        const DbValue count = row.value(5);
        line.quantity = quantity(count.asText());
        line.total = line.price * count.asDouble();
        line.open = row.text(6) == QLatin1String("0");
        if (!line.open)
            line.paidAt = paidAt(row.text(7));
        line.date = date(row.text(8));
        if (rows.tills)
            line.till = till(row.text(9));
        (line.open ? rows.openTotal : rows.paidTotal) += line.total;
        rows.lines.push_back(std::move(line));
    });
    if (!ok)
        rows = Rows();
    return ok;
}

void CreditsListModel::setRows(const HistoryFilter& filter, Rows&& rows)
{
    beginResetModel();
    m_filter = filter;
    m_lines = std::move(rows.lines);
    m_paidTotal = rows.paidTotal;
    m_openTotal = rows.openTotal;
    setShowsTill(rows.tills);
    endResetModel();
}

// ---- reprints ----

namespace {

struct ReprintLine
{
    QString listText;
    double total = 0;
};

ReprintLine reprintLine(const QString& product, const QString& priceCell, const QString& quantityCell)
{
    return {ReceiptListLine(product, priceCell, quantityCell), ReadNumber(priceCell) * ReadNumber(quantityCell)};
}

} // namespace

QString RenderPaymentReprint(const QString& templateText, const QStringList& cells, const ReprintFormat& format)
{
    using C = PaymentsListModel::Column;
    const ReprintLine line = reprintLine(cells.at(C::Product), cells.at(C::Price), cells.at(C::Quantity));
    const QDateTime soldAt = StoredDateTime(cells.at(C::Date));
    return RenderReceipt(templateText, cells.at(C::Receipt), line.listText, line.total, soldAt,
                         format.currencySymbol, format.shortDateFormat, format.longTimeFormat);
}

QString RenderCreditReprint(const QString& templateText, const QStringList& cells, const ReprintFormat& format)
{
    using C = CreditsListModel::Column;
    const ReprintLine line = reprintLine(cells.at(C::Product), cells.at(C::Price), cells.at(C::Quantity));
    const QDateTime soldAt = StoredDateTime(cells.at(C::Date));
    QString text = templateText;
    text.replace(QStringLiteral("[TOTAL]"), format.currencySymbol + QLatin1Char(' ') + GeneralNumberText(line.total),
                 Qt::CaseInsensitive);
    return RenderReceipt(text, QStringLiteral("-"), line.listText, line.total, soldAt, format.currencySymbol,
                         format.shortDateFormat, format.longTimeFormat);
}

QDateTime StoredDateTime(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const char* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime dateTime = QDateTime::fromString(trimmed, QLatin1String(format));
        if (dateTime.isValid())
            return dateTime;
    }
    throw AppError(QStringLiteral("'%1' is not a valid date and time").arg(text));
}
