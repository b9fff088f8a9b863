#include "reports/ui/DataExchangeCommands.h"

#include "app/ui/LongTaskRunner.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "reports/BulkDelete.h"
#include "reports/ui/CsvExportRunner.h"
#include "reports/ui/CsvFileDialog.h"
#include "reports/ProductImport.h"
#include "reports/TableExport.h"
#include "store/WorkerConnection.h"

void ExportTableCommand(AppContext& context, DataTable table)
{
    CsvFileDialog& dialog = CsvFileDialog::mainSaveDialog(context);
    // The credits export runs the dialog as the last export left it.
    if (table != DataTable::Credits)
        dialog.prepareForCsv();
    const QString path = dialog.execute(context.dialogs(), context.window());
    if (path.isEmpty())
        return;
    const QString paidWord = TranslateText("PAID");
    const QChar separator = context.CsvSeparator;
    RunCsvExport(context, context.window(), [&](Database& db, LongTaskProgress& progress) {
        return ExportTableCsv(db, table, separator, paidWord, path, &progress);
    });
}

void ImportProductsCommand(AppContext& context)
{
    const QString path = CsvFileDialog::mainOpenDialog(context).execute(context.dialogs(), context.window());
    if (path.isEmpty())
        return;
    const QString dataFile = context.SQLConnection1().path();
    const QChar separator = context.CsvSeparator;
    const int ansiCodePage = context.env().ansiCodePage();
    ProductImportResult result;
    QStringList engineErrors; // a failed insert's message, and any the connection reported
    LongTaskRunner::run(context.window(), TranslateText("Importing products..."), [&](LongTaskProgress& progress) {
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
        context.ReportDatabaseError(message);
    if (!result.fileRead) {
        context.ShowError(result.error);
        return;
    }
    context.dialogs().information(context.window(), TranslateText("Import"),
                                  TranslateText("Imported:") + QLatin1Char(' ') + QString::number(result.imported)
                                      + QLatin1Char(' ') + TranslateText("entries"));
}

void DeleteTableCommand(AppContext& context, DataTable table)
{
    if (!context.CheckAdmin())
        return;
    const QString question = DeleteAllQuestion(table);
    if (context.dialogs().message(context.window(), TranslateText("Confirm"), TranslateText(question),
                                  Dialogs::Icon::Question,
                               Dialogs::Yes | Dialogs::No)
        != Dialogs::Yes)
        return;
    DeleteAllRows(context.SQLConnection1(), table);
}
