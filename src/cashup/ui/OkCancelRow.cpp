#include "cashup/ui/OkCancelRow.h"

#include "i18n/Translator.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

OkCancelRow::OkCancelRow(QDialog* window, const QString& okCaption)
    : OkButton(new QPushButton(okCaption, window)),
      CancelButton(new QPushButton(TranslateText("Cancel"), window)),
      layout(new QHBoxLayout)
{
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addStretch(1);
    layout->addWidget(OkButton);
    layout->addWidget(CancelButton);
    QObject::connect(CancelButton, &QPushButton::clicked, window, &QDialog::reject);
}
