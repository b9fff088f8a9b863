#pragma once

#include <QString>
#include <QStringList>

// The load run: many tills on one PostgreSQL server, each with a connection of its own, storing their sales at
// the same time over one shared set of products, some of which sell out. The program's checkout path (the
// sale recorder on the program's Database) runs against plain libpq doing the same statements with the same
// concurrency, in alternating rounds of the same run; after every round the stock, the stored sales and the
// receipt numbers are checked.
struct LoadSettings
{
    int tills = 20;
    int salesPerTill = 50;
    int linesPerSale = 5;
    int products = 200;
    int rounds = 5;

    // From the command line: --tills N, --sales N (per till), --lines N, --products N, --rounds N.
    static LoadSettings fromArguments(const QStringList& arguments);
    QString description() const;
};

// One side's figures, each the median of its rounds.
struct LoadFigures
{
    double salesPerSecond = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    double tillCpuMsPerSale = 0; // processor time of the till threads themselves (the server's not included)
};

struct LoadResult
{
    enum class State { NotGiven, Failed, Measured };
    State state = State::NotGiven;
    QString reason; // why it was not measured
    LoadSettings settings;
    LoadFigures program;
    LoadFigures baseline;
    QStringList problems; // what the checks found wrong, in either side

    double throughputRatio() const
    {
        return baseline.salesPerSecond > 0 ? program.salesPerSecond / baseline.salesPerSecond : 0;
    }
    double p99Ratio() const { return baseline.p99Ms > 0 ? program.p99Ms / baseline.p99Ms : 0; }
    bool met() const;
};

// serverUrl reaches the server (QUENVALE_TEST_PG_URL); the run works in a database of its own there.
LoadResult RunLoad(const QString& serverUrl, const LoadSettings& settings);
void PrintLoadTable(const LoadResult& result);
