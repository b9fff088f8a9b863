#include "app/ui/QtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString mask = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString shownMask = QLatin1Char('(') + mask + QLatin1Char(')');
        // A description may already show its mask ("Bitmap (*.bmp)"); Qt reads the mask from the parentheses.
        out << (parts[i].trimmed().endsWith(shownMask) ? parts[i] : parts[i] + QLatin1Char(' ') + shownMask);
    }
    return out.join(QStringLiteral(";;"));
}

namespace {

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
    dialog.setNameFilter(QtFileFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

} // namespace

int QtDialogs::showMessage(QWidget* parent, const Message& message)
{
    // The program's texts break lines with CR (as Windows message boxes do); Qt's labels break at LF.
    QString shown = message.text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(qtIcon(message.icon), message.caption, shown, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    struct Pair { int ours; QMessageBox::StandardButton qt; };
    const Pair pairs[] = {{Yes, QMessageBox::Yes}, {No, QMessageBox::No}, {Ok, QMessageBox::Ok},
                          {Cancel, QMessageBox::Cancel}};
    for (const Pair& p : pairs) {
        if (!(message.buttons & p.ours))
            continue;
        QPushButton* button = box.addButton(p.qt);
        const QString caption = message.buttonCaptions.value(p.ours);
        if (!caption.isEmpty())
            button->setText(caption);
    }
    const int answer = box.exec();
    for (const Pair& p : pairs)
        if (answer == p.qt)
            return p.ours;
    return (message.buttons & Cancel) ? Cancel : (message.buttons & No) ? No : Ok;
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
    // Qt's own dialog, since a native one may not take the caption of its confirm button.
    QFileDialog dialog(parent, caption, folder);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Select"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
