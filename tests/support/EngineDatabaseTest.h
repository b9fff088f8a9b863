#pragma once

#include "store/Database.h"
#include "support/Engines.h"
#include "support/TestServerDatabase.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A store-level suite on both engines: db is an empty shop in data.db (a copy of empty.db in a temporary folder)
// or in a database of its own on the test server (the server cases are skipped without one), migrated; what the
// database reports is collected in reported.
class EngineDatabaseTest : public ::testing::TestWithParam<Engine>
{
protected:
    void SetUp() override;
    void TearDown() override;

    bool onServer() const { return GetParam() == Engine::Postgres; }

    QTemporaryDir folder;
    std::unique_ptr<TestServerDatabase> server;
    Database db;
    QStringList reported;
};
