#pragma once

#include "app/Dialogs.h"

// The dialogs as the user sees them: QMessageBox, QInputDialog, QFileDialog, QPrintDialog, QApplication::beep.
class QtDialogs : public Dialogs
{
public:
    int message(QWidget* parent, const QString& caption, const QString& text, Icon icon, int buttons) override;
    std::optional<QString> inputText(QWidget* parent, const Input& input) override;
    QString openFile(QWidget* parent, const FileRequest& request) override;
    QString saveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void beep() override;
    int execModal(QDialog& dialog) override;
};
