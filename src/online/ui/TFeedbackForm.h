#pragma once

#include "online/FormPost.h"

#include <QDialog>

class Dialogs;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Help > "Send Feedback...": a short message, an optional mood and an optional e-mail address, posted to the
// maker's feedback page. Opened modally (exec) as a new window each time; it deletes itself when closed.
class TFeedbackForm : public QDialog
{
    Q_OBJECT
public:
    TFeedbackForm(Dialogs& dialogs, const QString& appTitle, const QString& appProductName,
                  const QString& appVersion, QWidget* parent = nullptr);

    // Shorter waits for tests; the default is three seconds each.
    void setPostTimeouts(const PostTimeouts& timeouts) { m_timeouts = timeouts; }

    void Panel1Click(); // "I like it!"
    void Panel2Click(); // "I dislike it!"
    void BitBtn1Click(); // "Send"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mood { None, Like, Dislike };
    QFrame* makeMoodPanel(const QString& name, const QString& caption, const QIcon& icon);
    void selectMood(Mood mood);
    void paintPanel(QFrame* panel, bool selected);
    void limitMemo();

    Dialogs& m_dialogs;
    QString m_appTitle;
    QString m_appVersion;
    PostTimeouts m_timeouts;
    Mood m_mood = Mood::None;

    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
};
