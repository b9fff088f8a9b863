#include "LoadRun.h"

#include "LoadShop.h"
#include "RawServer.h"
#include "ServerBaselines.h"
#include "ServerDataSet.h"

#include "pos/Payment.h"
#include "pos/SaleRecorder.h"
#include "store/Database.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <latch>
#include <memory>
#include <thread>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

// One till of a round: its own connection, and how it stores a sale.
class LoadTill
{
public:
    virtual ~LoadTill() = default;
    virtual bool ready() const = 0;
    virtual QString error() const = 0;
    // True when the sale was stored as a whole.
    virtual bool storeSale(const LoadShop::Sale& sale, qint64 receiptNumber) = 0;
};

// The program's path: its Database on the server under the till's name, and the sale recorder of the checkout.
class ProgramTill : public LoadTill
{
public:
    ProgramTill(const QString& url, const QString& tillName)
    {
        m_db.setErrorReporter([this](const QString& message) { m_error = message; });
        m_db.setTillName(tillName);
        m_db.open(url);
    }
    bool ready() const override { return m_db.isOpen() && m_error.isEmpty(); }
    QString error() const override { return m_error; }
    bool storeSale(const LoadShop::Sale& sale, qint64 receiptNumber) override
    {
        return RecordSale(m_db, sale, Payment::cash(), receiptNumber).committed;
    }

private:
    Database m_db;
    QString m_error;
};

// Plain libpq with the same statements, prepared once.
class RawTill : public LoadTill
{
public:
    RawTill(const QString& url, QString tillName) : m_raw(url), m_till(std::move(tillName)) {}
    bool ready() const override { return m_raw.ready(); }
    QString error() const override { return m_raw.error(); }
    bool storeSale(const LoadShop::Sale& sale, qint64 receiptNumber) override
    {
        return m_raw.storeSale(sale, receiptNumber, m_till).committed;
    }

private:
    ServerBaselines m_raw;
    QString m_till;
};

struct RoundFigures
{
    double salesPerSecond = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    double tillCpuMsPerSale = 0; // the tills' own processor time (this process, not the server's)
    int failedSales = 0;
};

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

