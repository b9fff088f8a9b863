#pragma once

#include "store/TillSessionFigures.h"

#include <QString>
#include <optional>

class Database;

// The figures of a session, open or closed, read from its records and movements: the one calculation both the X
// and the Z report use (see SessionFigures for what each figure is). Nothing when there is no such session or the
// lookup failed (reported).
std::optional<SessionFigures> ReadSessionFigures(Database& db, const QString& sessionId);
