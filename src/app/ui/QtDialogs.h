#pragma once

#include "core/Dialogs.h"

// A filter of the seam ("CSV File|*.csv", pairs of description and mask) as a Qt name filter
// ("CSV File (*.csv)"); a description that already ends in its mask in parentheses is taken as it is.
QString QtFileFilter(const QString& filter);

// The dialogs as the user sees them: QMessageBox, QInputDialog, QFileDialog, QPrintDialog, QApplication::beep.
class QtDialogs : public Dialogs
{
public:
    int showMessage(QWidget* parent, const Message& message) override;
    std::optional<QString> inputText(QWidget* parent, const Input& input) override;
    QString openFile(QWidget* parent, const FileRequest& request) override;
    QString saveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void beep() override;
    int execModal(QDialog& dialog) override;
};
