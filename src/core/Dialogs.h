#pragma once

#include <QMap>
#include <QString>
#include <optional>

class QDialog;
class QWidget;
class QPrinter;

// Every message box, question, input dialog, file/folder dialog, print dialog and beep of the program goes
// through this one interface. The real one shows Qt dialogs; tests install a scripted one.
class Dialogs
{
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum Button { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };

    struct Input
    {
        QString caption;
        QString prompt;
        QString initialText;
        bool masked = false;
        // Captions of the OK and Cancel buttons; empty keeps the toolkit's own (untranslated) captions.
        QString okCaption;
        QString cancelCaption;
    };

    struct Message
    {
        QString caption;
        QString text;
        Icon icon = Icon::None;
        int buttons = Ok;
        // Captions of the buttons by Button; a button not listed keeps the toolkit's own caption.
        QMap<int, QString> buttonCaptions;
    };

    struct FileRequest
    {
        QString caption;
        QString folder;
        QString fileName;        // proposed in the dialog; empty proposes none
        QString filter;          // "CSV File|*.csv"
        QString defaultSuffix;   // "csv"
        bool confirmOverwrite = true;
    };

    virtual ~Dialogs() = default;

    // Returns the button pressed (one of the buttons offered; Cancel/No/Ok when the box was closed).
    virtual int showMessage(QWidget* parent, const Message& message) = 0;
    // The entered text, or nothing when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const Input& input) = 0;
    // A chosen path, or an empty text when cancelled.
    virtual QString openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString saveFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) = 0;
    // The print dialog for this printer: true when the user confirmed it (the printer is then set up).
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    virtual void beep() = 0;
    // Shows a program window modally and returns its result (QDialog::Accepted / Rejected).
    virtual int execModal(QDialog& dialog) = 0;

    // Shorthands for the program's usual boxes.
    int message(QWidget* parent, const QString& caption, const QString& text, Icon icon, int buttons)
    {
        return showMessage(parent, {caption, text, icon, buttons, {}});
    }
    void warning(QWidget* parent, const QString& caption, const QString& text)
    {
        message(parent, caption, text, Icon::Warning, Ok);
    }
    void error(QWidget* parent, const QString& caption, const QString& text)
    {
        message(parent, caption, text, Icon::Error, Ok);
    }
    void information(QWidget* parent, const QString& caption, const QString& text)
    {
        message(parent, caption, text, Icon::Information, Ok);
    }
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text, Icon icon = Icon::None)
    {
        return message(parent, caption, text, icon, Yes | No) == Yes;
    }
    // The same question with the given captions on its Yes and No buttons.
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text, Icon icon, const QString& yesCaption,
                  const QString& noCaption)
    {
        return showMessage(parent, {caption, text, icon, Yes | No, {{Yes, yesCaption}, {No, noCaption}}}) == Yes;
    }
};
