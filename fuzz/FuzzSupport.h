#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// The input as a byte array (a deep copy, so the sanitizer sees reads past its end).
QByteArray Bytes(const uint8_t* data, size_t size);

// Starts one QGuiApplication on the offscreen platform for the whole run (text drawn with fonts needs it).
void StartGuiApplication();

// A folder that lasts for the run and is removed at its end.
QString TempFolder();

// Writes the file whole; a fuzzer that cannot write its own scratch files stops at once.
void WriteFile(const QString& path, const QByteArray& bytes);

// Stops the run as a crash, with the property that failed: the fuzzer keeps the input as a finding.
[[noreturn]] void Fail(const char* what, const char* file, int line);

} // namespace fuzz

#define FUZZ_CHECK(condition)                                                                                  \
    do {                                                                                                       \
        if (!(condition))                                                                                      \
            ::fuzz::Fail(#condition, __FILE__, __LINE__);                                                      \
    } while (false)
