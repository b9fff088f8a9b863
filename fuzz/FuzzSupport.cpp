#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

void StartGuiApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

QString TempFolder()
{
    // In memory where the machine offers it: the targets write a file for every input.
    static QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm/quenvale-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/quenvale-fuzz-XXXXXX"));
    if (!folder.isValid())
        Fail("a temporary folder", __FILE__, __LINE__);
    return folder.path();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    // A new file each time: rewriting one in place makes some file systems flush it to disk on close.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Fail("writing a scratch file", __FILE__, __LINE__);
}

void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzz
