#include "app/ThemeApply.h"

#include "app/Themes.h"

#include <QApplication>
#include <QStyle>

namespace {

QString platformStyleName()
{
    // Remembered on the first call, before any scheme has replaced the style.
    static const QString name = QApplication::style() ? QApplication::style()->name() : QString();
    return name;
}

void setStyleNamed(const QString& name)
{
    if (QApplication::style() && QApplication::style()->name().compare(name, Qt::CaseInsensitive) == 0)
        return;
    if (!QApplication::setStyle(name))
        QApplication::setStyle(QStringLiteral("Fusion"));
}

}  // namespace

void ApplyTheme(int index)
{
    const QString platformStyle = platformStyleName();
    const bool platformLook = index < 1 || index >= ThemeCount;

    // The old sheet goes first so the style underneath is switched bare, then the new palette and sheet.
    qApp->setStyleSheet(QString());
    setStyleNamed(platformLook && !platformStyle.isEmpty() ? platformStyle : QStringLiteral("Fusion"));
    QApplication::setPalette(ThemePalette(platformLook ? 0 : index));
    qApp->setStyleSheet(ThemeStyleSheet(platformLook ? 0 : index));
}
