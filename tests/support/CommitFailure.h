#pragma once

#include <QString>
#include <QStringList>

// SQL that makes every later commit of a row in these tables fail: each inserted row also needs a row that
// never exists, checked only at commit (a deferred foreign key), so the statements of a sale succeed and its
// commit is refused.
inline QString FailCommitsOfSql(bool onServer, const QStringList& tables)
{
    QString sql = onServer ? QStringLiteral("CREATE TABLE parent (id integer PRIMARY KEY);"
                                            "CREATE TABLE child (pid integer REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED);"
                                            "CREATE FUNCTION needs_parent() RETURNS trigger LANGUAGE plpgsql AS "
                                            "'BEGIN INSERT INTO child VALUES (1); RETURN NEW; END';")
                           : QStringLiteral("PRAGMA foreign_keys=ON;"
                                            "CREATE TABLE parent (id INTEGER PRIMARY KEY);"
                                            "CREATE TABLE child (pid INTEGER REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED);");
    for (const QString& table : tables)
        sql += onServer ? QStringLiteral("CREATE TRIGGER needs_parent AFTER INSERT ON %1 FOR EACH ROW "
                                         "EXECUTE FUNCTION needs_parent();").arg(table)
                        : QStringLiteral("CREATE TRIGGER needs_parent_%1 AFTER INSERT ON %1 "
                                         "BEGIN INSERT INTO child VALUES (1); END;").arg(table);
    return sql;
}
