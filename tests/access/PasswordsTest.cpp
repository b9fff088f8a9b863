#include "access/Secrets.h"
#include "catalogue/ui/CustomersScreen.h"
#include "catalogue/ui/ProductsScreen.h"
#include "pos/ui/SaleScreen.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kNonAscii = QStringLiteral("Şifre€ü");
const QString kNonAsciiStored = QStringLiteral("xZ5pZnJl4oKsw7w=");

QPushButton* button(TAppForm& form, const char* name)
{
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

TEST(Secrets, EncodesUtf8BytesAsBase64AndBack)
{
    const struct
    {
        QString plain;
        QString stored;
    } cases[] = {{QString(), QString()},
                 {QStringLiteral("secret"), QStringLiteral("c2VjcmV0")},
                 {QStringLiteral("Parola"), QStringLiteral("UGFyb2xh")},
                 {kNonAscii, kNonAsciiStored}};
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeSecret(c.plain), c.stored) << c.plain.toStdString();
        EXPECT_EQ(DecodeSecret(c.stored), c.plain) << c.stored.toStdString();
    }
}

using PasswordsTest = AppFixture;

TEST_F(PasswordsTest, NoPasswordsMeansNoPromptAndAdministratorMode)
{
    TAppForm& form = start();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(form.context().isAdmin());
    EXPECT_TRUE(form.action(QStringLiteral("Logout1"))->isVisible());
    EXPECT_FALSE(form.action(QStringLiteral("Login1"))->isVisible());
    EXPECT_EQ(env.quitRequests, 0);
}

TEST_F(PasswordsTest, NonAsciiUserPasswordIsStoredAsBase64AndAcceptedAtTheNextStart)
{
    {
        TAppForm& form = start();
        form.action(QStringLiteral("Logout1"))->trigger();
        dialogs.inputAnswers.push_back(kNonAscii);
        form.action(QStringLiteral("EditPassword1"))->trigger();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Password"));
        EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Please type NEW password:"));
        EXPECT_FALSE(dialogs.shown[0].input.masked);
        EXPECT_EQ(dialogs.shown[0].input.okCaption, QStringLiteral("OK"));
        EXPECT_EQ(SettingsStore(dataFile(QStringLiteral("settings.ini"))).ReadString(QStringLiteral("Secret64"), {}),
                  kNonAsciiStored);
        EXPECT_FALSE(form.context().isAdmin()) << "editing a password does not change the mode";
    }
    form.reset();
    dialogs.clear();
    dialogs.inputAnswers.push_back(kNonAscii);
    TAppForm& again = start();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const auto& prompt = dialogs.shown[0];
    EXPECT_EQ(prompt.caption, QStringLiteral("Password"));
    EXPECT_EQ(prompt.text, QStringLiteral("Please enter password:"));
    EXPECT_TRUE(prompt.input.masked);
    EXPECT_TRUE(prompt.input.initialText.isEmpty());
    EXPECT_TRUE(prompt.input.okCaption.isEmpty()) << "the start-up prompt keeps the toolkit's own buttons";
    EXPECT_TRUE(prompt.input.cancelCaption.isEmpty());
    EXPECT_EQ(env.quitRequests, 0);
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(again.context().isAdmin());
}

TEST_F(PasswordsTest, WrongOrCancelledStartUpPasswordEndsTheProgramSilently)
{
    const std::optional<QString> answers[] = {std::nullopt, QString(), QStringLiteral("parola"),
                                              QStringLiteral("Parola ")};
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer ? answer->toStdString() : std::string("<cancel>"));
        form.reset();
        dialogs.clear();
        env.quitRequests = 0;
        writeSettings({QStringLiteral("Secret64=UGFyb2xh")});
        dialogs.inputAnswers.push_back(answer);
        TAppForm& form = start();
        EXPECT_EQ(env.quitRequests, 1);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(dialogs.messageTexts(), QStringList()) << "no message";
        for (QTimer* timer : form.findChildren<QTimer*>())
            EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    }
}

