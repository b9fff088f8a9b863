#pragma once

#include "app/AppContext.h"
#include "support/Engines.h"
#include "support/FixedEnvironment.h"
#include "support/ScriptedDialogs.h"
#include "support/TestServerDatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A program folder in a temporary directory with empty.db and the Languages folder beside a pretend executable,
// the data files kept in the same (writable) folder, a fixed clock and locale, and scripted dialogs. A window
// under test is built on the context (startContext) and needs no main window.
class ContextFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes settings.ini before the context is created (lines without the section header).
    void writeSettings(const QStringList& keyValueLines);
    // Points the program at a database on a server: settings.ini names it (DatabaseUrl) and the till (TillName)
    // from now on, and every later writeSettings keeps both lines.
    void useServer(const QString& url, const QString& tillName);
    // An empty shop on the engine for the next start: data.db removed, or a new database of its own on the test
    // server that settings.ini names, with the till "Till 1" (the test is skipped without a test server).
    void useNewDatabase(Engine engine);
    // Creates the context on the program folder and opens its database.
    AppContext& startContext();
    // Runs pending events so one-shot timers fire.
    void pump(int milliseconds = 0);

    QString programFolder() const { return m_dir.path() + QStringLiteral("/"); }
    QString dataFile(const QString& name) const { return programFolder() + name; }

    QTemporaryDir m_dir;
    FixedEnvironment env;
    ScriptedDialogs dialogs;
    std::unique_ptr<AppContext> context;

private:
    QStringList m_serverSettings;
    std::unique_ptr<TestServerDatabase> m_server; // dropped after the context, whose connection is closed by then
};
