#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>

// A path as SQLite's open functions take it: UTF-8 on Windows, the file system's own bytes elsewhere.
QByteArray SqlitePath(const QString& path);
// A path for std::filesystem calls.
std::filesystem::path FileSystemPath(const QString& path);
