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
#include <QTabWidget>
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

    TemplateTabs = new QTabWidget(this);
    TemplateTabs->setObjectName(QStringLiteral("TemplateTabs"));
    Memo1 = new QPlainTextEdit(TemplateTabs);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    RefundMemo = new QPlainTextEdit(TemplateTabs);
    RefundMemo->setObjectName(QStringLiteral("RefundMemo"));
    for (QPlainTextEdit* memo : {Memo1, RefundMemo}) {
        memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->installEventFilter(this);
    }
    TemplateTabs->addTab(Memo1, QString());
    TemplateTabs->addTab(RefundMemo, QString());

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
    AddORIGINALRECEIPTNO1 = addMenuItem(PopupMenu1, QStringLiteral("AddORIGINALRECEIPTNO1"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(SpeedButton1);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TemplateTabs, 1);
    layout->addLayout(bottom);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Reset1, &QAction::triggered, this, [this] { Reset1Click(); });
    const std::pair<QAction*, const char*> placeholders[] = {
        {AddDATE1, "[DATE]"}, {AddDATETIME1, "[DATETIME]"}, {AddLIST1, "[LIST]"},
        {AddRECEIPTNO1, "[RECEIPTNO]"}, {AddTIME1, "[TIME]"}, {AddTOTAL1, "[TOTAL]"},
        {AddTENDERS1, "[TENDERS]"}, {AddSALEID1, "[SALEID]"}, {AddORIGINALRECEIPTNO1, "[ORIGINALRECEIPTNO]"}};
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
    RefundMemo->setPlainText(m_context.receipts.RefundTemplate.join(QLatin1Char('\n')));

    setWindowTitle(TranslateText("Print Template"));
    TemplateTabs->setTabText(0, TranslateText("Sale"));
    TemplateTabs->setTabText(1, TranslateText("Refund"));
    TemplateTabs->setAccessibleName(TranslateText("Print Template"));
    RefundMemo->setAccessibleName(TranslateText("Refund"));
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
    AddORIGINALRECEIPTNO1->setText(add + QStringLiteral(" [ORIGINALRECEIPTNO]"));
}

QPlainTextEdit* TPrintTemplateForm::shownMemo() const
{
    return TemplateTabs->currentWidget() == RefundMemo ? RefundMemo : Memo1;
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
    QPlainTextEdit* memo = shownMemo();
    if (memo->document()->isEmpty()) {
        memo->setPlainText(placeholder);
        return;
    }
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertText(placeholder);
}

void TPrintTemplateForm::Reset1Click()
{
    const bool refund = shownMemo() == RefundMemo;
    const QString& builtIn = refund ? m_context.receipts.DefaultRefundTemplate : m_context.receipts.DefaultReceiptTemplate;
    shownMemo()->setPlainText(SplitLines(builtIn).join(QLatin1Char('\n')));
}

namespace {

// The memo's lines. The raw text keeps characters such as no-break spaces that toPlainText() would turn into
// blanks.
QStringList TemplateLines(const QPlainTextEdit& memo)
{
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
    return SplitLines(text);
}

} // namespace

void TPrintTemplateForm::BitBtn1Click()
{
    const auto write = [this](const QString& fileName, const QStringList& lines) {
        const QString path = m_context.DataFolder + fileName;
        QString error;
        if (!WriteFileAtomically(path, Utf8CrLfLines(lines, false), &error))
            m_context.ShowError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, error));
    };
    m_context.receipts.ReceiptTemplate = TemplateLines(*Memo1);
    write(QStringLiteral("PrintTemplate.txt"), m_context.receipts.ReceiptTemplate);
    // The built-in refund template follows the language until the shop makes one of its own.
    const QStringList refund = TemplateLines(*RefundMemo);
    if (refund != m_context.receipts.RefundTemplate) {
        m_context.receipts.RefundTemplate = refund;
        write(QStringLiteral("RefundTemplate.txt"), refund);
    }
    accept();
}

bool TPrintTemplateForm::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Memo1 || watched == RefundMemo) && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        BitBtn2->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
