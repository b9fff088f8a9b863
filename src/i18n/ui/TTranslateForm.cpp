#include "i18n/ui/TTranslateForm.h"

#include "core/Dialogs.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "platform/TextFile.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QUrl>
#include <algorithm>

// The flag pictures live in a resource of the windows library; a static library needs them registered.
static void registerFlagPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(flags);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

const QString kEnglish = QStringLiteral("English");
const QString kCreditKey = QStringLiteral("INFO:Translated By");
constexpr int kFlagSize = 16;
constexpr int kFlagRole = Qt::UserRole + 1;

// Draws an entry as its flag at the left and top of the entry and its name right after it, top-aligned.
class FlagItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->drawPixmap(option.rect.left(), option.rect.top(), LanguageFlag(index.data(Qt::DisplayRole).toString()));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect textRect = option.rect.adjusted(kFlagSize, 0, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize text = option.fontMetrics.size(Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
        return {kFlagSize + text.width() + 4, std::max(kFlagSize, text.height())};
    }
};

QString readCredit(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QString();
    QString text;
    if (!DecodeText(bytes, TextEncoding::Utf8, 1252, text))
        text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    const QString key = QLatin1Char('{') + kCreditKey + QLatin1Char('}');
    for (const QString& line : SplitLines(text)) {
        if (line.startsWith(key))
            return line.mid(line.indexOf(QLatin1Char('}')) + 1);
    }
    return kCreditKey;
}

} // namespace

