#include "reports/ui/CsvFileDialog.h"

#include "app/AppContext.h"
#include "i18n/Translator.h"

#include <QFileInfo>

namespace {

CsvFileDialog& childDialog(AppContext& context, CsvFileDialog::Kind kind, const QString& name)
{
    if (auto* dialog = context.findChild<CsvFileDialog*>(name, Qt::FindDirectChildrenOnly))
        return *dialog;
    auto* dialog = new CsvFileDialog(kind, &context);
    dialog->setObjectName(name);
    return *dialog;
}

} // namespace

CsvFileDialog::CsvFileDialog(Kind kind, QObject* owner) : QObject(owner), m_kind(kind)
{
    // As created, before any export has set it up.
    m_request.filter = QStringLiteral("CSV File|*.csv");
    m_request.defaultSuffix = QStringLiteral("csv");
    m_request.confirmOverwrite = kind == Kind::Save;
}

void CsvFileDialog::prepareForCsv()
{
    m_request.filter = TranslateText("CSV File (*.csv)") + QStringLiteral("|*.csv");
    m_request.defaultSuffix = QStringLiteral("csv");
}

QString CsvFileDialog::execute(Dialogs& dialogs, QWidget* parent)
{
    Dialogs::FileRequest request = m_request;
    if (!m_lastFile.isEmpty()) {
        request.folder = QFileInfo(m_lastFile).absolutePath();
        request.fileName = m_lastFile;
    }
    const QString path = m_kind == Kind::Save ? dialogs.saveFile(parent, request) : dialogs.openFile(parent, request);
    if (!path.isEmpty())
        m_lastFile = path;
    return path;
}

CsvFileDialog& CsvFileDialog::mainSaveDialog(AppContext& context)
{
    return childDialog(context, Kind::Save, QStringLiteral("SaveDialog1"));
}

CsvFileDialog& CsvFileDialog::mainOpenDialog(AppContext& context)
{
    return childDialog(context, Kind::Open, QStringLiteral("OpenDialog1"));
}
