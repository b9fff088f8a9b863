#pragma once

#include <QDialog>
#include <QElapsedTimer>

class AppContext;
class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

// "Print Template": the sale's receipt template and the refund's, each on a tab of its own as free text, a menu that
// appends placeholders to the one shown or resets it to its built-in template. "OK" puts both in force and writes
// PrintTemplate.txt, and RefundTemplate.txt when the refund's was changed; anything else discards the edits.
class TPrintTemplateForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPrintTemplateForm(AppContext& context);

    // Creates the window and shows it modally.
    static int showModalFor(AppContext& context);

    void SpeedButton1Click();
    void BitBtn1Click();
    void Reset1Click();
    // Appends the placeholder as a new last line of the template shown, wherever the cursor is.
    void AddPlaceholder(const QString& placeholder);

private:
    void FormCreate();
    // The template on the tab shown.
    QPlainTextEdit* shownMemo() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& m_context;
    // When the menu last closed: a click on the button that closed it does not open it again.
    QElapsedTimer m_menuClosed;

    QTabWidget* TemplateTabs = nullptr;
    QPlainTextEdit* Memo1 = nullptr;       // the sale's receipt
    QPlainTextEdit* RefundMemo = nullptr;  // the refund's receipt
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Reset1 = nullptr;
    QAction* AddDATE1 = nullptr;
    QAction* AddDATETIME1 = nullptr;
    QAction* AddLIST1 = nullptr;
    QAction* AddRECEIPTNO1 = nullptr;
    QAction* AddTIME1 = nullptr;
    QAction* AddTOTAL1 = nullptr;
    QAction* AddTENDERS1 = nullptr;
    QAction* AddSALEID1 = nullptr;
    QAction* AddORIGINALRECEIPTNO1 = nullptr;
};
