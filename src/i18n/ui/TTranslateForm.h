#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QStringList>

class AppContext;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The entries of the language chooser: "English" and, for each language file, its name before ".lang.txt"
// (empty when the name lacks it), sorted alphabetically without regard to case; repeats are kept.
QStringList LanguageEntries(const QStringList& languageFiles);
// Name of the flag picture of a language ("de" for German, "flag" for English); "xx" for any other name.
QString FlagNameOf(const QString& language);
// The 16 x 16 flag picture of a language.
QPixmap LanguageFlag(const QString& language);
// Who translated a language, one name a line: the "INFO:Translated By" entry of its file split at commas.
// A file without that entry gives the key itself; a file that cannot be read gives one empty line.
QStringList TranslatorCredits(const QString& languagesFolder, const QString& entry);
// The page where users help translate the program.
QString TranslationContributionUrl();

// "Language": chooses the language of the user interface. A changed choice is stored and the program
// restarts so that it takes effect.
class TTranslateForm : public QDialog
{
    Q_OBJECT

public:
    explicit TTranslateForm(AppContext& context);

    // Creates the window and shows it modally.
    static int showModalFor(AppContext& context);

    QString initialLanguage() const { return m_initialLanguage; }

private:
    void FormCreate();
    void ComboBox1Change();
    void Button1Click();
    void LinkLabel1Click();

    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* LinkLabel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    AppContext& m_context;
    QString m_initialLanguage;
};
