#include "pos/Receipt.h"
#include "pos/TenderTexts.h"
#include "store/TenderTypesTable.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kSaleTime(QDate(2025, 1, 31), QTime(14, 5, 9));

QString Render(const QStringList& templateLines, const QString& list, double total = 6.2)
{
    return RenderReceipt(ReceiptTemplateText(templateLines), QStringLiteral("12"), list, total, kSaleTime,
                         QStringLiteral("$"), QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"));
}

TEST(RenderReceipt, FillsTheSixPlaceholdersAndEndsWithALineBreak)
{
    const QStringList templateLines = {"Welcome to Our Shop", "[DATETIME]", "", "Receipt Number: [RECEIPTNO]", "",
                                       "[LIST]", "", "Total: [TOTAL]", "", "Thank you"};
    const QString list = ReceiptListLine(QStringLiteral("COFFEE"), QStringLiteral("2.50"), 2) + QStringLiteral("\r\n")
                         + ReceiptListLine(QStringLiteral("MILK"), QStringLiteral("1.20"), 1);
    EXPECT_EQ(Render(templateLines, list),
              QStringLiteral("Welcome to Our Shop\r\n31.01.2025 14:05:09\r\n\r\nReceipt Number: 12\r\n\r\n"
                             "COFFEE (2.50) * 2\r\nMILK (1.20) * 1\r\n\r\nTotal: $ 6.20\r\n\r\nThank you\r\n"));
}

TEST(RenderReceipt, PlaceholdersIgnoreLetterCaseAndApplyInOrderOverEarlierValues)
{
    EXPECT_EQ(Render({"No [receiptno] / [Date] [time]", "[Total]"}, QString()),
              QStringLiteral("No 12 / 31.01.2025 14:05:09\r\n$ 6.20\r\n"));
    // A product name holding a later placeholder is filled in as well; an earlier one stays as typed.
    EXPECT_EQ(Render({"[LIST]"}, QStringLiteral("BOX [date] [RECEIPTNO]")),
              QStringLiteral("BOX 31.01.2025 [RECEIPTNO]\r\n"));
    // Without [LIST] the lines are simply left out; the total is still given.
    EXPECT_EQ(Render({"Total: [TOTAL]"}, QStringLiteral("TEA (1.00) * 1"), 1), QStringLiteral("Total: $ 1.00\r\n"));
}

TEST(RenderReceipt, TellsHowTheSaleWasPaidAndItsRecordsIdWhereTheTemplateAsks)
{
    const QString tenders = TendersReceiptText({{kCardTender, 300, std::nullopt, std::nullopt},
                                                {kCashTender, 320, 500, 180}},
                                               QStringLiteral("$"));
    EXPECT_EQ(tenders, QStringLiteral("Card: $ 3.00\r\nCash: $ 5.00\r\nChange: $ 1.80"));
    EXPECT_EQ(RenderReceipt(ReceiptTemplateText({"Total: [TOTAL]", "[tenders]", "Sale [SALEID]"}), QStringLiteral("12"),
                            QString(), 6.2, kSaleTime, QStringLiteral("$"), QStringLiteral("dd.MM.yyyy"),
                            QStringLiteral("HH:mm:ss"), tenders, QStringLiteral("0f8e2c1a-5b7d-4e3f-9a6c-2d1b0e9f8a7c")),
              QStringLiteral("Total: $ 6.20\r\nCard: $ 3.00\r\nCash: $ 5.00\r\nChange: $ 1.80\r\n"
                             "Sale 0f8e2c1a-5b7d-4e3f-9a6c-2d1b0e9f8a7c\r\n"));
    // Cash whose handing over was not typed, on account, and a shop's own type: no change line.
    EXPECT_EQ(TendersReceiptText({{kCashTender, 620, std::nullopt, std::nullopt}}, QStringLiteral("$")),
              QStringLiteral("Cash: $ 6.20"));
    EXPECT_EQ(TendersReceiptText({{kAccountTender, 620, std::nullopt, std::nullopt},
                                  {QStringLiteral("Voucher"), -5, std::nullopt, std::nullopt}},
                                 QStringLiteral("EUR")),
              QStringLiteral("Account: EUR 6.20\r\nVoucher: EUR -0.05"));
}

TEST(ReceiptFile, IsNamedByTheNumberAndHoldsUtf8LinesWithCrLf)
{
    EXPECT_EQ(ReceiptFilePath(QStringLiteral("/tmp/receipts"), 57), QStringLiteral("/tmp/receipts/57.txt"));
    EXPECT_EQ(ReceiptFilePath(QStringLiteral("/tmp/receipts/"), 57), QStringLiteral("/tmp/receipts/57.txt"));
    EXPECT_EQ(ReceiptFileBytes(QStringLiteral("A\r\nB\rC\nÇAY\r\n")),
              QByteArray("\xEF\xBB\xBF" "A\r\nB\r\nC\r\n\xC3\x87" "AY\r\n"));
    EXPECT_EQ(ReceiptFileBytes(QStringLiteral("A\r\n\r\nB")), QByteArray("\xEF\xBB\xBF" "A\r\n\r\nB\r\n"));
}

} // namespace
