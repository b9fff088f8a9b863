#pragma once

#include "pos/DrawerCount.h"

#include <QDialog>
#include <vector>

class AppContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The blind count of "Close Till...": the cash in the drawer as a total, or as the number of each note and coin
// of the shop's currency. What the till expects is not shown here; the Z report shows it once the count is
// confirmed.
class CloseTillWindow : public QDialog
{
    Q_OBJECT

public:
    explicit CloseTillWindow(AppContext& context);

    // The count confirmed with "Close Till".
    qint64 countedCents() const { return m_countedCents; }

    void CountKindChange();
    void PiecesChange();
    void OkButtonClick();

private:
    // The count as entered; none while the total is not an amount in whole cents.
    std::optional<qint64> enteredCents() const;
    std::optional<qint64> piecesCents() const;

    AppContext& m_context;
    std::vector<Denomination> m_denominations;
    qint64 m_countedCents = 0;
    QRadioButton* CountByTotal = nullptr;
    QRadioButton* CountByPieces = nullptr;
    QLineEdit* TotalEdit = nullptr;
    QGroupBox* PiecesBox = nullptr;
    std::vector<QSpinBox*> m_pieces; // one per denomination, in their order
    QLabel* CountedValue = nullptr;  // the sum of the pieces
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
