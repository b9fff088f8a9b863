#include "app/QtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

// "CSV File|*.csv" (pairs of description and mask) -> "CSV File (*.csv)".
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))
                   + QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

QMessageBox::Icon qtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Warning: return QMessageBox::Warning;
    case Dialogs::Icon::Error: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

void prepareFileDialog(QFileDialog& dialog, const Dialogs::FileRequest& request)
{
    dialog.setWindowTitle(request.caption);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    dialog.setNameFilter(qtFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
}

} // namespace

int QtDialogs::message(QWidget* parent, const QString& caption, const QString& text, Icon icon, int buttons)
{
    // The program's texts break lines with CR (as Windows message boxes do); Qt's labels break at LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(qtIcon(icon), caption, shown, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    struct Pair { int ours; QMessageBox::StandardButton qt; };
    const Pair pairs[] = {{Yes, QMessageBox::Yes}, {No, QMessageBox::No}, {Ok, QMessageBox::Ok},
                          {Cancel, QMessageBox::Cancel}};
    for (const Pair& p : pairs)
        if (buttons & p.ours)
            box.addButton(p.qt);
    const int answer = box.exec();
    for (const Pair& p : pairs)
        if (answer == p.qt)
            return p.ours;
    return (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
}

std::optional<QString> QtDialogs::inputText(QWidget* parent, const Input& input)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(input.caption);
    dialog.setLabelText(input.prompt);
    dialog.setTextValue(input.initialText);
    dialog.setTextEchoMode(input.masked ? QLineEdit::Password : QLineEdit::Normal);
    if (!input.okCaption.isEmpty())
        dialog.setOkButtonText(input.okCaption);
    if (!input.cancelCaption.isEmpty())
        dialog.setCancelButtonText(input.cancelCaption);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtDialogs::openFile(QWidget* parent, const FileRequest& request)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFile(QWidget* parent, const FileRequest& request)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

bool QtDialogs::choosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

int QtDialogs::execModal(QDialog& dialog)
{
    return dialog.exec();
}
