#include "pos/SettingsReceiptNumberKeeper.h"

#include "core/SettingsStore.h"

qint64 SettingsReceiptNumberKeeper::next() const
{
    return m_settings.integer(SettingKey::ReceiptNumber);
}

void SettingsReceiptNumberKeeper::setNext(qint64 number)
{
    m_settings.set(SettingKey::ReceiptNumber, number);
}
