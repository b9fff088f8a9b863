// settings.ini as the program reads it at start, and written back.
#include "FuzzSupport.h"

#include "core/SettingsStore.h"
#include "platform/TextFile.h"

#include <QDir>

namespace {

// The keys of section Settings in the bytes the store writes.
QStringList settingsKeys(const QByteArray& written)
{
    QString text;
    if (!DecodeText(written, TextEncoding::Utf8, 1252, text))
        return {};
    QStringList keys;
    for (const SettingsStore::Entry& entry : SettingsStore::Parse(text)) {
        if (entry.section.compare(QStringLiteral("Settings"), Qt::CaseInsensitive) == 0)
            keys << entry.key;
        if (keys.size() >= 200)
            break;
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    SettingsStore::Parse(QString::fromUtf8(bytes));

    static const QString first = fuzz::TempFolder() + QStringLiteral("/settings.ini");
    static const QString second = fuzz::TempFolder() + QStringLiteral("/again.ini");
    fuzz::WriteFile(first, bytes);
    SettingsStore store(first);
    const QByteArray written = store.FileBytes();

    // What the store writes reads back as the same settings, and writing that again changes nothing.
    fuzz::WriteFile(second, written);
    SettingsStore again(second);
    FUZZ_CHECK(again.FileBytes() == written);
    const QString absent = QStringLiteral("\x01absent");
    for (const QString& key : settingsKeys(written)) {
        FUZZ_CHECK(store.ValueExists(key));
        FUZZ_CHECK(again.ReadString(key, absent) == store.ReadString(key, absent));
        FUZZ_CHECK(again.ReadInteger(key, -7) == store.ReadInteger(key, -7));
    }

    // A change goes to the first spelling of the key and survives the round trip.
    store.WriteString(QStringLiteral("ReceiptNumber"), QStringLiteral("42"));
    fuzz::WriteFile(second, store.FileBytes());
    FUZZ_CHECK(SettingsStore(second).ReadInteger(QStringLiteral("receiptnumber"), -1) == 42);
    return 0;
}
