#include "catalogue/CustomersScreen.h"

#include "app/TAppForm.h"
#include "i18n/Translator.h"

#include <QBoxLayout>
#include <QPushButton>

CustomersScreen::CustomersScreen(TAppForm& main, QWidget* parent)
    : QWidget(parent)
    , m_main(main)
{
    setObjectName(QStringLiteral("PanelCustomer"));
    BitBtn12 = new QPushButton(this);
    BitBtn12->setObjectName(QStringLiteral("BitBtn12"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(BitBtn12);
    connect(BitBtn12, &QPushButton::clicked, this, [this] { m_main.AnaMenuAc(); });
}

void CustomersScreen::setCaptions()
{
    BitBtn12->setText(TranslateText("MAIN MENU"));
}

void CustomersScreen::prepare()
{
}
