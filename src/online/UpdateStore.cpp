#include "online/UpdateStore.h"

#include "app/VersionInfo.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kSection = QStringLiteral("Settings/");
}

UpdateStore::UpdateStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

UpdateStore::~UpdateStore() = default;

QString UpdateStore::DefaultPath()
{
    const TEXEVersionData version = ReadVersionData();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + version.CompanyName + QLatin1Char('/') + version.ProductName + QStringLiteral("/update.ini");
}

qint64 UpdateStore::readInteger(const QString& key, qint64 defaultValue) const
{
    const QVariant value = m_settings->value(kSection + key);
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const qint64 number = value.toString().trimmed().toLongLong(&ok);
    return ok ? number : defaultValue;
}

QString UpdateStore::readText(const QString& key) const
{
    return m_settings->value(kSection + key).toString();
}

void UpdateStore::write(const QString& key, const QVariant& value)
{
    m_settings->setValue(kSection + key, value);
}

int UpdateStore::ShowUpdate() const
{
    return static_cast<int>(readInteger(QStringLiteral("ShowUpdate"), 1));
}

QString UpdateStore::LastUpdateCheck() const
{
    return readText(QStringLiteral("LastUpdateCheck"));
}

qint64 UpdateStore::LastUpdateCheckCount() const
{
    return readInteger(QStringLiteral("LastUpdateCheckCount"), 0);
}

QString UpdateStore::CurrentVersion() const
{
    return readText(QStringLiteral("CurrentVersion"));
}

QString UpdateStore::CurrentURL() const
{
    return readText(QStringLiteral("CurrentURL"));
}

void UpdateStore::WriteShowUpdate(bool on)
{
    write(QStringLiteral("ShowUpdate"), on ? 1 : 0);
    m_settings->sync();
}

void UpdateStore::WriteCheck(const QString& date, qint64 count)
{
    write(QStringLiteral("LastUpdateCheck"), date);
    write(QStringLiteral("LastUpdateCheckCount"), count);
    m_settings->sync();
}

void UpdateStore::WriteCurrent(const QString& version, const QString& url)
{
    write(QStringLiteral("CurrentVersion"), version);
    write(QStringLiteral("CurrentURL"), url);
    m_settings->sync();
}
