#include "cashup/TillSessions.h"

#include "i18n/Translator.h"
#include "store/Database.h"
#include "store/SaleRecordsTable.h"
#include "store/TillSessionsTable.h"
#include "store/Transaction.h"
#include "store/ZReportsTable.h"

namespace {

// Opens the till's next session with the float; nothing when refused (reported).
std::optional<QString> OpenNextSession(Database& db, const TillSessionsTable::Newest& newest, const QString& openedAt,
                                       qint64 floatCents)
{
    const TillSessionRow session{NewSaleId(), db.tillName(), newest.session ? newest.session->sequence + 1 : 1,
                                 openedAt, floatCents};
    if (!TillSessionsTable(db).insert(session))
        return std::nullopt;
    return session.sessionId;
}

void Refuse(QString* refusal, const QString& reason)
{
    if (refusal)
        *refusal = reason;
}

} // namespace

std::optional<QString> EnsureOpenSession(Database& db, const QString& openedAt)
{
    const auto newest = TillSessionsTable(db).newestOf(db.tillName());
    if (!newest)
        return std::nullopt;
    if (newest->open)
        return newest->session->sessionId;
    return OpenNextSession(db, *newest, openedAt, 0);
}

std::optional<QString> OpenSessionOf(Database& db, const QString& till)
{
    const auto newest = TillSessionsTable(db).newestOf(till);
    if (!newest || !newest->open)
        return std::nullopt;
    return newest->session->sessionId;
}

bool OpenTill(Database& db, qint64 floatCents, QString* refusal)
{
    if (floatCents < 0) {
        Refuse(refusal, TranslateText("The float cannot be less than zero."));
        return false;
    }
    Transaction transaction(db);
    const auto newest = transaction.active() ? TillSessionsTable(db).newestOf(db.tillName()) : std::nullopt;
    if (newest && newest->open) {
        Refuse(refusal, TranslateText("The till is open already."));
        return false;
    }
    if (!newest || !OpenNextSession(db, *newest, db.localNow(), floatCents) || !transaction.commit()) {
        Refuse(refusal, TranslateText("The till could not be opened."));
        return false;
    }
    return true;
}

bool RecordCashMovement(Database& db, CashMovementKind kind, qint64 cents, const QString& reason)
{
    if (kind == CashMovementKind::Drawer)
        cents = 0;
    else if (cents <= 0)
        return false;
    Transaction transaction(db);
    if (!transaction.active())
        return false;
    const QString now = db.localNow();
    const std::optional<QString> session = EnsureOpenSession(db, now);
    return session && CashMovementsTable(db).insert({NewSaleId(), *session, db.tillName(), now, kind, cents, reason})
           && transaction.commit();
}

std::optional<ZReport> CloseTill(Database& db, qint64 countedCents, QString* refusal)
{
    if (countedCents < 0) {
        Refuse(refusal, TranslateText("The count cannot be less than zero."));
        return std::nullopt;
    }
    Transaction transaction(db);
    const auto newest = transaction.active() ? TillSessionsTable(db).newestOf(db.tillName()) : std::nullopt;
    if (newest && !newest->open) {
        Refuse(refusal, TranslateText("The till has no open session."));
        return std::nullopt;
    }
    std::optional<SessionFigures> figures;
    std::optional<qint64> lastNumber;
    if (newest) {
        figures = ReadSessionFigures(db, newest->session->sessionId);
        lastNumber = ZReportsTable(db).lastNumberOf(db.tillName());
    }
    if (!figures || !lastNumber) {
        Refuse(refusal, TranslateText("The till could not be closed."));
        return std::nullopt;
    }
    ZReport report{*lastNumber + 1, db.localNow(), *figures, countedCents, countedCents - figures->expectedCashCents};
    if (!ZReportsTable(db).insert(report) || !transaction.commit()) {
        Refuse(refusal, TranslateText("The till could not be closed."));
        return std::nullopt;
    }
    return report;
}
