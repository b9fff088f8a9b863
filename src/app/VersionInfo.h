#pragma once

#include <QString>

// The program's identity strings, compiled in from the project version.
struct TEXEVersionData
{
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyright;
    QString LegalTrademarks;
    QString OriginalFileName;
    QString ProductName;
    QString ProductVersion;
    QString Comments;
    QString PrivateBuild;
    QString SpecialBuild;
};

TEXEVersionData ReadVersionData();
// "major.minor" of the file version.
QString AppVersionText();