TEST_F(PasswordsTest, OnlyAdminPasswordStartsOutsideAdministratorModeUntilLogin)
{
    writeSettings({QStringLiteral("SecretAdmin64=UGFyb2xh")});
    TAppForm& form = start();
    EXPECT_TRUE(dialogs.shown.empty()) << "no prompt at start";
    EXPECT_FALSE(form.context().isAdmin());
    EXPECT_TRUE(form.action(QStringLiteral("Login1"))->isVisible());
    EXPECT_FALSE(form.action(QStringLiteral("Logout1"))->isVisible());

    // Every guarded operation on this screen refuses with the one message and does nothing else.
    for (const char* guarded : {"BitBtn3", "BitBtn4"}) {
        dialogs.clear();
        QTest::mouseClick(button(form, guarded), Qt::LeftButton);
        ASSERT_EQ(dialogs.shown.size(), 1u) << guarded;
        EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("You are not logged as admin!"));
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("WARNING"));
        EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Warning);
        EXPECT_EQ(dialogs.shown[0].buttons, int(Dialogs::Ok));
        EXPECT_TRUE(form.saleScreen()->isVisible());
    }

    // Cancelled and wrong answers: the warning, and the mode stays.
    for (const std::optional<QString>& answer : {std::optional<QString>(), std::optional<QString>(u"parola"_qs)}) {
        dialogs.clear();
        dialogs.inputAnswers.push_back(answer);
        form.action(QStringLiteral("Login1"))->trigger();
        EXPECT_TRUE(dialogs.shown.empty()) << "the prompt opens from the timer";
        pump();
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Admin Password"));
        EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Please enter password:"));
        EXPECT_TRUE(dialogs.shown[0].input.masked);
        EXPECT_EQ(dialogs.shown[0].input.okCaption, QStringLiteral("OK"));
        EXPECT_EQ(dialogs.shown[0].input.cancelCaption, QStringLiteral("Cancel"));
        EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Wrong Admin Password!"));
        EXPECT_EQ(dialogs.shown[1].caption, QStringLiteral("WARNING"));
        EXPECT_EQ(dialogs.shown[1].icon, Dialogs::Icon::Warning);
        EXPECT_FALSE(form.context().isAdmin());
    }

    dialogs.clear();
    dialogs.inputAnswers.push_back(QStringLiteral("Parola"));
    form.action(QStringLiteral("Login1"))->trigger();
    pump();
    EXPECT_TRUE(form.context().isAdmin());
    EXPECT_EQ(dialogs.messageTexts(), QStringList());
    EXPECT_TRUE(form.action(QStringLiteral("Logout1"))->isVisible());
    EXPECT_FALSE(form.action(QStringLiteral("Login1"))->isVisible());
    QTest::mouseClick(button(form, "BitBtn3"), Qt::LeftButton);
    EXPECT_TRUE(form.productsScreen()->isVisible());

    // Logout keeps the current screen.
    form.action(QStringLiteral("Logout1"))->trigger();
    EXPECT_FALSE(form.context().isAdmin());
    EXPECT_TRUE(form.productsScreen()->isVisible());
    EXPECT_TRUE(form.action(QStringLiteral("Login1"))->isVisible());
}

TEST_F(PasswordsTest, LoginWithoutAdminPasswordIsGrantedWithoutPrompt)
{
    TAppForm& form = start();
    form.action(QStringLiteral("Logout1"))->trigger();
    ASSERT_FALSE(form.context().isAdmin());
    form.action(QStringLiteral("Login1"))->trigger();
    pump();
    EXPECT_TRUE(form.context().isAdmin());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PasswordsTest, EditingTheAdminPasswordSetsAndRemovesIt)
{
    {
        TAppForm& form = start();
        // Cancel changes nothing.
        form.action(QStringLiteral("EditPassword1"))->trigger();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Admin Password"));
        EXPECT_FALSE(SettingsStore(dataFile(QStringLiteral("settings.ini"))).ValueExists(QStringLiteral("SecretAdmin64")));

        dialogs.inputAnswers.push_back(QStringLiteral("Parola"));
        form.action(QStringLiteral("EditPassword1"))->trigger();
        EXPECT_EQ(SettingsStore(dataFile(QStringLiteral("settings.ini"))).ReadString(QStringLiteral("SecretAdmin64"), {}),
                  QStringLiteral("UGFyb2xh"));
        EXPECT_TRUE(form.context().isAdmin());
    }
    form.reset();
    {
        TAppForm& form = start();
        EXPECT_FALSE(form.context().isAdmin()) << "the new administrator password decides the starting mode";
        dialogs.inputAnswers.push_back(QStringLiteral("Parola"));
        form.action(QStringLiteral("Login1"))->trigger();
        pump();
        ASSERT_TRUE(form.context().isAdmin());
        dialogs.inputAnswers.push_back(QString());
        form.action(QStringLiteral("EditPassword1"))->trigger();
        const SettingsStore stored(dataFile(QStringLiteral("settings.ini")));
        EXPECT_TRUE(stored.ValueExists(QStringLiteral("SecretAdmin64")));
        EXPECT_TRUE(stored.ReadString(QStringLiteral("SecretAdmin64"), QStringLiteral("x")).isEmpty());
    }
    form.reset();
    EXPECT_TRUE(start().context().isAdmin());
}
