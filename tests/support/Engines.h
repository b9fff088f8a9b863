#pragma once

#include <gtest/gtest.h>
#include <ostream>
#include <string>

// The two engines a suite that reaches the database runs on: data.db, and a database on the PostgreSQL server
// the test script starts (QUENVALE_TEST_PG_URL; the server cases skip without it).
//   INSTANTIATE_TEST_SUITE_P(Engines, SomeTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);
enum class Engine { Sqlite, Postgres };

// The engine's name at the end of the test's name: "Engines/SomeTest.Case/Postgres".
inline std::string EngineName(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

// The engine as gtest prints the parameter ("GetParam() = Postgres").
inline void PrintTo(Engine engine, std::ostream* out)
{
    *out << (engine == Engine::Sqlite ? "Sqlite" : "Postgres");
}
