#pragma once

#include "pos/ReceiptNumberKeeper.h"

class SettingsStore;

// The till's receipt numbers: the ReceiptNumber setting, each change written to settings.ini at once.
class SettingsReceiptNumberKeeper : public ReceiptNumberKeeper
{
public:
    explicit SettingsReceiptNumberKeeper(SettingsStore& settings) : m_settings(settings) {}

    qint64 next() const override;
    void setNext(qint64 number) override;

private:
    SettingsStore& m_settings;
};
