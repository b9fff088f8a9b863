#include "reports/ui/DataExchangeCommands.h"

#include "app/ui/LongTaskRunner.h"
#include "app/ui/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "reports/BulkDelete.h"
#include "reports/ui/CsvFileDialog.h"
#include "reports/ProductImport.h"
#include "reports/TableExport.h"
#include "store/WorkerConnection.h"

void ExportTableCommand(TAppForm& main, DataTable table)
{
    CsvFileDialog& dialog = CsvFileDialog::mainSaveDialog(main);
    // The credits export runs the dialog as the last export left it.
    if (table != DataTable::Credits)
        dialog.prepareForCsv();
    const QString path = dialog.execute(main.dialogs(), &main);
    if (path.isEmpty())
        return;
    const QString paidWord = TranslateText("PAID");
    const QString dataFile = main.SQLConnection1().path();
    const QChar separator = main.CsvSeparator;
    CsvExportResult result;
    QStringList engineErrors;
    const bool finished = LongTaskRunner::run(&main, TranslateText("Exporting..."), [&](LongTaskProgress& progress) {
        WorkerConnection connection(dataFile, progress.cancelCheck());
        if (connection.isOpen())
            result = ExportTableCsv(connection.db(), table, separator, paidWord, path, &progress);
        else
            result.status = CsvExportResult::Status::QueryFailed;
        engineErrors = connection.errors();
    });
    if (!finished)
        return; // nothing was written
    for (const QString& message : engineErrors)
        main.ReportDatabaseError(message);
    switch (result.status) {
    case CsvExportResult::Status::Written:
    case CsvExportResult::Status::Cancelled:
    case CsvExportResult::Status::QueryFailed: // reported by the database
        break;
    case CsvExportResult::Status::BadValue:
    case CsvExportResult::Status::WriteFailed:
        main.ShowError(result.message);
        break;
    }
}

void ImportProductsCommand(TAppForm& main)
{
    const QString path = CsvFileDialog::mainOpenDialog(main).execute(main.dialogs(), &main);
    if (path.isEmpty())
        return;
    const QString dataFile = main.SQLConnection1().path();
    const QChar separator = main.CsvSeparator;
    const int ansiCodePage = main.env().ansiCodePage();
    ProductImportResult result;
    QStringList engineErrors; // a failed insert's message, and any the connection reported
    LongTaskRunner::run(&main, TranslateText("Importing products..."), [&](LongTaskProgress& progress) {
        WorkerConnection connection(dataFile, progress.cancelCheck());
        if (connection.isOpen())
            result = ImportProducts(connection.db(), path, separator, ansiCodePage,
                                    [&engineErrors](const QString& message) { engineErrors << message; },
                                    &progress);
        else
            result.cancelled = progress.cancelled();
        engineErrors << connection.errors();
    });
    // A cancel that came after the commit changes nothing: the import is whole and is reported as such.
    if (result.cancelled)
        return; // rolled back: the products are as they were
    for (const QString& message : engineErrors)
        main.ReportDatabaseError(message);
    if (!result.fileRead) {
        main.ShowError(result.error);
        return;
    }
    main.dialogs().information(&main, TranslateText("Import"),
                               TranslateText("Imported:") + QLatin1Char(' ') + QString::number(result.imported)
                                   + QLatin1Char(' ') + TranslateText("entries"));
}

void DeleteTableCommand(TAppForm& main, DataTable table)
{
    if (!main.CheckAdmin())
        return;
    const QString question = DeleteAllQuestion(table);
    if (main.dialogs().message(&main, TranslateText("Confirm"), TranslateText(question), Dialogs::Icon::Question,
                               Dialogs::Yes | Dialogs::No)
        != Dialogs::Yes)
        return;
    DeleteAllRows(main.SQLConnection1(), table);
}
