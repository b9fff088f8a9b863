#include "../pos/SaleFixture.h"
#include "cashup/TillSessions.h"

#include <QAction>
#include <QMenu>
#include <QTest>

// What crosses the main window: the session items of its menus, and "Close Till..." refused while the sale screen
// holds a sale.

namespace {

using TillMenusTest = SaleFixture;

TEST_F(TillMenusTest, TheMenusOfferTheSessionItemsAndCloseTillWaitsForTheSaleOnScreen)
{
    start();
    const std::pair<const char*, const char*> items[] = {
        {"OpenTill1", "Open Till..."}, {"CashIn1", "Cash In..."},    {"CashOut1", "Cash Out..."},
        {"CloseTill1", "Close Till..."}, {"XReport1", "X Report"}, {"ZReports1", "Z Reports..."}};
    for (const auto& [name, caption] : items) {
        SCOPED_TRACE(name);
        QAction* item = form->action(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), caption);
        const QString menu = QString::fromLatin1(name).startsWith('X') || QString::fromLatin1(name).startsWith('Z')
                                 ? QStringLiteral("Reports1")
                                 : QStringLiteral("Operations1");
        EXPECT_TRUE(form->findChild<QMenu*>(menu)->actions().contains(item));
    }

    Database& db = form->context().SQLConnection1();
    ASSERT_TRUE(OpenTill(db, 0, nullptr));
    addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
    scan(QStringLiteral("C1"));
    form->action(QStringLiteral("CloseTill1"))->trigger();
    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->text, "A sale is on the screen. Complete or clear it before closing the till.");
    EXPECT_FALSE(dialogs.modalWindows.contains("CloseTillWindow"));
    EXPECT_TRUE(OpenSessionOf(db, db.tillName()));

    // With the sale gone the count is asked for.
    QTest::keyClick(control<QWidget>("ListView1"), Qt::Key_Backspace);
    ASSERT_TRUE(screen().sale().empty());
    form->action(QStringLiteral("CloseTill1"))->trigger();
    EXPECT_TRUE(dialogs.modalWindows.contains("CloseTillWindow"));
}

} // namespace
