#include "reports/ui/CsvExportRunner.h"

#include "app/AppContext.h"
#include "app/ui/LongTaskRunner.h"
#include "i18n/Translator.h"
#include "store/WorkerConnection.h"

void RunCsvExport(AppContext& context, QWidget* parent, const CsvExporter& exporter)
{
    const QString dataFile = context.SQLConnection1().path();
    CsvExportResult result;
    QStringList engineErrors;
    const QString caption = TranslateText("Exporting...");
    const bool finished = LongTaskRunner::run(parent, caption, [&](LongTaskProgress& progress) {
        WorkerConnection connection(dataFile, progress.cancelCheck());
        if (connection.isOpen())
            result = exporter(connection.db(), progress);
        else
            result.status = CsvExportResult::Status::QueryFailed;
        engineErrors = connection.errors();
    });
    if (!finished)
        return; // nothing was written
    for (const QString& message : engineErrors)
        context.ReportDatabaseError(message);
    switch (result.status) {
    case CsvExportResult::Status::Written:
    case CsvExportResult::Status::Cancelled:
    case CsvExportResult::Status::QueryFailed: // reported by the database
        break;
    case CsvExportResult::Status::BadValue:
    case CsvExportResult::Status::WriteFailed:
        context.ShowError(result.message);
        break;
    }
}
