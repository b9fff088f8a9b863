#pragma once

#include "core/Dialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Answers every dialog from queues and records what was shown. An empty queue answers with the default:
// messages press their first "positive" button only when an answer is queued, otherwise OK/No/Cancel;
// inputs and file dialogs are cancelled; the print dialog is cancelled.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "input", "open", "save", "folder", "print"
        QString caption;
        QString text; // message text or input prompt
        Icon icon = Icon::None;
        int buttons = 0;
        QMap<int, QString> buttonCaptions;
        Input input;
        FileRequest file;
    };

    // Queued answers, taken in order by the dialog kind they belong to.
    std::deque<int> messageAnswers;                    // Dialogs::Yes, No, Ok, Cancel
    std::deque<std::optional<QString>> inputAnswers;   // nullopt = Cancel
    std::deque<QString> fileAnswers;                   // open/save; empty = cancel
    std::deque<QString> folderAnswers;                 // empty = cancel
    // Each print answer: a PDF path the printer writes to, or an empty text to cancel the dialog.
    std::deque<QString> printAnswers;

    // Each modal window shown takes the next script, which may drive the window (find children, click) and
    // returns the window's result. Without a script the window is not shown and counts as rejected.
    std::deque<std::function<int(QDialog&)>> modalScripts;
    QStringList modalWindows; // objectNames of the modal windows shown

    std::vector<Shown> shown;
    int beeps = 0;

    int showMessage(QWidget* parent, const Message& message) override;
    std::optional<QString> inputText(QWidget* parent, const Input& input) override;
    QString openFile(QWidget* parent, const FileRequest& request) override;
    QString saveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void beep() override { ++beeps; }
    int execModal(QDialog& dialog) override;

    // Texts of the message boxes shown so far, in order.
    QStringList messageTexts() const;
    const Shown* lastMessage() const;
    void clear();
};