// The value below which the given share of the sorted values lies (nearest rank).
double Percentile(const std::vector<double>& sorted, double share)
{
    if (sorted.empty())
        return 0;
    const size_t rank = size_t(std::ceil(share * double(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Every till connects first; then all start at once and store their sales one after the other, each timed.
// committed receives which sales were stored.
bool RunRound(std::vector<std::unique_ptr<LoadTill>>& tills, const LoadShop& shop, RoundFigures& figures,
              std::vector<std::vector<bool>>& committed, QString* error)
{
    for (const auto& till : tills) {
        if (!till->ready()) {
            *error = till->error();
            return false;
        }
    }
    const size_t count = tills.size();
    std::vector<std::vector<double>> times(count);
    std::vector<double> cpu(count);
    committed.assign(count, {});
    std::latch start(1);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < count; ++t) {
        threads.emplace_back([&, t] {
            const std::vector<LoadShop::Sale>& plan = shop.plan(int(t));
            times[t].reserve(plan.size());
            start.wait();
            const double cpuBefore = ThreadCpuMs();
            for (size_t s = 0; s < plan.size(); ++s) {
                const auto begin = Clock::now();
                committed[t].push_back(tills[t]->storeSale(plan[s], qint64(s) + 1));
                times[t].push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
            }
            cpu[t] = ThreadCpuMs() - cpuBefore;
        });
    }
    const auto begin = Clock::now();
    start.count_down();
    for (std::thread& thread : threads)
        thread.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();

    std::vector<double> all;
    for (size_t t = 0; t < count; ++t) {
        figures.tillCpuMsPerSale += cpu[t];
        all.insert(all.end(), times[t].begin(), times[t].end());
        figures.failedSales += int(std::count(committed[t].begin(), committed[t].end(), false));
    }
    std::sort(all.begin(), all.end());
    figures.tillCpuMsPerSale /= std::max<double>(1, double(all.size()));
    figures.salesPerSecond = seconds > 0 ? double(all.size() - size_t(figures.failedSales)) / seconds : 0;
    figures.p50Ms = Percentile(all, 0.50);
    figures.p99Ms = Percentile(all, 0.99);
    return true;
}

LoadFigures MedianOf(const std::vector<RoundFigures>& rounds)
{
    std::vector<double> rate, p50, p99, cpu;
    for (const RoundFigures& r : rounds) {
        rate.push_back(r.salesPerSecond);
        p50.push_back(r.p50Ms);
        p99.push_back(r.p99Ms);
        cpu.push_back(r.tillCpuMsPerSale);
    }
    return {Median(rate), Median(p50), Median(p99), Median(cpu)};
}

int Value(const QStringList& arguments, const char* name, int fallback)
{
    const qsizetype at = arguments.indexOf(QString::fromLatin1(name));
    if (at < 0 || at + 1 >= arguments.size())
        return fallback;
    bool ok = false;
    const int value = arguments[at + 1].toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

} // namespace

LoadSettings LoadSettings::fromArguments(const QStringList& arguments)
{
    LoadSettings s;
    s.tills = Value(arguments, "--tills", s.tills);
    s.salesPerTill = Value(arguments, "--sales", s.salesPerTill);
    s.linesPerSale = Value(arguments, "--lines", s.linesPerSale);
    s.products = Value(arguments, "--products", s.products);
    s.rounds = Value(arguments, "--rounds", s.rounds);
    return s;
}

QString LoadSettings::description() const
{
    return QStringLiteral("%1 tills x %2 sales of %3 lines, %4 products")
        .arg(tills).arg(salesPerTill).arg(linesPerSale).arg(products);
}

bool LoadResult::met() const
{
    return state == State::Measured && problems.isEmpty() && throughputRatio() >= 0.67 && p99Ratio() <= 1.5;
}

LoadResult RunLoad(const QString& serverUrl, const LoadSettings& settings)
{
    LoadResult result;
    result.settings = settings;
    if (serverUrl.isEmpty()) {
        result.reason = QStringLiteral("not given (QUENVALE_TEST_PG_URL is unset; "
                                       "scripts/with-test-database-server.sh sets it)");
        return result;
    }
    result.state = LoadResult::State::Failed;
    const ServerDataSet database(serverUrl, QString(), QStringLiteral("load"));
    if (!database.ready()) {
        result.reason = database.error();
        return result;
    }
    RawServer admin(database.url());
    const LoadShop shop(settings);
    std::vector<RoundFigures> program;
    std::vector<RoundFigures> baseline;
    for (int round = 1; round <= settings.rounds; ++round) {
        // The side that goes first changes from round to round, so neither always meets a fresher server.
        for (const bool programSide : {round % 2 == 1, round % 2 == 0}) {
            const QString name = (programSide ? QStringLiteral("p") : QStringLiteral("b")) + QString::number(round);
            if (!shop.reset(admin, &result.reason))
                return result;
            std::vector<std::unique_ptr<LoadTill>> tills;
            for (int t = 0; t < settings.tills; ++t) {
                const QString till = LoadShop::tillName(name, t);
                if (programSide)
                    tills.push_back(std::make_unique<ProgramTill>(database.url(), till));
                else
                    tills.push_back(std::make_unique<RawTill>(database.url(), till));
            }
            RoundFigures figures;
            std::vector<std::vector<bool>> committed;
            if (!RunRound(tills, shop, figures, committed, &result.reason))
                return result;
            tills.clear(); // the connections go before the next side connects
            int soldOut = 0;
            const QStringList problems = shop.check(admin, name, committed, &soldOut);
            result.problems << problems;
            (programSide ? program : baseline).push_back(figures);
            std::printf("  L1 round %d %-8s %8.1f sales/s, p50 %7.2f ms, p99 %7.2f ms, till CPU %.3f ms/sale, "
                        "%d failed, %d sold out, %s\n",
                        round, programSide ? "program" : "baseline", figures.salesPerSecond, figures.p50Ms,
                        figures.p99Ms, figures.tillCpuMsPerSale, figures.failedSales, soldOut,
                        problems.isEmpty() ? "checks passed" : "CHECKS FAILED");
            std::fflush(stdout);
        }
    }
    result.state = LoadResult::State::Measured;
    result.program = MedianOf(program);
    result.baseline = MedianOf(baseline);
    return result;
}

void PrintLoadTable(const LoadResult& r)
{
    std::printf("\n| # | load run | program (sales/s) | baseline (sales/s) | throughput ratio | target "
                "| program p50 (ms) | baseline p50 (ms) | program p99 (ms) | baseline p99 (ms) | p99 ratio | target "
                "| checks | met |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|---|\n");
    const QString name = r.settings.description();
    if (r.state != LoadResult::State::Measured) {
        std::printf("| L1 | %s | %s | | | >= 0.67 | | | | | | <= 1.5 | | %s |\n\nLoad run: %s\n", qPrintable(name),
                    r.state == LoadResult::State::NotGiven ? "server not given" : "server failed",
                    r.state == LoadResult::State::NotGiven ? "" : "NO", qPrintable(r.reason));
        std::fflush(stdout);
        return;
    }
    std::printf("| L1 | %s | %.1f | %.1f | %.2f | >= 0.67 | %.2f | %.2f | %.2f | %.2f | %.2f | <= 1.5 | %s | %s |\n",
                qPrintable(name), r.program.salesPerSecond, r.baseline.salesPerSecond, r.throughputRatio(),
                r.program.p50Ms, r.baseline.p50Ms, r.program.p99Ms, r.baseline.p99Ms, r.p99Ratio(),
                r.problems.isEmpty() ? "stock exact, sales whole, receipts once" : "FAILED", r.met() ? "yes" : "NO");
    for (const QString& problem : r.problems)
        std::printf("  %s\n", qPrintable(problem));
    std::printf("\nLoad run: medians of %d rounds a side; the tills' own processor time per sale: program %.3f ms, "
                "baseline %.3f ms.\n",
                r.settings.rounds, r.program.tillCpuMsPerSale, r.baseline.tillCpuMsPerSale);
    std::fflush(stdout);
}
