#include "support/ScriptedDialogs.h"

#include <QDialog>
#include <QPrinter>

int ScriptedDialogs::showMessage(QWidget*, const Message& message)
{
    Shown s;
    s.kind = QStringLiteral("message");
    s.caption = message.caption;
    s.text = message.text;
    s.icon = message.icon;
    s.buttons = message.buttons;
    s.buttonCaptions = message.buttonCaptions;
    shown.push_back(s);
    const int buttons = message.buttons;
    if (!messageAnswers.empty()) {
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    if (buttons & Ok)
        return Ok;
    if (buttons & No)
        return No;
    return Cancel;
}

std::optional<QString> ScriptedDialogs::inputText(QWidget*, const Input& input)
{
    Shown s;
    s.kind = QStringLiteral("input");
    s.caption = input.caption;
    s.text = input.prompt;
    s.input = input;
    shown.push_back(s);
    if (inputAnswers.empty())
        return std::nullopt;
    const bool given = inputAnswers.front().has_value();
    const QString text = given ? *inputAnswers.front() : QString();
    inputAnswers.pop_front();
    if (!given)
        return std::nullopt;
    return text;
}

QString ScriptedDialogs::openFile(QWidget*, const FileRequest& request)
{
    Shown s;
    s.kind = QStringLiteral("open");
    s.caption = request.caption;
    s.file = request;
    shown.push_back(s);
    if (fileAnswers.empty())
        return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::saveFile(QWidget*, const FileRequest& request)
{
    Shown s;
    s.kind = QStringLiteral("save");
    s.caption = request.caption;
    s.file = request;
    shown.push_back(s);
    if (fileAnswers.empty())
        return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& caption, const QString&)
{
    Shown s;
    s.kind = QStringLiteral("folder");
    s.caption = caption;
    shown.push_back(s);
    if (folderAnswers.empty())
        return {};
    const QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::choosePrinter(QWidget*, QPrinter& printer)
{
    Shown s;
    s.kind = QStringLiteral("print");
    shown.push_back(s);
    if (printAnswers.empty())
        return false;
    const QString pdf = printAnswers.front();
    printAnswers.pop_front();
    if (pdf.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == QLatin1String("message"))
            out << s.text;
    return out;
}

const ScriptedDialogs::Shown* ScriptedDialogs::lastMessage() const
{
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (it->kind == QLatin1String("message"))
            return &*it;
    return nullptr;
}

void ScriptedDialogs::clear()
{
    shown.clear();
    beeps = 0;
}

int ScriptedDialogs::execModal(QDialog& dialog)
{
    modalWindows << dialog.objectName();
    if (modalScripts.empty())
        return QDialog::Rejected;
    auto script = std::move(modalScripts.front());
    modalScripts.pop_front();
    return script(dialog);
}
