#pragma once

#include "Harness.h"

#include <QString>
#include <vector>

// B10: the X report of a session of 10,000 sales. B11: the day summary of 20 tills with 2,000 sales each, every
// till closed with its Z. Each on a data.db of its own in the folder and, with a server URL, in a database of its
// own on the server, against raw SQL (sqlite3, libpq) reading the same rows and adding up the same figures.
std::vector<BenchResult> RunCashupBenchmarks(const QString& folder, const QString& serverUrl, bool xReport,
                                             bool daySummary);
