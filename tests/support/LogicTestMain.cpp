#include <QGuiApplication>
#include <gtest/gtest.h>

// Logic tests run without widgets: a QGuiApplication on the offscreen platform is enough for fonts, images and
// sockets, and keeps the windows library out of their link.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
