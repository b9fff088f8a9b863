#include "reports/ui/DateTillFilterBar.h"

#include "i18n/Translator.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

QDateEdit* MakeDateEdit(QWidget* parent, const char* name, const QDate& day, const QString& dateFormat)
{
    auto* date = new QDateEdit(day, parent);
    date->setObjectName(QLatin1String(name));
    date->setCalendarPopup(true);
    date->setDisplayFormat(dateFormat);
    return date;
}

DateTillFilterBar::DateTillFilterBar(QWidget* parent, const QDate& day, const QString& dateFormat,
                                     const QStringList& tills)
    : BeginDate(MakeDateEdit(parent, "BeginDate", day, dateFormat)),
      EndDate(MakeDateEdit(parent, "EndDate", day, dateFormat)),
      TillFilter(new QComboBox(parent))
{
    TillFilter->setObjectName(QStringLiteral("TillFilter"));
    TillFilter->addItem(TranslateText("All Tills"));
    for (const QString& till : tills)
        TillFilter->addItem(till, till);
    beginLabel = MakeLabel(parent, TranslateText("Begin:"), BeginDate);
    endLabel = MakeLabel(parent, TranslateText("End:"), EndDate);
    tillLabel = MakeLabel(parent, TranslateText("Till:"), TillFilter);
}

void DateTillFilterBar::addTo(QGridLayout& grid, int tillRow, int tillColumn) const
{
    grid.addWidget(beginLabel, 0, 0);
    grid.addWidget(BeginDate, 0, 1);
    grid.addWidget(endLabel, 0, 2);
    grid.addWidget(EndDate, 0, 3);
    grid.addWidget(tillLabel, tillRow, tillColumn);
    grid.addWidget(TillFilter, tillRow, tillColumn + 1);
}
