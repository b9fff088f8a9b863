#pragma once

// What the test programs that the reliability tests start as child processes share.

#include "pos/ui/SaleScreen.h"
#include "support/FixedEnvironment.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

// Ends the child with exit code 2 and the reason on stderr, where the test shows it.
[[noreturn]] inline void ChildFail(const char* program, const QString& why)
{
    std::fprintf(stderr, "%s: %s\n", program, qPrintable(why));
    std::fflush(stderr);
    std::_Exit(2);
}

// The program folder the test prepared: settings.ini and data beside the executable, application data below.
inline void UseProgramFolder(FixedEnvironment& env, const QString& folder)
{
    env.exeFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    env.appDataFolder = env.exeFolder + QStringLiteral("appdata");
}

// A barcode and quantity read by the scanner into the sale list; false when no product has the barcode.
inline bool ScanIntoSale(SaleScreen& screen, const QString& barcode, qint64 quantity)
{
    return screen.BarkodOkundu(barcode, quantity);
}
