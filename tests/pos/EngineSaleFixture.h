#pragma once

#include "SaleFixture.h"
#include "support/Engines.h"

// The sale screen's fixture on either engine: data.db, or (Postgres) a database of its own on the test server
// that settings.ini names, with the till "Till 1". Without a test server the Postgres cases are skipped.
class EngineSaleFixture : public SaleFixture, public ::testing::WithParamInterface<Engine>
{
protected:
    void SetUp() override;

    bool onServer() const { return GetParam() == Engine::Postgres; }
    // An empty shop for the next start(): data.db removed, or a new database on the server.
    void renewDatabase() { useNewDatabase(GetParam()); }
};
