#include "reports/ui/ChartPanel.h"

#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "platform/TextFile.h"

#include <QBoxLayout>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QEvent>
#include <QHelpEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>

ChartPanel::ChartPanel(Dialogs& dialogs, const QString& name, const QString& accessibleName, QWidget* parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
{
    setObjectName(name);
    m_view = new QChartView(this);
    m_view->setObjectName(name + QStringLiteral("View"));
    m_view->setAccessibleName(accessibleName);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(320, 240);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->viewport()->installEventFilter(this);

    SaveButton = new QPushButton(TranslateText("Save as picture"), this);
    SaveButton->setObjectName(name + QStringLiteral("Save"));
    SaveButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    PrintButton = new QPushButton(TranslateText("Print"), this);
    PrintButton->setObjectName(name + QStringLiteral("Print"));
    connect(SaveButton, &QPushButton::clicked, this, &ChartPanel::SaveClick);
    connect(PrintButton, &QPushButton::clicked, this, &ChartPanel::PrintClick);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);
    m_buttons->addWidget(SaveButton);
    m_buttons->addWidget(PrintButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    layout->addLayout(m_buttons);
}

void ChartPanel::setChart(QChart* chart)
{
    if (!m_barTip.isEmpty())
        setBarTip(QString()); // its bar goes with the chart
    QChart* previous = m_view->chart();
    m_view->setChart(chart); // the view lets go of the chart before without deleting it
    delete previous;
}

void ChartPanel::addButton(QPushButton* button)
{
    m_buttons->addWidget(button);
}

QImage ChartPanel::picture() const
{
    QImage image(m_view->size(), QImage::Format_RGB32);
    image.fill(m_view->chart()->backgroundBrush().color());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    m_view->render(&painter);
    painter.end();
    return image;
}

void ChartPanel::SaveClick()
{
    Dialogs::FileRequest request;
    request.caption = TranslateText("Save as picture");
    request.filter = QStringLiteral("PNG|*.png");
    request.defaultSuffix = QStringLiteral("png");
    const QString path = m_dialogs.saveFile(this, request);
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!picture().save(&buffer, "PNG"))
        error = TranslateText("The picture could not be saved.");
    else if (!WriteFileAtomically(path, bytes, &error))
        error = TranslateText("The picture could not be saved.") + QLatin1Char('\n') + error;
    if (!error.isEmpty())
        m_dialogs.error(this, QGuiApplication::applicationDisplayName(), error);
}

void ChartPanel::PrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(window()->windowTitle());
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!m_dialogs.choosePrinter(this, printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_dialogs.error(this, QGuiApplication::applicationDisplayName(), TranslateText("Printer not found!"));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    // The chart as laid out on screen, scaled to the page with its proportions kept.
    const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    m_view->render(&painter, page, m_view->viewport()->rect(), Qt::KeepAspectRatio);
    painter.end();
}

void ChartPanel::setBarTip(const QString& text)
{
    m_barTip = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(QCursor::pos(), text, m_view);
}

bool ChartPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The chart's scene answers the tooltip request that follows every mouse move by hiding any tooltip, since
    // its bars have none of their own: answer it with the bar's.
    if (watched == m_view->viewport() && event->type() == QEvent::ToolTip) {
        if (m_barTip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), m_barTip, m_view);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ChartPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        emit paletteChanged();
}
