#include "catalogue/ProductsScreen.h"

#include "app/TAppForm.h"
#include "i18n/Translator.h"

#include <QBoxLayout>
#include <QPushButton>

ProductsScreen::ProductsScreen(TAppForm& main, QWidget* parent)
    : QWidget(parent)
    , m_main(main)
{
    setObjectName(QStringLiteral("PanelProduct"));
    BitBtn10 = new QPushButton(this);
    BitBtn10->setObjectName(QStringLiteral("BitBtn10"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(BitBtn10);
    connect(BitBtn10, &QPushButton::clicked, this, [this] { m_main.AnaMenuAc(); });
}

void ProductsScreen::setCaptions()
{
    BitBtn10->setText(TranslateText("MAIN MENU"));
}

void ProductsScreen::prepare()
{
}
