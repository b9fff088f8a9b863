#include "app/VersionInfo.h"

#include "VersionConfig.h"

TEXEVersionData ReadVersionData()
{
    TEXEVersionData data;
    data.CompanyName = QStringLiteral("Zelkora");
    data.FileDescription = QStringLiteral("Quenvale point of sale");
    data.FileVersion = QStringLiteral(QUENVALE_VERSION_TEXT);
    data.InternalName = QStringLiteral("quenvale");
    data.LegalCopyright = QStringLiteral("Copyright (C) Zelkora");
    data.OriginalFileName = QStringLiteral("quenvale");
    data.ProductName = QStringLiteral("Quenvale");
    data.ProductVersion = QStringLiteral(QUENVALE_VERSION_TEXT);
    return data;
}

QString AppVersionText()
{
    return QString::asprintf("%d.%d", QUENVALE_VERSION_MAJOR, QUENVALE_VERSION_MINOR);
}
