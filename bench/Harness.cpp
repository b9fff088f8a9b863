#include "Harness.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double timeOnce(const std::function<void()>& setUp, const std::function<void()>& work)
{
    if (setUp)
        setUp();
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

BenchResult RunOperation(const BenchOperation& op)
{
    std::vector<double> program;
    std::vector<double> baseline;
    // Alternate the two sides so that a slow phase of the machine hits both alike.
    for (int i = 0; i < op.repeats; ++i) {
        baseline.push_back(timeOnce(op.setUp, op.baseline));
        program.push_back(timeOnce(op.setUp, op.program));
    }
    BenchResult r;
    r.id = op.id;
    r.name = op.name;
    r.programMs = median(program);
    r.baselineMs = median(baseline);
    r.targetRatio = op.targetRatio;
    std::printf("  %s done: program %.3f ms, baseline %.3f ms\n", qPrintable(op.id), r.programMs, r.baselineMs);
    std::fflush(stdout);
    return r;
}

ServerFigures RunOnServer(const BenchOperation& op)
{
    BenchOperation named = op;
    named.id += QStringLiteral(" server");
    const BenchResult r = RunOperation(named);
    ServerFigures figures;
    figures.state = ServerFigures::State::Measured;
    figures.programMs = r.programMs;
    figures.baselineMs = r.baselineMs;
    figures.targetRatio = op.targetRatio;
    return figures;
}

namespace {

// The server's cells of one line: program, baseline, ratio, target, met.
QString ServerCells(const ServerFigures& s)
{
    switch (s.state) {
    case ServerFigures::State::None:
        return QStringLiteral("| | | | | |");
    case ServerFigures::State::NotGiven:
        return QStringLiteral("| server not given | | | <= %1 | |").arg(s.targetRatio, 0, 'f', 1);
    case ServerFigures::State::Failed:
        return QStringLiteral("| server failed | | | <= %1 | NO |").arg(s.targetRatio, 0, 'f', 1);
    case ServerFigures::State::Measured:
        break;
    }
    return QStringLiteral("| %1 | %2 | %3 | <= %4 | %5 |")
        .arg(s.programMs, 0, 'f', 3)
        .arg(s.baselineMs, 0, 'f', 3)
        .arg(s.ratio(), 0, 'f', 2)
        .arg(s.targetRatio, 0, 'f', 1)
        .arg(s.met() ? QStringLiteral("yes") : QStringLiteral("NO"));
}

} // namespace

void PrintTable(const std::vector<BenchResult>& results)
{
    std::printf("\n| # | operation | program (median ms) | baseline (median ms) | ratio | target | met "
                "| server program (median ms) | server baseline (median ms) | server ratio | server target "
                "| server met |\n");
    std::printf("|---|---|---:|---:|---:|---:|---|---:|---:|---:|---:|---|\n");
    QString reason;
    for (const BenchResult& r : results) {
        std::printf("| %s | %s | %.3f | %.3f | %.2f | <= %.1f | %s %s\n", qPrintable(r.id), qPrintable(r.name),
                    r.programMs, r.baselineMs, r.ratio(), r.targetRatio, r.met() ? "yes" : "NO",
                    qPrintable(ServerCells(r.server)));
        if (r.server.state == ServerFigures::State::NotGiven || r.server.state == ServerFigures::State::Failed)
            reason = r.server.reason;
    }
    if (!reason.isEmpty())
        std::printf("\nServer: %s\n", qPrintable(reason));
    std::fflush(stdout);
}

void ResetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double PeakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}
