#include "app/ui/ThemeApply.h"

#include "app/Themes.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QWidget>

namespace {

QString platformStyleName()
{
    // Remembered on the first call, before any scheme has replaced the style.
    static const QString name = QApplication::style() ? QApplication::style()->name() : QString();
    return name;
}

QPalette platformPalette()
{
    // The platform style's own colours, every role set, remembered on the first call like the style's name.
    static const QPalette palette = [] {
        QPalette p = QApplication::style() ? QApplication::style()->standardPalette() : QApplication::palette();
        p.setResolveMask(~QPalette::ResolveMask(0));
        return p;
    }();
    return palette;
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
    const QPalette platformColours = platformPalette();
    const bool platformLook = index < 1 || index >= ThemeCount;

    // The old sheet goes first so the style underneath is switched bare, then the new palette and sheet.
    qApp->setStyleSheet(QString());
    setStyleNamed(platformLook && !platformStyle.isEmpty() ? platformStyle : QStringLiteral("Fusion"));
    QApplication::setPalette(platformLook ? platformColours : ThemePalette(index));
    qApp->setStyleSheet(ThemeStyleSheet(platformLook ? 0 : index));
    // Widgets that already exist can keep the colours they resolved under the previous scheme; make every
    // widget without colours of its own take the application's again.
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets)
        if (!widget->testAttribute(Qt::WA_SetPalette))
            widget->setPalette(QPalette());
}
