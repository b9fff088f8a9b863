#pragma once

#include <QStringList>

class QComboBox;
class QDate;
class QDateEdit;
class QGridLayout;
class QLabel;
class QString;
class QWidget;

// A date box of the window (its objectName the name given) on the day, with a calendar popup, in the date format.
QDateEdit* MakeDateEdit(QWidget* parent, const char* name, const QDate& day, const QString& dateFormat);

// The filter of a list over a range of days and a till: "Begin:" BeginDate and "End:" EndDate, both on the day, and
// "Till:" TillFilter, which offers "All Tills" (no data), then each of the tills (its name as data).
struct DateTillFilterBar
{
    DateTillFilterBar(QWidget* parent, const QDate& day, const QString& dateFormat, const QStringList& tills);

    // The dates with their labels on the grid's first row from column 0, the till with its label at the row and
    // column given.
    void addTo(QGridLayout& grid, int tillRow, int tillColumn) const;

    QDateEdit* BeginDate = nullptr;
    QDateEdit* EndDate = nullptr;
    QComboBox* TillFilter = nullptr;
    QLabel* beginLabel = nullptr;
    QLabel* endLabel = nullptr;
    QLabel* tillLabel = nullptr;
};
