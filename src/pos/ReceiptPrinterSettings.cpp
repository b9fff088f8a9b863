#include "pos/ReceiptPrinterSettings.h"

#include "core/SettingsStore.h"
#include "pos/EscPosReceipt.h"

namespace {

int DefaultCodePage(int languageCodePage)
{
    return EscPosCharacterTable(languageCodePage) ? languageCodePage : 437;
}

} // namespace

ReceiptPrinterSettings ReceiptPrinterSettings::read(const SettingsStore& settings, int languageCodePage)
{
    ReceiptPrinterSettings s;
    s.kind = ReceiptPrinterKindFromName(settings.text(SettingKey::ReceiptPrinter)).value_or(Kind::System);
    s.address = settings.text(SettingKey::ReceiptPrinterAddress).trimmed();
    const qint64 columns = settings.integer(SettingKey::ReceiptPrinterColumns);
    s.columns = columns >= kMinimumColumns && columns <= kMaximumColumns ? int(columns) : kDefaultColumns;
    const qint64 codePage = settings.integer(SettingKey::ReceiptPrinterCodePage);
    const bool known = codePage > 0 && codePage < 100000 && EscPosCharacterTable(int(codePage));
    s.codePage = known ? int(codePage) : DefaultCodePage(languageCodePage);
    s.cut = settings.integer(SettingKey::ReceiptPrinterCut) != 0;
    s.cashDrawer = settings.integer(SettingKey::CashDrawer) != 0;
    return s;
}

std::vector<SettingsStore::Change> ReceiptPrinterSettings::changes() const
{
    return {{SettingKey::ReceiptPrinter, ReceiptPrinterKindName(kind)},
            {SettingKey::ReceiptPrinterAddress, address.trimmed()},
            {SettingKey::ReceiptPrinterColumns, qint64(columns)},
            {SettingKey::ReceiptPrinterCodePage, qint64(codePage)},
            {SettingKey::ReceiptPrinterCut, qint64(cut ? 1 : 0)},
            {SettingKey::CashDrawer, qint64(cashDrawer ? 1 : 0)}};
}

QString ReceiptPrinterKindName(ReceiptPrinterSettings::Kind kind)
{
    switch (kind) {
    case ReceiptPrinterSettings::Kind::EscPosTcp: return QStringLiteral("escpos-tcp");
    case ReceiptPrinterSettings::Kind::EscPosDevice: return QStringLiteral("escpos-device");
    case ReceiptPrinterSettings::Kind::System: break;
    }
    return QStringLiteral("system");
}

std::optional<ReceiptPrinterSettings::Kind> ReceiptPrinterKindFromName(const QString& name)
{
    for (const auto kind : {ReceiptPrinterSettings::Kind::System, ReceiptPrinterSettings::Kind::EscPosTcp,
                            ReceiptPrinterSettings::Kind::EscPosDevice})
        if (name.trimmed().compare(ReceiptPrinterKindName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    return std::nullopt;
}

std::optional<PrinterHostPort> ParsePrinterAddress(const QString& address)
{
    const QString text = address.trimmed();
    PrinterHostPort result;
    QString portText;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        result.host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            portText = rest.mid(1);
        }
    } else {
        const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
        // More than one colon without brackets is a bare IPv6 address.
        if (colon >= 0 && text.indexOf(QLatin1Char(':')) == colon) {
            result.host = text.left(colon);
            portText = text.mid(colon + 1);
        } else {
            result.host = text;
        }
    }
    if (result.host.trimmed().isEmpty() || result.host.trimmed() != result.host)
        return std::nullopt;
    if (!portText.isNull()) {
        bool isNumber = false;
        const uint port = portText.toUInt(&isNumber);
        if (!isNumber || port < 1 || port > 65535)
            return std::nullopt;
        result.port = quint16(port);
    }
    return result;
}
