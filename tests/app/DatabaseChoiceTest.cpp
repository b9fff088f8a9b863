#include "store/ui/BackupCommands.h"
#include "store/ui/DatabaseSettingsWindow.h"
#include "support/ContextFixture.h"
#include "support/FindControl.h"
#include "support/TestServerDatabase.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

// Which database the program opens: data.db, or the server DatabaseUrl names.

namespace {

using DatabaseChoiceTest = ContextFixture;

TEST_F(DatabaseChoiceTest, AServerUrlOpensTheServerWithTheProgramsTablesAndNoDataFile)
{
    TestServerDatabase server;
    if (!server.available())
        GTEST_SKIP() << server.reason().toStdString();
    writeSettings({QStringLiteral("DatabaseUrl=") + server.url(), QStringLiteral("TillName=Till 2")});
    AppContext& context = startContext();
    EXPECT_TRUE(context.SQLConnection1().isOnServer());
    EXPECT_EQ(context.tillName(), QStringLiteral("Till 2"));
    EXPECT_TRUE(context.SQLConnection1().Query(QStringLiteral("SELECT count(*) FROM odemeler;")).ok);
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("data.db"))));
    EXPECT_TRUE(dialogs.shown.empty());

    // A server database is not a file: backup and restore say so and ask for no file.
    BackupCommand(dialogs, nullptr, context.SQLConnection1(), m_dir.path());
    EXPECT_FALSE(RestoreCommand(dialogs, nullptr, context.SQLConnection1(), dataFile(QStringLiteral("data.db")),
                                m_dir.path()));
    ASSERT_EQ(dialogs.shown.size(), 2U); // two warnings, no file dialog
    EXPECT_TRUE(dialogs.messageTexts().value(0).contains(QStringLiteral("pg_dump")));
    EXPECT_EQ(dialogs.messageTexts().value(1), dialogs.messageTexts().value(0));
}

TEST_F(DatabaseChoiceTest, ATextThatIsNoServerUrlIsShownAndOpensNothing)
{
    writeSettings({QStringLiteral("DatabaseUrl=shop-server")});
    context = std::make_unique<AppContext>(env, dialogs);
    EXPECT_FALSE(context->openDatabase());
    EXPECT_FALSE(context->SQLConnection1().isOpen());
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("data.db"))));
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].endsWith(QStringLiteral("URI: shop-server")));
}

TEST_F(DatabaseChoiceTest, AnUnreachableServerIsNamedAndTheProgramGoesOn)
{
    writeSettings({QStringLiteral("DatabaseUrl=postgresql://till@/quenvale?host=/nonexistent-folder")});
    context = std::make_unique<AppContext>(env, dialogs);
    EXPECT_FALSE(context->openDatabase());
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].startsWith(QStringLiteral("The server could not be reached.")));
    EXPECT_TRUE(dialogs.messageTexts()[0].contains(QStringLiteral("/nonexistent-folder")));
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("data.db"))));
}

TEST_F(DatabaseChoiceTest, TheDatabaseWindowTestsTheServerAndStoresItWithARestart)
{
    TestServerDatabase server;
    if (!server.available())
        GTEST_SKIP() << server.reason().toStdString();
    AppContext& context = startContext();
    DatabaseSettingsWindow window(context);
    auto* url = FindControl<QLineEdit>(window, "EditDatabaseUrl");
    auto* till = FindControl<QLineEdit>(window, "EditTillName");
    EXPECT_TRUE(url->text().isEmpty());
    EXPECT_FALSE(till->text().isEmpty()); // the host name until one is set

    // A text that is no server URL is refused and stores nothing.
    url->setText(QStringLiteral("shop-server"));
    FindControl<QPushButton>(window, "ButtonOk")->click();
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].endsWith(QStringLiteral("URI: shop-server")));
    EXPECT_TRUE(context.settings().text(SettingKey::DatabaseUrl).isEmpty());

    url->setText(server.url());
    FindControl<QPushButton>(window, "ButtonTestConnection")->click();
    EXPECT_EQ(dialogs.messageTexts().value(1), QStringLiteral("Connected to the server."));

    // "No" to the restart keeps everything as it was; "Yes" stores both and restarts.
    till->setText(QStringLiteral("Till 3"));
    dialogs.messageAnswers = {Dialogs::No};
    FindControl<QPushButton>(window, "ButtonOk")->click();
    EXPECT_TRUE(context.settings().text(SettingKey::DatabaseUrl).isEmpty());
    EXPECT_EQ(env.quitRequests, 0);
    dialogs.messageAnswers = {Dialogs::Yes};
    FindControl<QPushButton>(window, "ButtonOk")->click();
    EXPECT_EQ(context.settings().text(SettingKey::DatabaseUrl), server.url());
    EXPECT_EQ(context.settings().text(SettingKey::TillName), QStringLiteral("Till 3"));
    EXPECT_EQ(env.quitRequests, 1);
    EXPECT_EQ(dialogs.messageTexts().value(2), QStringLiteral("Restart Application?"));
}

TEST_F(DatabaseChoiceTest, TheDatabaseWindowNamesAServerItCannotReach)
{
    AppContext& context = startContext();
    DatabaseSettingsWindow window(context);
    FindControl<QLineEdit>(window, "EditDatabaseUrl")
        ->setText(QStringLiteral("postgresql://till@/quenvale?host=/nonexistent-folder"));
    FindControl<QPushButton>(window, "ButtonTestConnection")->click();
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].startsWith(QStringLiteral("The server could not be reached.")));
    EXPECT_TRUE(dialogs.messageTexts()[0].contains(QStringLiteral("/nonexistent-folder")));
}

} // namespace
