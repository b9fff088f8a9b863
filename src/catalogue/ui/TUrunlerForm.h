#pragma once

#include <QDialog>

class TAppForm;
class ProductListModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QRadioButton;

// The product picker: the catalogue as a searchable list; a click hands the product to the sale screen.
class TUrunlerForm : public QDialog
{
    Q_OBJECT

public:
    explicit TUrunlerForm(TAppForm& main, QWidget* parent = nullptr);
    ~TUrunlerForm() override;

    void Edit1Change();
    void CheckBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void ListView1SelectItem(const QModelIndex& index);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QListView* ListView1 = nullptr;
    QRadioButton* RadioButton1 = nullptr; // "Big Icons"
    QRadioButton* RadioButton2 = nullptr; // "List"
    QCheckBox* CheckBox1 = nullptr;       // "Display Prices"
    ProductListModel* model() const { return m_model; }

    void done(int result) override;

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void showProducts(const QString& searchText);
    void setBigIcons();
    void setListStyle();

    TAppForm& m_main;
    ProductListModel* m_model = nullptr;
    bool m_geometrySaving = false;
    bool m_searchReady = false;
};

// Shows a new product picker modally over the main window.
void OpenProductPickerWindow(TAppForm& main);
