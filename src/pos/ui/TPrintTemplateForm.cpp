#include "pos/ui/TPrintTemplateForm.h"

#include "core/Dialogs.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "platform/TextFile.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QToolButton>

namespace {

QAction* addMenuItem(QMenu* menu, const QString& objectName)
{
    QAction* item = menu->addAction(QString());
    item->setObjectName(objectName);
    return item;
}

} // namespace

TPrintTemplateForm::TPrintTemplateForm(AppContext& context)
    : QDialog(context.window(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_context(context)
{
    setObjectName(QStringLiteral("PrintTemplateForm"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->installEventFilter(this);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));

    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn2 = new QPushButton(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn2->setAutoDefault(false);
    BitBtn1->setAutoDefault(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Reset1 = addMenuItem(PopupMenu1, QStringLiteral("Reset1"));
    PopupMenu1->addSeparator();
    AddDATE1 = addMenuItem(PopupMenu1, QStringLiteral("AddDATE1"));
    AddDATETIME1 = addMenuItem(PopupMenu1, QStringLiteral("AddDATETIME1"));
    AddLIST1 = addMenuItem(PopupMenu1, QStringLiteral("AddLIST1"));
    AddRECEIPTNO1 = addMenuItem(PopupMenu1, QStringLiteral("AddRECEIPTNO1"));
    AddTIME1 = addMenuItem(PopupMenu1, QStringLiteral("AddTIME1"));
    AddTOTAL1 = addMenuItem(PopupMenu1, QStringLiteral("AddTOTAL1"));
    AddTENDERS1 = addMenuItem(PopupMenu1, QStringLiteral("AddTENDERS1"));
    AddSALEID1 = addMenuItem(PopupMenu1, QStringLiteral("AddSALEID1"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(SpeedButton1);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(bottom);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Reset1, &QAction::triggered, this, [this] { Reset1Click(); });
    const std::pair<QAction*, const char*> placeholders[] = {
        {AddDATE1, "[DATE]"}, {AddDATETIME1, "[DATETIME]"}, {AddLIST1, "[LIST]"},
        {AddRECEIPTNO1, "[RECEIPTNO]"}, {AddTIME1, "[TIME]"}, {AddTOTAL1, "[TOTAL]"},
        {AddTENDERS1, "[TENDERS]"}, {AddSALEID1, "[SALEID]"}};
    for (const auto& [item, placeholder] : placeholders) {
        const QString text = QString::fromLatin1(placeholder);
        connect(item, &QAction::triggered, this, [this, text] { AddPlaceholder(text); });
    }

    FormCreate();
    resize(480, 420);
}

int TPrintTemplateForm::showModalFor(AppContext& context)
{
    TPrintTemplateForm editor(context);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = editor.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        editor.move(frame.topLeft());
    }
    return context.dialogs().execModal(editor);
}

void TPrintTemplateForm::FormCreate()
{
    Memo1->setPlainText(m_context.receipts.ReceiptTemplate.join(QLatin1Char('\n')));

    setWindowTitle(TranslateText("Print Template"));
    BitBtn1->setText(TranslateText("OK"));
    BitBtn2->setText(TranslateText("Cancel"));
    Memo1->setAccessibleName(TranslateText("Print Template"));
    SpeedButton1->setAccessibleName(TranslateText("Add"));
    SpeedButton1->setToolTip(TranslateText("Add"));
    Reset1->setText(TranslateText("Reset"));
    const QString add = TranslateText("Add");
    AddDATE1->setText(add + QStringLiteral(" [DATE]"));
    AddDATETIME1->setText(add + QStringLiteral(" [DATETIME]"));
    AddLIST1->setText(add + QStringLiteral(" [LIST]"));
    AddRECEIPTNO1->setText(QStringLiteral("Add [RECEIPTNO]"));
    AddTIME1->setText(add + QStringLiteral(" [TIME]"));
    AddTOTAL1->setText(add + QStringLiteral(" [TOTAL]"));
    AddTENDERS1->setText(add + QStringLiteral(" [TENDERS]"));
    AddSALEID1->setText(add + QStringLiteral(" [SALEID]"));
}

void TPrintTemplateForm::SpeedButton1Click()
{
    if (m_menuClosed.isValid() && m_menuClosed.elapsed() < 100) {
        m_menuClosed.invalidate();
        return;
    }
    PopupMenu1->exec(SpeedButton1->mapToGlobal(QPoint(0, SpeedButton1->height())));
    m_menuClosed.start();
}

void TPrintTemplateForm::AddPlaceholder(const QString& placeholder)
{
    if (Memo1->document()->isEmpty()) {
        Memo1->setPlainText(placeholder);
        return;
    }
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertText(placeholder);
}

void TPrintTemplateForm::Reset1Click()
{
    Memo1->setPlainText(SplitLines(m_context.receipts.DefaultReceiptTemplate).join(QLatin1Char('\n')));
}

void TPrintTemplateForm::BitBtn1Click()
{
    // The raw text keeps characters such as no-break spaces that toPlainText() would turn into blanks.
    QString text = Memo1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
    m_context.receipts.ReceiptTemplate = SplitLines(text);
    const QString path = m_context.DataFolder + QStringLiteral("PrintTemplate.txt");
    QString error;
    if (!WriteFileAtomically(path, Utf8CrLfLines(m_context.receipts.ReceiptTemplate, false), &error))
        m_context.ShowError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, error));
    accept();
}

bool TPrintTemplateForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Memo1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        BitBtn2->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
