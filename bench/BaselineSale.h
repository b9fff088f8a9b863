#pragma once

#include "pos/SaleLine.h"

#include <QByteArray>
#include <QDateTime>
#include <QUuid>
#include <algorithm>
#include <vector>

// What a checkout's baseline works out before it writes, as the program does: the record's amounts in cents, its
// id and time, and the lines in barcode order (the order the stock is lowered in, so that tills never wait for
// each other).
struct BaselineSale
{
    qint64 subtotalCents = 0;
    qint64 totalCents = 0;
    QByteArray saleId;
    QByteArray recordedAt;
    std::vector<const SaleLine*> byBarcode;
};

inline BaselineSale PrepareBaselineSale(const std::vector<SaleLine>& lines)
{
    BaselineSale sale;
    for (const SaleLine& line : lines) {
        sale.subtotalCents += line.priceBeforeDiscount.value_or(line.unitPrice).cents() * line.quantity;
        sale.totalCents += line.unitPrice.cents() * line.quantity;
        sale.byBarcode.push_back(&line);
    }
    std::stable_sort(sale.byBarcode.begin(), sale.byBarcode.end(),
                     [](const SaleLine* a, const SaleLine* b) { return a->barcode < b->barcode; });
    sale.saleId = QUuid::createUuid().toString(QUuid::WithoutBraces).toUtf8();
    sale.recordedAt = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    return sale;
}
