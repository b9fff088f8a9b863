#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

// Hands bytes to an ESC/POS receipt printer and returns within the time-out whatever the printer does.
// Both return false with a reason when the bytes were not taken in time, or soon after the cancel check (when
// given) says the user no longer wants to wait.

// Over TCP ("host:port", port 9100 when omitted): connects, writes the bytes, closes its sending side and waits
// for the printer to close the connection, as a raw printer port does once it has read everything. A peer
// that accepts the connection but never reads therefore counts as a failure, not as printed.
bool SendToTcpPrinter(const QString& address, const QByteArray& bytes, std::chrono::milliseconds timeout,
                      QString* error = nullptr, const std::function<bool()>& cancelled = {});
// To a device file (/dev/usb/lp0 ...): opened for writing without blocking and never created; the bytes must be
// taken within the time-out, and the device is closed only once it has passed them on (closing a USB printer
// earlier discards what it still holds), or the send fails.
bool SendToPrinterDevice(const QString& path, const QByteArray& bytes, std::chrono::milliseconds timeout,
                         QString* error = nullptr, const std::function<bool()>& cancelled = {});
