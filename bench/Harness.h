#pragma once

#include <QString>
#include <functional>
#include <vector>

// Times the program's own path against a baseline doing the least work for the same result, and prints one
// line per operation: both medians, their ratio and the target.
struct BenchOperation
{
    QString id;          // "B1"
    QString name;
    double targetRatio;  // program / baseline must stay at or below this
    int repeats;
    std::function<void()> setUp;     // before every repetition of either side, not timed
    std::function<void()> program;
    std::function<void()> baseline;
};

// The same operation with the program's database on a PostgreSQL server, for the operations that have it.
struct ServerFigures
{
    enum class State { None, NotGiven, Failed, Measured };
    State state = State::None;
    QString reason; // why it was not measured
    double programMs = 0;
    double baselineMs = 0;
    double targetRatio = 1.5;
    double ratio() const { return baselineMs > 0 ? programMs / baselineMs : 0; }
    bool met() const { return ratio() <= targetRatio; }
};

struct BenchResult
{
    QString id;
    QString name;
    double programMs = 0;
    double baselineMs = 0;
    double targetRatio = 0;
    double ratio() const { return baselineMs > 0 ? programMs / baselineMs : 0; }
    bool met() const { return ratio() <= targetRatio; }
    ServerFigures server;
};

BenchResult RunOperation(const BenchOperation& op);
// Times the operation with the server and gives its medians.
ServerFigures RunOnServer(const BenchOperation& op);
void PrintTable(const std::vector<BenchResult>& results);

// Peak resident memory of this process since the last reset, in MiB (Linux VmHWM).
void ResetPeakMemory();
double PeakMemoryMiB();
