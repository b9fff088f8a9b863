#include "access/ui/Passwords.h"

#include "access/Secrets.h"
#include "app/Dialogs.h"
#include "app/ui/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"

#include <QTimer>

namespace {


} // namespace

void StartupPasswordCheck(TAppForm& form)
{
    form.TimerPassword->stop();
    const QString stored = form.settings().text(SettingKey::UserSecret);
    if (stored.isEmpty())
        return;
    const QString password = DecodeSecret(stored);
    // Deliberately in English with the toolkit's own buttons: no language has been chosen by this user yet.
    const QString answer = form.InputQuery(QStringLiteral("Password"), QStringLiteral("Please enter password:"),
                                           QString(), true, false)
                               .value_or(QString());
    if (answer == password)
        return;
    // Nothing of the program may show or run once the answer was wrong.
    for (QTimer* timer : form.findChildren<QTimer*>())
        timer->stop();
    form.setEnabled(false);
    form.hide();
    form.env().quitApplication();
}

void RequestAdminLogin(TAppForm& form)
{
    form.TimerPasswordAdmin->start();
}

void AdminLogin(TAppForm& form)
{
    form.TimerPasswordAdmin->stop();
    const QString stored = form.settings().text(SettingKey::AdminSecret);
    if (!stored.isEmpty()) {
        const QString password = DecodeSecret(stored);
        const QString answer = form.InputQuery(TranslateText("Admin Password"), TranslateText("Please enter password:"),
                                               QString(), true)
                                   .value_or(QString());
        if (answer != password) {
            form.dialogs().warning(&form, TranslateText("WARNING"), TranslateText("Wrong Admin Password!"));
            return;
        }
    }
    form.SetAdminMode(true);
}

void AdminLogout(TAppForm& form)
{
    form.SetAdminMode(false);
}

void EditPassword(TAppForm& form)
{
    const bool admin = form.IsAdmin;
    const QString caption = admin ? TranslateText("Admin Password") : TranslateText("Password");
    const std::optional<QString> text = form.InputQuery(caption, TranslateText("Please type NEW password:"), QString());
    if (!text)
        return;
    form.settings().set(admin ? SettingKey::AdminSecret : SettingKey::UserSecret, EncodeSecret(*text));
}
