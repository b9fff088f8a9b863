#pragma once

#include <QDialog>
#include <functional>

class AppContext;
class ProductListModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QRadioButton;

// The product picker: the catalogue as a searchable list; a click hands the product's barcode to the sale
// screen and closes the picker when the sale screen took it.
class TUrunlerForm : public QDialog
{
    Q_OBJECT

public:
    using PickProduct = std::function<bool(const QString& barcode)>;

    TUrunlerForm(AppContext& context, PickProduct pick, QWidget* parent = nullptr);
    ~TUrunlerForm() override;

    void Edit1Change();
    void CheckBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void ListView1SelectItem(const QModelIndex& index);

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

    AppContext& m_context;
    PickProduct m_pick;
    ProductListModel* m_model = nullptr;
    bool m_geometrySaving = false;
    bool m_searchReady = false;

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QListView* ListView1 = nullptr;
    QRadioButton* RadioButton1 = nullptr; // "Big Icons"
    QRadioButton* RadioButton2 = nullptr; // "List"
    QCheckBox* CheckBox1 = nullptr;       // "Display Prices"
};

// Shows a new product picker modally over the main window.
void OpenProductPickerWindow(AppContext& context, TUrunlerForm::PickProduct pick);
