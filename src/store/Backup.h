#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// How far a backup or a restore has come: steps done out of the total, both 0 while the engine cannot say.
// Returning false stops it, and what was there stays as it was.
using BackupProgress = std::function<bool(qint64 done, qint64 total)>;

struct RestoreResult
{
    enum Outcome { Restored, NotADatabase, CopyFailed, Cancelled };
    Outcome outcome = CopyFailed;
    QString error;
};
