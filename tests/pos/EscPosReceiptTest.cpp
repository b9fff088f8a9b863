#include "core/SettingsStore.h"
#include "pos/EscPosReceipt.h"
#include "pos/ReceiptPrinterSettings.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kStart437 = QByteArray("\x1B@\x1Bt\x00", 5);
const QByteArray kFeedAndCut = QByteArray("\n\n\n\n\x1DV\x00", 7);
const QByteArray kFeedOnly = QByteArray("\n\n\n\n");

QByteArray Start(char table)
{
    return QByteArray("\x1B@\x1Bt", 4) + table;
}

struct BytesCase
{
    const char* name;
    QString text;
    EscPosFormat format;
    QByteArray expected;
};

TEST(EscPosReceipt, TextBecomesTheBytesOfTheCodePageWrappedAtTheColumns)
{
    const QString longLine = QStringLiteral("CHOCOLATE COOKIES WITH HAZELNUTS AND SEA SALT (3.75) * 2");
    const BytesCase cases[] = {
        {"plain lines end in LF, then feeds and the cut", QStringLiteral("Welcome\r\n\r\nTotal: $ 6.20\r\n"),
         {42, 437, true}, kStart437 + "Welcome\n\nTotal: $ 6.20\n" + kFeedAndCut},
        {"no cut when it is off", QStringLiteral("A\r\n"), {42, 437, false}, kStart437 + "A\n" + kFeedOnly},
        {"Turkish letters in 857", QStringLiteral("ÇĞİÖŞÜ çğıöşü"), {42, 857, true},
         Start(13) + QByteArray::fromHex("80a698999e9a2087a78d949f81") + "\n" + kFeedAndCut},
        {"Turkish letters in 1254", QStringLiteral("Şeker ığdır"), {42, 1254, true},
         Start(48) + QByteArray("\xDE" "eker \xFD\xF0" "d\xFDr") + "\n" + kFeedAndCut},
        {"the euro sign in 858", QStringLiteral("€ 5"), {42, 858, true}, Start(19) + "\xD5 5\n" + kFeedAndCut},
        {"850 has no euro sign", QStringLiteral("€ 5"), {42, 850, true}, Start(2) + "? 5\n" + kFeedAndCut},
        {"the euro sign in 1252", QStringLiteral("€ 5"), {42, 1252, true}, Start(16) + "\x80 5\n" + kFeedAndCut},
        {"a long name wraps at the last blank within 42", longLine, {42, 437, true},
         kStart437 + "CHOCOLATE COOKIES WITH HAZELNUTS AND SEA\nSALT (3.75) * 2\n" + kFeedAndCut},
        {"a long name wraps at the last blank within 32", longLine, {32, 437, true},
         kStart437 + "CHOCOLATE COOKIES WITH HAZELNUTS\nAND SEA SALT (3.75) * 2\n" + kFeedAndCut},
        {"a word longer than the paper is cut hard", QString(40, QLatin1Char('X')), {32, 437, true},
         kStart437 + QByteArray(32, 'X') + "\n" + QByteArray(8, 'X') + "\n" + kFeedAndCut},
        {"a line of exactly the width stays whole", QString(32, QLatin1Char('Y')), {32, 437, true},
         kStart437 + QByteArray(32, 'Y') + "\n" + kFeedAndCut},
        {"control characters in a name cannot pass commands", QStringLiteral("TEA\x1B" "p\x00\x19\tX"),
         {42, 437, true}, kStart437 + "TEA?p?? X\n" + kFeedAndCut},
    };
    for (const BytesCase& c : cases)
        EXPECT_EQ(EscPosReceiptBytes(c.text, c.format).toHex(' '), c.expected.toHex(' ')) << c.name;
}

TEST(EscPosReceipt, DrawerPulseOnPinTwo)
{
    EXPECT_EQ(EscPosDrawerPulse(), QByteArray("\x1B\x70\x00\x19\xFA", 5));
}

