#pragma once

#include "core/SettingsStore.h"

#include <QString>

#include <optional>


// Where receipts go, as kept in settings.ini: the system printer through the print dialog (the default), or a
// receipt printer that speaks ESC/POS, reached over TCP (host:port) or through a device file.
struct ReceiptPrinterSettings
{
    enum class Kind { System, EscPosTcp, EscPosDevice };

    static constexpr int kDefaultColumns = 42;
    static constexpr int kMinimumColumns = 16;
    static constexpr int kMaximumColumns = 80;
    static constexpr quint16 kDefaultPort = 9100;

    Kind kind = Kind::System;
    QString address;
    int columns = kDefaultColumns;
    int codePage = 437;
    bool cut = true;
    bool cashDrawer = false;

    bool isEscPos() const { return kind != Kind::System; }
    // A cash drawer hangs off an ESC/POS printer's drawer port; the system printer cannot open one.
    bool drawerAttached() const { return isEscPos() && cashDrawer; }
    bool operator==(const ReceiptPrinterSettings&) const = default;

    // Missing or unusable values read as their defaults; the code page defaults to the language's ANSI code
    // page when the printer knows it, else to 437.
    static ReceiptPrinterSettings read(const SettingsStore& settings, int languageCodePage);
    // Every key with its value, for SettingsStore::set.
    std::vector<SettingsStore::Change> changes() const;
};

// The setting's text for a kind ("system", "escpos-tcp", "escpos-device") and back; nullopt for unknown text.
QString ReceiptPrinterKindName(ReceiptPrinterSettings::Kind kind);
std::optional<ReceiptPrinterSettings::Kind> ReceiptPrinterKindFromName(const QString& name);

// "host:port", "host" (port 9100), "[v6 address]:port" or "[v6 address]". Nullopt when the host is empty or
// the port is not a number from 1 to 65535.
struct PrinterHostPort
{
    QString host;
    quint16 port = ReceiptPrinterSettings::kDefaultPort;
};
std::optional<PrinterHostPort> ParsePrinterAddress(const QString& address);
