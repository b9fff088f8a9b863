#pragma once

#include "online/FormPost.h"

#include <QString>

// The text of the feedback field. moodEnglish is "I like it!", "I dislike it!" or empty for no mood; moodShown is
// the mood panel's caption as displayed. The mood line (the English text, followed by the displayed caption in
// brackets when that differs) ends in a lone CR; then comes the message with its lines joined by CR LF, trimmed.
QString BuildFeedbackText(const QString& moodEnglish, const QString& moodShown, const QString& message);

// cmd, appname, version, feedback and, only when the trimmed address is not empty, email.
FormFields BuildFeedbackFields(const QString& appTitle, const QString& appVersion, const QString& feedbackText,
                               const QString& email);

// The server confirms delivery with "OK" and nothing else around it but white space.
bool IsFeedbackConfirmed(const QString& answer);

// Posts the fields to the feedback page, https first and http once after a failure. True only when the server
// confirmed delivery.
bool SendFeedback(const FormFields& fields, const PostTimeouts& timeouts = {});
