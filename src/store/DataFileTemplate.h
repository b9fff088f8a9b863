#pragma once

#include <QString>

// First start: when dataFile does not exist and emptyDbPath does, copies the empty database to dataFile.
// The copy is written beside dataFile and renamed into place only when complete, and never replaces a file
// that appeared meanwhile. Returns whether a copy was made.
bool CreateDataFileFromTemplate(const QString& dataFile, const QString& emptyDbPath);
