#pragma once

#include <QWidget>

class TAppForm;
class QPushButton;

// The customers screen (PanelCustomer) with the settlement of open credit.
class CustomersScreen : public QWidget
{
    Q_OBJECT

public:
    explicit CustomersScreen(TAppForm& main, QWidget* parent = nullptr);
    void setCaptions();
    // Prepares the screen each time it is opened.
    void prepare();

    QPushButton* BitBtn12 = nullptr; // "MAIN MENU"

private:
    TAppForm& m_main;
};
