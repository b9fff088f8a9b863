#pragma once

#include <QSpinBox>

// A spin box for a stock count that, unlike a plain QSpinBox, lets a number beyond its range be typed and
// clamps it when the box loses focus. Reading it always goes by its text: a number is clamped into the range,
// anything else reads as 0.
class StockSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit StockSpinBox(QWidget* parent = nullptr);
    // The value the text stands for now, typed but not yet confirmed included.
    int typedValue() const;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};
