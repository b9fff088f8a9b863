#include "reports/DataExchangeCommands.h"

#include "app/ui/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "reports/BulkDelete.h"
#include "reports/CsvFileDialog.h"
#include "reports/ProductImport.h"
#include "reports/TableExport.h"

void ExportTableCommand(TAppForm& main, DataTable table)
{
    CsvFileDialog& dialog = CsvFileDialog::mainSaveDialog(main);
    // The credits export runs the dialog as the last export left it.
    if (table != DataTable::Credits)
        dialog.prepareForCsv();
    const QString path = dialog.execute(main.dialogs(), &main);
    if (path.isEmpty())
        return;
    const CsvExportResult result =
        ExportTableCsv(main.SQLConnection1(), table, main.CsvSeparator, TranslateText("PAID"), path);
    switch (result.status) {
    case CsvExportResult::Status::Written:
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
    const ProductImportResult result =
        ImportProducts(main.SQLConnection1(), path, main.CsvSeparator, main.env().ansiCodePage(),
                       [&main](const QString& engineMessage) { main.ReportDatabaseError(engineMessage); });
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
