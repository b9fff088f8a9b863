#include "i18n/Translator.h"
#include "online/FeedbackSender.h"
#include "online/ScriptedHttpServer.h"
#include "online/WaitFor.h"
#include "online/ui/TFeedbackForm.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kSuccessText = QStringLiteral("Your feedback is received.\r\rThank you!");
const QString kFailureText =
    QStringLiteral("Something went wrong. Your feedback could not be delivered.\r\rPlease try again later.");

} // namespace

class FeedbackFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = new TFeedbackForm(dialogs, QStringLiteral("Zelkora - Quenvale"), QStringLiteral("Quenvale"),
                                 QStringLiteral("1.0"));
        form->setPostTimeouts({2000, 2000});
        form->show();
    }
    void TearDown() override { delete form.data(); }

    template <typename T>
    T* child(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    void send(const QString& message, const QString& email = {})
    {
        child<QPlainTextEdit>("Memo1")->setPlainText(message);
        child<QLineEdit>("Edit1")->setText(email);
        QTest::mouseClick(child<QPushButton>("BitBtn1"), Qt::LeftButton);
    }
    bool formClosed() { return WaitFor([this] { return form.isNull() || !form->isVisible(); }, 2000); }

    ScriptedHttpServer server;
    ServiceUrlOverride override{server.baseUrl()};
    ScriptedDialogs dialogs;
    QPointer<TFeedbackForm> form;
};

TEST_F(FeedbackFormTest, SendsTheFieldsInOrderWithoutMoodAndEmail)
{
    send(QStringLiteral("  \n Nice till\nworks  \n\n"));

    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_EQ(server.requests[0].path, "/php/feedback.php");
    EXPECT_EQ(server.requests[0].body,
              "cmd=feedback&appname=Zelkora+-+Quenvale&version=1.0&feedback=Nice+till%0D%0Aworks");
}

TEST_F(FeedbackFormTest, MoodLineEndsInCrAndTrimmedEmailIsLast)
{
    QTest::mouseClick(child<QFrame>("Panel1"), Qt::LeftButton);
    QTest::mouseClick(child<QFrame>("Panel2"), Qt::LeftButton);
    send(QStringLiteral("Too slow"), QStringLiteral("  ann.lee+pos@shop-1.example.com "));

    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_EQ(server.requests[0].body, "cmd=feedback&appname=Zelkora+-+Quenvale&version=1.0"
                                       "&feedback=I+dislike+it%21%0DToo+slow&email=ann.lee%2Bpos%40shop-1.example.com");
}

TEST_F(FeedbackFormTest, SelectedMoodPanelIsHighlightedAndLowered)
{
    auto* like = child<QFrame>("Panel1");
    auto* dislike = child<QFrame>("Panel2");
    EXPECT_EQ(like->frameShadow(), QFrame::Raised);
    EXPECT_EQ(dislike->frameShadow(), QFrame::Raised);

    QTest::mouseClick(like, Qt::LeftButton);
    QTest::mouseClick(like, Qt::LeftButton);
    EXPECT_EQ(like->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(like->palette().color(QPalette::Window), form->palette().color(QPalette::Highlight));
    EXPECT_EQ(like->palette().color(QPalette::WindowText), form->palette().color(QPalette::HighlightedText));

    QTest::mouseClick(dislike, Qt::LeftButton);
    EXPECT_EQ(like->frameShadow(), QFrame::Raised);
    EXPECT_EQ(like->palette().color(QPalette::Window), form->palette().color(QPalette::Button));
    EXPECT_EQ(dislike->frameShadow(), QFrame::Sunken);
}

TEST_F(FeedbackFormTest, OkAnswerIsSuccessAndClosesTheWindow)
{
    server.answers.push_back({200, "OK\r\n"});
    send(QStringLiteral("Thanks"));

    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("Success"));
    EXPECT_EQ(dialogs.lastMessage()->text, kSuccessText);
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Information);
    EXPECT_TRUE(formClosed());
}

TEST_F(FeedbackFormTest, AnyOtherAnswerIsFailureAndKeepsTheText)
{
    server.answers.push_back({200, "ok"});
    send(QStringLiteral("Thanks"), QStringLiteral("a@b.cd"));

    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("Failure"));
    EXPECT_EQ(dialogs.lastMessage()->text, kFailureText);
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("Thanks"));
    EXPECT_EQ(child<QLineEdit>("Edit1")->text(), QStringLiteral("a@b.cd"));
}

TEST_F(FeedbackFormTest, SilentServerEndsInTheFailureMessage)
{
    server.neverAnswer = true;
    form->setPostTimeouts({300, 300});
    send(QStringLiteral("Anyone there?"));

    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->text, kFailureText);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FeedbackFormTest, BlankMessageOnlyBeepsAndFocusesTheMemo)
{
    child<QLineEdit>("Edit1")->setFocus();
    send(QStringLiteral(" \r\n \n\t "), QStringLiteral("not an address"));

    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(server.requests.isEmpty());
    EXPECT_EQ(form->focusWidget(), child<QPlainTextEdit>("Memo1"));
}

TEST_F(FeedbackFormTest, InvalidEmailIsRefusedBeforeSending)
{
    send(QStringLiteral("Hello"), QStringLiteral("ann@localhost"));

    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("Failure"));
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("Invalid e-mail address!"));
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);
    EXPECT_TRUE(server.requests.isEmpty());
    EXPECT_EQ(form->focusWidget(), child<QLineEdit>("Edit1"));
}

TEST_F(FeedbackFormTest, ControlsKeepToTheirLimitsAndEscapeCloses)
{
    auto* memo = child<QPlainTextEdit>("Memo1");
    memo->setPlainText(QString(10005, QLatin1Char('a')));
    EXPECT_EQ(memo->toPlainText().size(), 10000);
    EXPECT_EQ(child<QLineEdit>("Edit1")->maxLength(), 100);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quenvale feedback"));

    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_TRUE(formClosed());
}

TEST(FeedbackText, TranslatedMoodIsSentInEnglishWithTheShownCaption)
{
    QTemporaryDir exe;
    ASSERT_TRUE(QDir(exe.path()).mkpath(QStringLiteral("Languages")));
    QFile file(exe.path() + QStringLiteral("/Languages/Test.lang.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{I like it!}Beğendim!\r\n");
    file.close();
    AppTranslator().LoadLanguageFile(exe.path(), QStringLiteral("Test.lang.txt"), 1055);

    const QString text = BuildFeedbackText(QStringLiteral("I like it!"), TranslateText("I like it!"),
                                           QStringLiteral("Hızlı\n"));
    AppTranslator().LoadLanguageFile(exe.path() + QStringLiteral("/none"), QString(), 1033);

    EXPECT_EQ(text, QStringLiteral("I like it! (Beğendim!)\rHızlı"));
    EXPECT_EQ(EncodeForm({{QStringLiteral("feedback"), text}}),
              QByteArray("feedback=I+like+it%21+%28Be%C4%9Fendim%21%29%0DH%C4%B1zl%C4%B1"));
}
