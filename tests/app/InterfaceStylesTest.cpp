#include "app/Themes.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QTimer>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class InterfaceStylesTest : public AppFixture
{
protected:
    void changeInterface() { form->action(QStringLiteral("ChangeInterface1"))->trigger(); }
    void classicalInterface() { form->action(QStringLiteral("ClassicalInterface1"))->trigger(); }
    QByteArray settings() const { return readBytes(dataFile(QStringLiteral("settings.ini"))); }
    // What the caption timer does when its three seconds are up.
    void captionTimerRunsOut()
    {
        ASSERT_TRUE(form->TimerCaptionDuzelt->isActive());
        form->TimerCaptionDuzelt->setInterval(0);
        pump();
        form->TimerCaptionDuzelt->setInterval(3000);
    }
    static QColor windowColour() { return QApplication::palette().color(QPalette::Active, QPalette::Window); }
};

TEST_F(InterfaceStylesTest, FirstChangeWithoutAStoredStyleGivesAmakritsAndTheCaptionReturns)
{
    start();
    EXPECT_EQ(form->ThemeIndex, 0);
    EXPECT_EQ(form->ThemeNames, ThemeNames());
    EXPECT_FALSE(form->TimerCaptionDuzelt->isActive());

    changeInterface();
    EXPECT_EQ(form->ThemeIndex, 1);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Amakrits"));
    EXPECT_TRUE(settings().contains("VCL=1\r\n")) << settings().constData();
    EXPECT_EQ(windowColour(), ThemePalette(1).color(QPalette::Active, QPalette::Window));
    EXPECT_EQ(form->TimerCaptionDuzelt->interval(), 3000);

    // A second switch while the caption shows a name names the new style; the timer keeps running.
    changeInterface();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Amethyst Kamri"));
    EXPECT_TRUE(settings().contains("VCL=2\r\n"));

    captionTimerRunsOut();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelkora - Quenvale"));
    EXPECT_FALSE(form->TimerCaptionDuzelt->isActive());
    EXPECT_EQ(form->ThemeIndex, 2);
}

TEST_F(InterfaceStylesTest, TheLastStyleWrapsToWindows)
{
    writeSettings({QStringLiteral("VCL=31")});
    start();
    EXPECT_EQ(form->ThemeIndex, 31);
    EXPECT_EQ(windowColour(), ThemePalette(31).color(QPalette::Active, QPalette::Window));
    changeInterface();
    EXPECT_EQ(form->ThemeIndex, 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Windows"));
    EXPECT_TRUE(settings().contains("VCL=0\r\n"));
    EXPECT_EQ(windowColour(), QApplication::style()->standardPalette().color(QPalette::Active, QPalette::Window));
}

TEST_F(InterfaceStylesTest, ClassicalInterfaceAlwaysStoresWindows)
{
    for (const char* stored : {"13", "0"}) {
        writeSettings({QStringLiteral("VCL=") + QString::fromLatin1(stored)});
        start();
        classicalInterface();
        EXPECT_EQ(form->ThemeIndex, 0) << stored;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Windows")) << stored;
        EXPECT_TRUE(settings().contains("VCL=0\r\n")) << stored;
        form.reset();
    }
}

TEST_F(InterfaceStylesTest, AStoredValueOutsideTheListStartsWithWindows)
{
    for (const char* stored : {"abc", "40", "-1", ""}) {
        // A previous style is in force, as the program entry leaves it.
        writeSettings({QStringLiteral("VCL=5")});
        start();
        ASSERT_EQ(form->ThemeIndex, 5);
        form.reset();

        writeSettings({QStringLiteral("VCL=") + QString::fromLatin1(stored)});
        start();
        EXPECT_EQ(form->ThemeIndex, 0) << stored;
        EXPECT_EQ(windowColour(), QApplication::style()->standardPalette().color(QPalette::Active, QPalette::Window))
            << stored;
        changeInterface();
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Amakrits")) << stored;
        form.reset();
    }
}
