#pragma once

#include "core/Dialogs.h"

#include <QObject>

class AppContext;

// A CSV file dialog that lives as long as its owner: it keeps the filter and default extension it was last set
// up with and proposes the file chosen with it last (nothing the first time).
class CsvFileDialog : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Save, Open };

    CsvFileDialog(Kind kind, QObject* owner);

    // The usual set-up of every CSV export: the translated "CSV File (*.csv)" filter and the extension "csv".
    void prepareForCsv();

    // Runs the dialog; the chosen path, or an empty text when it was cancelled.
    QString execute(Dialogs& dialogs, QWidget* parent);

    const Dialogs::FileRequest& request() const { return m_request; }
    QString lastFile() const { return m_lastFile; }

    // The main window's dialogs: the save dialog shared by its CSV exports (the sales history's one included)
    // and the open dialog of the product import.
    static CsvFileDialog& mainSaveDialog(AppContext& context);
    static CsvFileDialog& mainOpenDialog(AppContext& context);

private:
    Kind m_kind;
    Dialogs::FileRequest m_request;
    QString m_lastFile;
};
