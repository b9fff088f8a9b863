#pragma once

#include "store/Database.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

// A temporary folder and a connection whose reported errors are collected.
class StoreTest : public ::testing::Test
{
protected:
    StoreTest();

    QString pathOf(const QString& name) const { return m_dir.filePath(name); }
    static void writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);
    // Creates a new database file from SQL text and closes it again.
    void createDatabase(const QString& path, const QString& sql);
    // Opens a new database built from SQL text on db.
    void openNew(const QString& name, const QString& sql);

    QTemporaryDir m_dir;
    Database db;
    QStringList reported;
};
