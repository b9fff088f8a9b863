#pragma once

#include <QDialog>
#include <QElapsedTimer>

class AppContext;
class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// "Print Template": the receipt template as free text, a menu that appends placeholders or resets it to the
// built-in template. "OK" puts it in force and writes PrintTemplate.txt; anything else discards the edits.
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
    // Appends the placeholder as a new last line, wherever the cursor is.
    void AddPlaceholder(const QString& placeholder);

private:
    void FormCreate();
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& m_context;
    // When the menu last closed: a click on the button that closed it does not open it again.
    QElapsedTimer m_menuClosed;

    QPlainTextEdit* Memo1 = nullptr;
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
};
