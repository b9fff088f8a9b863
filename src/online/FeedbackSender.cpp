#include "online/FeedbackSender.h"

#include <QStringList>

QString BuildFeedbackText(const QString& moodEnglish, const QString& moodShown, const QString& message)
{
    QString text;
    if (!moodEnglish.isEmpty()) {
        text = moodEnglish;
        if (moodShown != moodEnglish)
            text += QStringLiteral(" (") + moodShown + QLatin1Char(')');
        text += QLatin1Char('\r');
    }
    QString body = message;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text + body.trimmed();
}

FormFields BuildFeedbackFields(const QString& appTitle, const QString& appVersion, const QString& feedbackText,
                               const QString& email)
{
    FormFields fields{{QStringLiteral("cmd"), QStringLiteral("feedback")},
                      {QStringLiteral("appname"), appTitle},
                      {QStringLiteral("version"), appVersion},
                      {QStringLiteral("feedback"), feedbackText}};
    const QString address = email.trimmed();
    if (!address.isEmpty())
        fields.append({QStringLiteral("email"), address});
    return fields;
}

bool IsFeedbackConfirmed(const QString& answer)
{
    return answer.trimmed() == QStringLiteral("OK");
}

bool SendFeedback(const FormFields& fields, const PostTimeouts& timeouts)
{
    const PostResult result = PostWithFallback(QStringLiteral("/php/feedback.php"), fields, timeouts);
    return result.ok && IsFeedbackConfirmed(result.body);
}
