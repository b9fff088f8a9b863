#include "access/ui/Passwords.h"

#include "access/Secrets.h"
#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"

bool StartupPasswordCheck(AppContext& context)
{
    const QString stored = context.settings().text(SettingKey::UserSecret);
    if (stored.isEmpty())
        return true;
    const QString password = DecodeSecret(stored);
    // Deliberately in English with the toolkit's own buttons: no language has been chosen by this user yet.
    const QString answer = context.InputQuery(QStringLiteral("Password"), QStringLiteral("Please enter password:"),
                                              QString(), true, false)
                               .value_or(QString());
    return answer == password;
}

void AdminLogin(AppContext& context)
{
    const QString stored = context.settings().text(SettingKey::AdminSecret);
    if (!stored.isEmpty()) {
        const QString password = DecodeSecret(stored);
        const QString answer = context.InputQuery(TranslateText("Admin Password"),
                                                  TranslateText("Please enter password:"), QString(), true)
                                   .value_or(QString());
        if (answer != password) {
            context.dialogs().warning(context.window(), TranslateText("WARNING"),
                                      TranslateText("Wrong Admin Password!"));
            return;
        }
    }
    context.SetAdminMode(true);
}

void EditPassword(AppContext& context)
{
    const bool admin = context.isAdmin();
    const QString caption = admin ? TranslateText("Admin Password") : TranslateText("Password");
    const std::optional<QString> text =
        context.InputQuery(caption, TranslateText("Please type NEW password:"), QString());
    if (!text)
        return;
    context.settings().set(admin ? SettingKey::AdminSecret : SettingKey::UserSecret, EncodeSecret(*text));
}
