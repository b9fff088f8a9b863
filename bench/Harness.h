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

struct BenchResult
{
    QString id;
    QString name;
    double programMs = 0;
    double baselineMs = 0;
    double targetRatio = 0;
    double ratio() const { return baselineMs > 0 ? programMs / baselineMs : 0; }
    bool met() const { return ratio() <= targetRatio; }
};

BenchResult RunOperation(const BenchOperation& op);
void PrintTable(const std::vector<BenchResult>& results);

// Peak resident memory of this process since the last reset, in MiB (Linux VmHWM).
void ResetPeakMemory();
double PeakMemoryMiB();
