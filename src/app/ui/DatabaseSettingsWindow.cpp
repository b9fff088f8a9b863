#include "app/ui/DatabaseSettingsWindow.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "store/DatabaseEngine.h"
#include "store/ServerUrl.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DatabaseSettingsWindow::DatabaseSettingsWindow(AppContext& context)
    : QDialog(context.window(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_context(context)
{
    setObjectName(QStringLiteral("DatabaseSettingsWindow"));
    setWindowTitle(TranslateText("Database"));

    LabelDatabaseUrl = new QLabel(TranslateText("Server URL:"), this);
    LabelDatabaseUrl->setObjectName(QStringLiteral("LabelDatabaseUrl"));
    EditDatabaseUrl = new QLineEdit(context.settings().text(SettingKey::DatabaseUrl), this);
    EditDatabaseUrl->setObjectName(QStringLiteral("EditDatabaseUrl"));
    EditDatabaseUrl->setMinimumWidth(360);
    EditDatabaseUrl->setPlaceholderText(QStringLiteral("postgresql://till@shop-server/quenvale"));
    LabelDatabaseUrl->setBuddy(EditDatabaseUrl);
    LabelHint = new QLabel(TranslateText("Empty: the data.db file of this computer."), this);
    LabelHint->setObjectName(QStringLiteral("LabelHint"));
    LabelTillName = new QLabel(TranslateText("Till name:"), this);
    LabelTillName->setObjectName(QStringLiteral("LabelTillName"));
    EditTillName = new QLineEdit(context.tillName(), this);
    EditTillName->setObjectName(QStringLiteral("EditTillName"));
    LabelTillName->setBuddy(EditTillName);

    ButtonTestConnection = new QPushButton(TranslateText("Test Connection"), this);
    ButtonTestConnection->setObjectName(QStringLiteral("ButtonTestConnection"));
    ButtonOk = new QPushButton(TranslateText("OK"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = new QPushButton(TranslateText("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));

    auto* form = new QFormLayout;
    form->addRow(LabelDatabaseUrl, EditDatabaseUrl);
    form->addRow(QString(), LabelHint);
    form->addRow(LabelTillName, EditTillName);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonTestConnection);
    buttons->addStretch(1);
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ButtonTestConnection, &QPushButton::clicked, this,
            [this] { m_context.runGuarded([this] { ButtonTestConnectionClick(); }); });
    connect(ButtonOk, &QPushButton::clicked, this, [this] { m_context.runGuarded([this] { ButtonOkClick(); }); });
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int DatabaseSettingsWindow::showModalFor(AppContext& context)
{
    DatabaseSettingsWindow window(context);
    return context.dialogs().execModal(window);
}

bool DatabaseSettingsWindow::typedUrlIsUsable()
{
    const QString url = EditDatabaseUrl->text().trimmed();
    // The URL is stored in settings.ini and shown in messages: a password has no place in it.
    if (HasPassword(url)) {
        m_context.dialogs().warning(
            this, TranslateText("WARNING"),
            TranslateText("The server URL must not contain a password: it would be stored in settings.ini.")
                + QStringLiteral("\n\n")
                + TranslateText(
                    "libpq reads the password from ~/.pgpass, from the file PGPASSFILE names, or from a service file (PGSERVICEFILE)."));
        return false;
    }
    if (url.isEmpty() || IsServerUrl(url))
        return true;
    m_context.dialogs().warning(this, TranslateText("WARNING"),
                                TranslateText("DatabaseUrl is not a PostgreSQL connection URI:") + QLatin1Char(' ')
                                    + ShownServerUrl(url));
    return false;
}

void DatabaseSettingsWindow::ButtonTestConnectionClick()
{
    const QString url = EditDatabaseUrl->text().trimmed();
    if (!typedUrlIsUsable())
        return;
    if (url.isEmpty()) {
        m_context.dialogs().information(this, TranslateText("Database"),
                                        TranslateText("Empty: the data.db file of this computer."));
        return;
    }
    QString reason;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool connected = CanConnect(url, &reason);
    QGuiApplication::restoreOverrideCursor();
    if (connected)
        m_context.dialogs().information(this, TranslateText("Database"), TranslateText("Connected to the server."));
    else
        m_context.dialogs().error(this, TranslateText("ERROR"),
                                  TranslateText("The server could not be reached.") + QStringLiteral("\n\n")
                                      + WithoutPassword(reason, url));
}

void DatabaseSettingsWindow::ButtonOkClick()
{
    if (!typedUrlIsUsable())
        return;
    const QString url = EditDatabaseUrl->text().trimmed();
    const QString till = EditTillName->text().trimmed();
    SettingsStore& settings = m_context.settings();
    if (url == settings.text(SettingKey::DatabaseUrl) && till == m_context.tillName()) {
        accept();
        return;
    }
    // The connection is made at start: a change takes effect with a restart.
    if (!m_context.dialogs().askYesNo(this, TranslateText("Confirmation"), TranslateText("Restart Application?"),
                                      Dialogs::Icon::Question, TranslateText("Yes"), TranslateText("No")))
        return;
    settings.set({{SettingKey::DatabaseUrl, url}, {SettingKey::TillName, till}});
    m_context.RestartApplication();
    accept();
}
