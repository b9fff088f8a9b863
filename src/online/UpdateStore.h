#pragma once

#include <QString>
#include <memory>

class QSettings;
class QVariant;

// The update check's own per-user INI file, section Settings: ShowUpdate, LastUpdateCheck,
// LastUpdateCheckCount, CurrentVersion, CurrentURL. Values that are missing or unreadable give the defaults.
// One object per thread; every write reaches the file at once.
class UpdateStore
{
public:
    explicit UpdateStore(const QString& iniPath);
    ~UpdateStore();
    UpdateStore(const UpdateStore&) = delete;
    UpdateStore& operator=(const UpdateStore&) = delete;

    // <per-user config folder>/<company>/<product>/update.ini
    static QString DefaultPath();

    int ShowUpdate() const;              // 1 when absent
    QString LastUpdateCheck() const;     // the short date of the last successful check
    qint64 LastUpdateCheckCount() const; // 0 when absent
    QString CurrentVersion() const;
    QString CurrentURL() const;

    void WriteShowUpdate(bool on);
    void WriteCheck(const QString& date, qint64 count);
    void WriteCurrent(const QString& version, const QString& url);

private:
    qint64 readInteger(const QString& key, qint64 defaultValue) const;
    QString readText(const QString& key) const;
    void write(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;
};
