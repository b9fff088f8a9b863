#include "app/ui/QtDialogs.h"
#include "app/ui/TAppForm.h"
#include "app/ui/ThemeApply.h"
#include "app/Themes.h"
#include "platform/Environment.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    // The icons live in a static library, so their resource must be registered by hand.
    Q_INIT_RESOURCE(icons);

    // Held for the life of the process; a second copy starts all the same.
    platform::NamedMutex mutex(QStringLiteral("ZELKORA_Quenvale"));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenvale"));
    QApplication::setOrganizationName(QStringLiteral("Zelkora"));
    ApplyTheme(ThemeIndexOf(QStringLiteral("Amakrits")));

    // PNGs rather than the SVG, so no image plugin is needed at run time.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/quenvale-%1.png").arg(size));
    icon.addFile(QStringLiteral(":/icons/quenvale.png"));
    QApplication::setWindowIcon(icon);

    Environment environment;
    QtDialogs dialogs;
    TAppForm form(environment, dialogs);
    form.show();
    return app.exec();
}
