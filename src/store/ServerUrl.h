#pragma once

#include <QString>

// The text that names the shop's server (DatabaseUrl), as the program checks and shows it.

// True for a libpq connection URI ("postgresql://…" or "postgres://…"): the database is on a server.
bool IsServerUrl(const QString& location);

// The text as a message may show it: without a password, whether it stands in the user part of a URI
// ("till:secret@shop-server") or is a parameter ("password=secret" in a URI's query or a key=value list). Works
// on any text, also on one that is no valid URI.
QString ShownServerUrl(const QString& url);

// True when the text holds a password that ShownServerUrl leaves out.
bool HasPassword(const QString& url);

// A message about the server the URL names, with nothing of the URL's password in it: the URL shown as
// ShownServerUrl shows it, and the password gone where the message quotes it alone (as libpq does with a part
// of a URI it cannot read).
QString WithoutPassword(const QString& message, const QString& url);
