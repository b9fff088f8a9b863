#pragma once

#include "core/SettingKeys.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// settings.ini held in memory. Reads and writes change only the memory copy; UpdateFile writes the whole file.
// Keys are compared without regard to letter case and keep the order in which they entered the store.
class SettingsStore
{
public:
    SettingsStore() = default;
    // Reads the file (UTF-8, a BOM is skipped). A missing file gives an empty store; a file that cannot be read
    // as UTF-8 is deleted and the store starts empty. Never creates the file.
    explicit SettingsStore(const QString& filePath);

    QString filePath() const { return m_filePath; }

    // The program reads and writes its keys through these: the key table gives each key its name and the
    // value read when it is absent (or, for an integer key, not a whole number). A number picks one key of a
    // numbered family (MainColumn3).
    bool contains(SettingKey key, int number = 0) const;
    QString text(SettingKey key, int number = 0) const;
    qint64 integer(SettingKey key, int number = 0) const;
    // Changes one value, or several, and writes the file at once; false when the file could not be written.
    struct Change
    {
        SettingKey key;
        QVariant value; // text or integer
        int number = 0;
    };
    bool set(SettingKey key, const QVariant& value, int number = 0);
    bool set(const std::vector<Change>& changes);

    // The file's own reads and writes by name; they change only the memory copy, UpdateFile writes it.
    QString ReadString(const QString& key, const QString& defaultValue) const;
    // The default when the key is absent or its value is not a valid integer.
    qint64 ReadInteger(const QString& key, qint64 defaultValue) const;
    bool ValueExists(const QString& key) const;
    void WriteString(const QString& key, const QString& value);
    void WriteInteger(const QString& key, qint64 value);
    // Writes the whole store: UTF-8 with BOM, CR LF, "[Settings]", Key=Value lines, an empty line.
    // Written atomically. Returns false when the file could not be written.
    bool UpdateFile();

    // Parses settings text (without BOM handling) into an entry list; exposed for tests and fuzzing.
    struct Entry
    {
        QString section;
        QString key;
        QString value;
    };
    static std::vector<Entry> Parse(const QString& text);
    static std::vector<Entry> ParseLines(const QStringList& lines);

    // The bytes UpdateFile writes.
    QByteArray FileBytes() const;

private:
    const Entry* find(const QString& key) const;
    void rebuildIndex();

    QString m_filePath;
    std::vector<Entry> m_entries;
    // Case-folded key of section Settings -> its first entry in m_entries.
    QHash<QString, size_t> m_index;
};
