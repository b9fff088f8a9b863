#include "catalogue/ui/StockSpinBox.h"

#include "pos/Money.h"

#include <QRegularExpression>
#include <algorithm>

StockSpinBox::StockSpinBox(QWidget* parent)
    : QSpinBox(parent)
{
    setRange(0, 999999);
}

int StockSpinBox::typedValue() const
{
    const qint64 value = ReadIntegerOr(cleanText(), minimum());
    return int(std::clamp<qint64>(value, minimum(), maximum()));
}

QValidator::State StockSpinBox::validate(QString& input, int& pos) const
{
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid)
        return state;
    // Any whole number may be typed; it is brought into the range later.
    static const QRegularExpression digits(QStringLiteral("^\\s*-?\\d*\\s*$"));
    return digits.match(input).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

void StockSpinBox::fixup(QString& input) const
{
    const qint64 value = ReadIntegerOr(input, minimum());
    input = QString::number(std::clamp<qint64>(value, minimum(), maximum()));
}
