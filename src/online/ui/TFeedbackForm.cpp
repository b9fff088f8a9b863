#include "online/ui/TFeedbackForm.h"

#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "online/EmailCheck.h"
#include "online/FeedbackSender.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

const int kMemoLimit = 10000;
const int kEmailLimit = 100;
const char* const kLikeText = "I like it!";
const char* const kDislikeText = "I dislike it!";

class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

TFeedbackForm::TFeedbackForm(Dialogs& dialogs, const QString& appTitle, const QString& appProductName,
                             const QString& appVersion, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs)
    , m_appTitle(appTitle)
    , m_appVersion(appVersion)
{
    setObjectName(QStringLiteral("TFeedbackForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(appProductName + QLatin1Char(' ') + TranslateText("feedback"));

    QStyle* st = style();
    Panel1 = makeMoodPanel(QStringLiteral("Panel1"), TranslateText(kLikeText),
                           st->standardIcon(QStyle::SP_DialogYesButton));
    Panel2 = makeMoodPanel(QStringLiteral("Panel2"), TranslateText(kDislikeText),
                           st->standardIcon(QStyle::SP_DialogNoButton));
    auto* moods = new QHBoxLayout;
    moods->addWidget(Panel1);
    moods->addWidget(Panel2);

    auto* label1 = new QLabel(TranslateText("We would really appreciate your feedback."), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(TranslateText("What did you like or dislike?"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = label2->font();
    bold.setBold(true);
    label2->setFont(bold);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->setAccessibleName(TranslateText("What did you like or dislike?"));
    label2->setBuddy(Memo1);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TFeedbackForm::limitMemo);

    auto* label3 = new QLabel(TranslateText("Include my e-mail:"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(kEmailLimit);
    Edit1->setAccessibleName(TranslateText("Include my e-mail:"));
    label3->setBuddy(Edit1);
    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(label3);
    emailRow->addWidget(Edit1, 1);

    BitBtn1 = new QPushButton(st->standardIcon(QStyle::SP_DialogOkButton), TranslateText("Send"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFont(bold);
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TFeedbackForm::BitBtn1Click);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(moods);
    layout->addWidget(label1);
    layout->addWidget(label2);
    layout->addWidget(Memo1);
    layout->addLayout(emailRow);
    layout->addWidget(BitBtn1);
    resize(420, 360);
    setFixedSize(sizeHint().expandedTo(QSize(420, 360)));
    Memo1->setFocus();
}

QFrame* TFeedbackForm::makeMoodPanel(const QString& name, const QString& caption, const QIcon& icon)
{
    auto* panel = new QFrame(this);
    panel->setObjectName(name);
    panel->setCursor(Qt::PointingHandCursor);
    panel->setAutoFillBackground(true);
    panel->setFrameShape(QFrame::Panel);
    panel->setLineWidth(2);
    panel->setAccessibleName(caption);
    auto* picture = new QLabel(panel);
    picture->setPixmap(icon.pixmap(24, 24));
    picture->setObjectName(name + QStringLiteral("Image"));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* text = new QLabel(caption, panel);
    text->setObjectName(name + QStringLiteral("Caption"));
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* row = new QHBoxLayout(panel);
    row->addWidget(picture);
    row->addWidget(text, 1);
    panel->installEventFilter(this);
    paintPanel(panel, false);
    return panel;
}

bool TFeedbackForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Panel1) {
            Panel1Click();
            return true;
        }
        if (watched == Panel2) {
            Panel2Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFeedbackForm::Panel1Click()
{
    selectMood(Mood::Like);
}

void TFeedbackForm::Panel2Click()
{
    selectMood(Mood::Dislike);
}

void TFeedbackForm::selectMood(Mood mood)
{
    m_mood = mood;
    paintPanel(Panel1, mood == Mood::Like);
    paintPanel(Panel2, mood == Mood::Dislike);
}

void TFeedbackForm::paintPanel(QFrame* panel, bool selected)
{
    QPalette pal = panel->palette();
    const QPalette base = palette();
    pal.setColor(QPalette::Window, base.color(selected ? QPalette::Highlight : QPalette::Button));
    pal.setColor(QPalette::WindowText, base.color(selected ? QPalette::HighlightedText : QPalette::WindowText));
    panel->setPalette(pal);
    panel->setFrameShadow(selected ? QFrame::Sunken : QFrame::Raised);
}

void TFeedbackForm::limitMemo()
{
    const QString text = Memo1->toPlainText();
    if (text.size() <= kMemoLimit)
        return;
    const QSignalBlocker blocker(Memo1);
    const int position = std::min(Memo1->textCursor().position(), kMemoLimit);
    Memo1->setPlainText(text.left(kMemoLimit));
    QTextCursor cursor = Memo1->textCursor();
    cursor.setPosition(position);
    Memo1->setTextCursor(cursor);
}

void TFeedbackForm::BitBtn1Click()
{
    QString moodEnglish;
    if (m_mood == Mood::Like)
        moodEnglish = QString::fromLatin1(kLikeText);
    else if (m_mood == Mood::Dislike)
        moodEnglish = QString::fromLatin1(kDislikeText);
    const QString feedbackText = BuildFeedbackText(moodEnglish, TranslateText(moodEnglish), Memo1->toPlainText());

    if (Memo1->toPlainText().trimmed().isEmpty()) {
        Memo1->setFocus();
        m_dialogs.beep();
        return;
    }

    const QString email = Edit1->text().trimmed();
    if (!email.isEmpty() && !IsValidEmailAddress(email)) {
        Edit1->setFocus();
        m_dialogs.message(this, TranslateText("Failure"), TranslateText("Invalid e-mail address!"),
                          Dialogs::Icon::Error, Dialogs::Ok);
        return;
    }

    const FormFields fields = BuildFeedbackFields(m_appTitle, m_appVersion, feedbackText, email);
    bool delivered = false;
    {
        const BusyCursor busy;
        delivered = SendFeedback(fields, m_timeouts);
    }

    if (delivered) {
        m_dialogs.message(this, TranslateText("Success"),
                          TranslateText("Your feedback is received.") + QStringLiteral("\r\r")
                              + TranslateText("Thank you!"),
                          Dialogs::Icon::Information, Dialogs::Ok);
        close();
    } else {
        m_dialogs.message(this, TranslateText("Failure"),
                          TranslateText("Something went wrong. Your feedback could not be delivered.")
                              + QStringLiteral("\r\r") + TranslateText("Please try again later."),
                          Dialogs::Icon::Error, Dialogs::Ok);
    }
}
