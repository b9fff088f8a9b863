#include "online/WaitFor.h"
#include "online/ui/TNewVer.h"
#include "support/FixedEnvironment.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

class NewVersionWindowTest : public ::testing::Test
{
protected:
    void open(const QString& url = QStringLiteral("https://dl.example.com/q13.exe"))
    {
        window = new TNewVer(environment, QStringLiteral("Quenvale"), QStringLiteral("1.3"), url);
        ASSERT_TRUE(WaitFor([this] { return window->isVisible(); }));
    }
    void TearDown() override { delete window.data(); }

    QLabel* label(const char* name) const { return window->findChild<QLabel*>(QString::fromLatin1(name)); }
    bool closed() { return WaitFor([this] { return window.isNull(); }); }

    // Presses at one point of the control, moves by the offset with the button held, releases.
    void drag(QWidget* handle, Qt::MouseButton button, QPoint offset)
    {
        const QPoint local(5, 5);
        const QPoint global = handle->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
        QApplication::sendEvent(handle, &press);
        QMouseEvent move(QEvent::MouseMove, local + offset, global + offset, Qt::NoButton, button, Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, local + offset, global + offset, button, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(handle, &release);
    }

    FixedEnvironment environment;
    QPointer<TNewVer> window;
};

TEST_F(NewVersionWindowTest, ShowsItselfBorderlessOnTopInTheScreensTopRightCorner)
{
    open();
    const QRect screen = QApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->size(), QSize(320, 68));
    EXPECT_EQ(window->x() + window->width(), screen.x() + screen.width() - 5);
    EXPECT_EQ(window->y(), screen.y() + 5);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("UPDATE AVAILABLE"));
    EXPECT_EQ(label("Label2")->text(), QStringLiteral("Click to download Quenvale 1.3"));
}

TEST_F(NewVersionWindowTest, LinkTakesTheHighlightColourWhileTheMouseIsOverIt)
{
    open();
    QLabel* link = label("Label2");
    QCursor::setPos(link->mapToGlobal(link->rect().center()));
    window->TimerLinkTimer();
    EXPECT_EQ(link->palette().color(QPalette::WindowText), window->palette().color(QPalette::Highlight));

    QCursor::setPos(window->mapToGlobal(QPoint(2, 2)));
    window->TimerLinkTimer();
    EXPECT_EQ(link->palette().color(QPalette::WindowText), window->palette().color(QPalette::WindowText));
}

TEST_F(NewVersionWindowTest, ClosesItselfOnTheEleventhSecond)
{
    open();
    for (int second = 1; second <= 10; ++second)
        window->TimerCloseTimer();
    QTest::qWait(150);
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());

    window->TimerCloseTimer();
    EXPECT_TRUE(closed());
}

TEST_F(NewVersionWindowTest, LinkOpensTheDownloadAddressOrTheHomePageAndCloses)
{
    open();
    QTest::mouseClick(label("Label2"), Qt::LeftButton);
    EXPECT_EQ(environment.openedUrls, QStringList{QStringLiteral("https://dl.example.com/q13.exe")});
    EXPECT_TRUE(closed());

    open(QString());
    QTest::mouseClick(label("Label2"), Qt::LeftButton);
    EXPECT_EQ(environment.openedUrls.value(1), QStringLiteral("https://www.zelkora.com/"));
    EXPECT_TRUE(closed());
}

TEST_F(NewVersionWindowTest, CloseButtonClosesAtOnce)
{
    open();
    QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("SpeedButton1")), Qt::LeftButton);
    EXPECT_TRUE(closed());
    EXPECT_TRUE(environment.openedUrls.isEmpty());
}

TEST_F(NewVersionWindowTest, DraggedWithLeftOrMiddleButtonButNotRight)
{
    open();
    const QPoint start = window->pos();
    drag(label("Label1"), Qt::LeftButton, QPoint(-30, 20));
    EXPECT_EQ(window->pos(), start + QPoint(-30, 20));

    drag(window, Qt::MiddleButton, QPoint(-10, 5));
    EXPECT_EQ(window->pos(), start + QPoint(-40, 25));

    drag(window->findChild<QWidget*>(QStringLiteral("Panel1")), Qt::RightButton, QPoint(-50, 50));
    drag(label("Label2"), Qt::LeftButton, QPoint(-50, 50));
    EXPECT_EQ(window->pos(), start + QPoint(-40, 25));
}