QStringList LanguageEntries(const QStringList& languageFiles)
{
    QStringList entries{kEnglish};
    for (const QString& file : languageFiles) {
        const qsizetype end = file.indexOf(QStringLiteral(".lang.txt"));
        entries << (end < 0 ? QString() : file.left(end));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return entries;
}

QString FlagNameOf(const QString& language)
{
    static const QHash<QString, QString> flags{
        {QStringLiteral("English"), QStringLiteral("flag")},
        {QStringLiteral("German"), QStringLiteral("de")},
        {QStringLiteral("French"), QStringLiteral("fr")},
        {QStringLiteral("Turkish"), QStringLiteral("tr")},
        {QStringLiteral("Albanian"), QStringLiteral("al")},
        {QStringLiteral("Arabic"), QStringLiteral("sa")},
        {QStringLiteral("Bulgarian"), QStringLiteral("bg")},
        {QStringLiteral("ChineseSimplified"), QStringLiteral("cn")},
        {QStringLiteral("ChineseTraditional"), QStringLiteral("tw")},
        {QStringLiteral("Czech"), QStringLiteral("cz")},
        {QStringLiteral("Dutch"), QStringLiteral("nl")},
        {QStringLiteral("Finnish"), QStringLiteral("fi")},
        {QStringLiteral("Greek"), QStringLiteral("gr")},
        {QStringLiteral("Hebrew"), QStringLiteral("il")},
        {QStringLiteral("Hungarian"), QStringLiteral("hu")},
        {QStringLiteral("Italian"), QStringLiteral("it")},
        {QStringLiteral("Japanese"), QStringLiteral("jp")},
        {QStringLiteral("Korean"), QStringLiteral("kr")},
        {QStringLiteral("Persian"), QStringLiteral("ir")},
        {QStringLiteral("Polish"), QStringLiteral("pl")},
        {QStringLiteral("PortugueseBrazil"), QStringLiteral("br")},
        {QStringLiteral("PortuguesePortugal"), QStringLiteral("pt")},
        {QStringLiteral("Russian"), QStringLiteral("ru")},
        {QStringLiteral("Slovenian"), QStringLiteral("si")},
        {QStringLiteral("Spanish"), QStringLiteral("es")},
        {QStringLiteral("Swedish"), QStringLiteral("se")},
        {QStringLiteral("Ukrainian"), QStringLiteral("ua")},
        {QStringLiteral("Vietnamese"), QStringLiteral("vi")},
    };
    return flags.value(language, QStringLiteral("xx"));
}

QPixmap LanguageFlag(const QString& language)
{
    registerFlagPictures();
    return QPixmap(QStringLiteral(":/flags/%1.png").arg(FlagNameOf(language)));
}

QStringList TranslatorCredits(const QString& languagesFolder, const QString& entry)
{
    const QString credit = entry == kEnglish ? QStringLiteral("Zelkora")
                                             : readCredit(languagesFolder + entry + QStringLiteral(".lang.txt"));
    QStringList names;
    for (const QString& name : credit.split(QLatin1Char(',')))
        names << name.trimmed();
    return names;
}

QString TranslationContributionUrl()
{
    return QStringLiteral("https://www.zelkora.com/translate/");
}

TTranslateForm::TTranslateForm(AppContext& context)
    : QDialog(context.window(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_context(context)
{
    setObjectName(QStringLiteral("TranslateForm"));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setIconSize(QSize(kFlagSize, kFlagSize));
    ComboBox1->setItemDelegate(new FlagItemDelegate(ComboBox1));
    Label1->setBuddy(ComboBox1);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFixedHeight(110);
    Label2->setBuddy(Memo1);

    LinkLabel1 = new QLabel(this);
    LinkLabel1->setObjectName(QStringLiteral("LinkLabel1"));
    LinkLabel1->setTextFormat(Qt::RichText);
    LinkLabel1->setCursor(Qt::PointingHandCursor);
    LinkLabel1->setToolTip(TranslationContributionUrl());
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LinkLabel1);
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ComboBox1);
    layout->addWidget(Label2);
    layout->addWidget(Memo1);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
    connect(LinkLabel1, &QLabel::linkActivated, this, [this] { LinkLabel1Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

int TTranslateForm::showModalFor(AppContext& context)
{
    TTranslateForm chooser(context);
    chooser.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = chooser.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        chooser.move(frame.topLeft());
    }
    return context.dialogs().execModal(chooser);
}

void TTranslateForm::FormCreate()
{
    setWindowTitle(TranslateText("Language"));
    Label1->setText(TranslateText("User Interface Language:"));
    Label2->setText(TranslateText("Translated by:"));
    // The style's link colour: blue on the light styles, a lighter one where the background is dark.
    LinkLabel1->setText(QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:underline\">%3</a>")
                            .arg(TranslationContributionUrl(), palette().color(QPalette::Link).name(),
                                 TranslateText("Contribute to Translation").toHtmlEscaped()));
    Button1->setText(TranslateText("OK"));
    Button2->setText(TranslateText("Cancel"));

    for (const QString& entry : LanguageEntries(AppTranslator().languageList())) {
        ComboBox1->addItem(QIcon(LanguageFlag(entry)), entry);
        ComboBox1->setItemData(ComboBox1->count() - 1, FlagNameOf(entry), kFlagRole);
    }
    const int current = ComboBox1->findText(AppTranslator().currentLanguageName(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ComboBox1->setCurrentIndex(current >= 0 ? current
                                            : ComboBox1->findText(kEnglish, Qt::MatchExactly | Qt::MatchCaseSensitive));
    ComboBox1Change();
    m_initialLanguage = ComboBox1->currentText();
}

void TTranslateForm::ComboBox1Change()
{
    Memo1->setPlainText(TranslatorCredits(AppTranslator().languagesFolder(), ComboBox1->currentText())
                            .join(QLatin1Char('\n')));
}

void TTranslateForm::Button1Click()
{
    const QString chosen = ComboBox1->currentText();
    if (chosen == m_initialLanguage) {
        accept();
        return;
    }
    if (!m_context.dialogs().askYesNo(this, TranslateText("Confirmation"), TranslateText("Restart Application?"),
                                      Dialogs::Icon::Question, TranslateText("Yes"), TranslateText("No")))
        return;
    m_context.SetLanguageFile(chosen + QStringLiteral(".lang.txt"));
    m_context.RestartApplication();
    accept();
}

void TTranslateForm::LinkLabel1Click()
{
    m_context.env().openUrl(QUrl(TranslationContributionUrl()));
}
