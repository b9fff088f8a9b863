#pragma once

#include <QWidget>

class TAppForm;
class QPushButton;

// The products screen (PanelProduct).
class ProductsScreen : public QWidget
{
    Q_OBJECT

public:
    explicit ProductsScreen(TAppForm& main, QWidget* parent = nullptr);
    void setCaptions();
    // Prepares the screen each time it is opened.
    void prepare();

    QPushButton* BitBtn10 = nullptr; // "MAIN MENU"

private:
    TAppForm& m_main;
};
