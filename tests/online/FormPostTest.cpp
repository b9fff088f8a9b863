#include "online/FormPost.h"
#include "online/ScriptedHttpServer.h"

#include <QTcpServer>
#include <gtest/gtest.h>

TEST(FormEncoding, EncodesUtf8FormFieldsInOrder)
{
    const FormFields fields{{QStringLiteral("cmd"), QStringLiteral("feedback")},
                            {QStringLiteral("text"), QStringLiteral("a b&c=d+e%f/g?h")},
                            {QStringLiteral("safe"), QStringLiteral("AZaz09*-._~!'()")},
                            {QStringLiteral("lines"), QStringLiteral("x\ry\r\nz")},
                            {QStringLiteral("name"), QStringLiteral("Beğendim €")},
                            {QStringLiteral("empty"), QString()}};
    EXPECT_EQ(EncodeForm(fields), QByteArray("cmd=feedback&text=a+b%26c%3Dd%2Be%25f%2Fg%3Fh"
                                             "&safe=AZaz09*-._%7E%21%27%28%29&lines=x%0Dy%0D%0Az"
                                             "&name=Be%C4%9Fendim+%E2%82%AC&empty="));
}

TEST(ServiceAddress, MakersHostUnlessOverriddenThenEachAttemptKeepsItsScheme)
{
    EXPECT_EQ(ServiceUrl(QStringLiteral("https"), QStringLiteral("/php/check2.php")),
              QStringLiteral("https://www.zelkora.com/php/check2.php"));
    EXPECT_EQ(ServiceUrl(QStringLiteral("http"), QStringLiteral("/php/feedback.php")),
              QStringLiteral("http://www.zelkora.com/php/feedback.php"));
    {
        const ServiceUrlOverride local(QStringLiteral("http://127.0.0.1:8080"));
        EXPECT_EQ(ServiceUrl(QStringLiteral("https"), QStringLiteral("/php/feedback.php")),
                  QStringLiteral("https://127.0.0.1:8080/php/feedback.php"));
        EXPECT_EQ(ServiceUrl(QStringLiteral("http"), QStringLiteral("/php/feedback.php")),
                  QStringLiteral("http://127.0.0.1:8080/php/feedback.php"));
    }
    const ServiceUrlOverride prefixed(QStringLiteral("http://test.invalid/quenvale/"));
    EXPECT_EQ(ServiceUrl(QStringLiteral("http"), QStringLiteral("/php/check2.php")),
              QStringLiteral("http://test.invalid/quenvale/php/check2.php"));
    EXPECT_EQ(MakerHomePage(), QStringLiteral("https://test.invalid/quenvale/"));
}

class FormPostTest : public ::testing::Test
{
protected:
    ScriptedHttpServer server;
    ServiceUrlOverride override{server.baseUrl()};
    PostTimeouts shortWaits{1500, 1500};
    FormFields fields{{QStringLiteral("cmd"), QStringLiteral("check")}, {QStringLiteral("v"), QStringLiteral("1 2")}};
};

TEST_F(FormPostTest, PlainHttpPostsTheFormAndReturnsTheBody)
{
    server.answers.push_back({200, "<version>2.0</version>\r\nsecond line"});
    const PostResult result = PostForm(server.baseUrl() + QStringLiteral("/php/check2.php"), fields, shortWaits);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.body, QStringLiteral("<version>2.0</version>\r\nsecond line"));
    ASSERT_EQ(server.requests.size(), 1);
    const auto& request = server.requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/php/check2.php");
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.body, "cmd=check&v=1+2");
}

TEST_F(FormPostTest, ErrorStatusOverPlainHttpIsAFailure)
{
    server.answers.push_back({500, "OK"});
    const PostResult result = PostForm(server.baseUrl() + QStringLiteral("/x"), fields, shortWaits);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(server.requests.size(), 1);
}

TEST_F(FormPostTest, FailedHttpsAttemptFallsBackToHttpOnce)
{
    const PostResult result = PostWithFallback(QStringLiteral("/php/feedback.php"), fields, shortWaits);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.body, QStringLiteral("OK"));
    // The https attempt reached the plain server with a handshake it could not answer.
    EXPECT_EQ(server.connections, 2);
    EXPECT_EQ(server.foreignConnections, 1);
    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_EQ(server.requests[0].path, "/php/feedback.php");
}

TEST_F(FormPostTest, SilentServerIsGivenUpAfterTheTimeOutOfEachAttempt)
{
    server.neverAnswer = true;
    const PostResult result = PostWithFallback(QStringLiteral("/php/feedback.php"), fields, {300, 300});

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.body.isEmpty());
    EXPECT_EQ(server.connections, 2);
}

TEST(FormPost, NobodyListeningIsAFailure)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const QString url = QStringLiteral("http://127.0.0.1:%1/x").arg(probe.serverPort());
    probe.close();
    EXPECT_FALSE(PostForm(url, {{QStringLiteral("a"), QStringLiteral("b")}}, {1500, 1500}).ok);
}
