#include "app/QtDialogs.h"
#include "app/TAppForm.h"
#include "app/ThemeApply.h"
#include "app/Themes.h"
#include "platform/Environment.h"
#include "platform/Platform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Held for the life of the process; a second copy starts all the same.
    platform::NamedMutex mutex(QStringLiteral("ZELKORA_Quenvale"));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenvale"));
    QApplication::setOrganizationName(QStringLiteral("Zelkora"));
    ApplyTheme(ThemeIndexOf(QStringLiteral("Amakrits")));

    Environment environment;
    QtDialogs dialogs;
    TAppForm form(environment, dialogs);
    form.show();
    return app.exec();
}