TEST(ReceiptPrinterSettings, MissingOrUnusableValuesReadAsTheDefaults)
{
    SettingsStore empty;
    const ReceiptPrinterSettings turkish = ReceiptPrinterSettings::read(empty, 1254);
    EXPECT_EQ(turkish.kind, ReceiptPrinterSettings::Kind::System);
    EXPECT_EQ(turkish.columns, 42);
    EXPECT_EQ(turkish.codePage, 1254);
    EXPECT_TRUE(turkish.cut);
    EXPECT_FALSE(turkish.cashDrawer);
    // A language whose code page no receipt printer has.
    EXPECT_EQ(ReceiptPrinterSettings::read(empty, 932).codePage, 437);

    SettingsStore odd;
    odd.WriteString(QStringLiteral("ReceiptPrinter"), QStringLiteral("laser"));
    odd.WriteString(QStringLiteral("ReceiptPrinterColumns"), QStringLiteral("5"));
    odd.WriteString(QStringLiteral("ReceiptPrinterCodePage"), QStringLiteral("4294968153")); // 857 + 2^32
    odd.WriteString(QStringLiteral("CashDrawer"), QStringLiteral("1"));
    const ReceiptPrinterSettings read = ReceiptPrinterSettings::read(odd, 1252);
    EXPECT_EQ(read.kind, ReceiptPrinterSettings::Kind::System);
    EXPECT_EQ(read.columns, 42);
    EXPECT_EQ(read.codePage, 1252);
    EXPECT_FALSE(read.drawerAttached()); // the system printer has no drawer port
}

TEST(ReceiptPrinterSettings, WrittenValuesReadBack)
{
    ReceiptPrinterSettings printer;
    printer.kind = ReceiptPrinterSettings::Kind::EscPosDevice;
    printer.address = QStringLiteral("/dev/usb/lp0");
    printer.columns = 32;
    printer.codePage = 858;
    printer.cut = false;
    printer.cashDrawer = true;
    SettingsStore store;
    for (const SettingsStore::Change& change : printer.changes())
        store.set(change.key, change.value, change.number);
    EXPECT_TRUE(store.FileBytes().contains("ReceiptPrinter=escpos-device\r\nReceiptPrinterAddress=/dev/usb/lp0\r\n"
                                           "ReceiptPrinterColumns=32\r\nReceiptPrinterCodePage=858\r\n"
                                           "ReceiptPrinterCut=0\r\nCashDrawer=1\r\n"));
    const ReceiptPrinterSettings read = ReceiptPrinterSettings::read(store, 1252);
    EXPECT_EQ(read.kind, printer.kind);
    EXPECT_EQ(read.address, printer.address);
    EXPECT_EQ(read.columns, 32);
    EXPECT_EQ(read.codePage, 858);
    EXPECT_FALSE(read.cut);
    EXPECT_TRUE(read.drawerAttached());
}

TEST(ReceiptPrinterSettings, PrinterAddresses)
{
    const struct
    {
        const char* text;
        const char* host; // nullptr: refused
        quint16 port;
    } cases[] = {
        {"192.168.1.50:9101", "192.168.1.50", 9101}, {" printer.local ", "printer.local", 9100},
        {"[::1]:9200", "::1", 9200},                 {"fe80::1", "fe80::1", 9100},
        {"[::1]", "::1", 9100},                      {"host:0", nullptr, 0},
        {"host:65536", nullptr, 0},                  {"host:abc", nullptr, 0},
        {":9100", nullptr, 0},                       {"", nullptr, 0},
        {"[::1", nullptr, 0},
    };
    for (const auto& c : cases) {
        const std::optional<PrinterHostPort> parsed = ParsePrinterAddress(QString::fromLatin1(c.text));
        if (!c.host) {
            EXPECT_FALSE(parsed) << c.text;
            continue;
        }
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(parsed->host, QString::fromLatin1(c.host)) << c.text;
        EXPECT_EQ(parsed->port, c.port) << c.text;
    }
}

} // namespace
