#include "online/ui/TNewVer.h"

#include "i18n/Translator.h"
#include "online/FormPost.h"
#include "platform/Environment.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVariantAnimation>

namespace {

const int kAnimationMs = 100;
const int kScreenMargin = 5;

QPixmap crossPicture()
{
    QPixmap picture(10, 10);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QApplication::palette().color(QPalette::WindowText), 1.6));
    painter.drawLine(QPointF(1.5, 1.5), QPointF(8.5, 8.5));
    painter.drawLine(QPointF(8.5, 1.5), QPointF(1.5, 8.5));
    return picture;
}

} // namespace

TNewVer::TNewVer(Environment& environment, const QString& appProductName, const QString& versionText,
                 const QString& downloadUrl, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_environment(environment)
    , m_downloadUrl(downloadUrl)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TNewVer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    Image1->setPixmap(icon.pixmap(32, 32));
    Image1->setGeometry(10, 18, 32, 32);

    Label1 = new QLabel(TranslateText("UPDATE AVAILABLE"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(50, 6, 240, 18);

    Label2 = new QLabel(TranslateText("Click to download") + QLatin1Char(' ') + appProductName + QLatin1Char(' ')
                            + versionText,
                        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont underlined = Label2->font();
    underlined.setUnderline(true);
    Label2->setFont(underlined);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->setGeometry(50, 26, 240, 36);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(kClientWidth - 26, 0, 26, kClientHeight);
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(crossPicture());
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setAccessibleName(TranslateText("Close"));
    SpeedButton1->setGeometry(4, 4, 18, 18);
    connect(SpeedButton1, &QToolButton::clicked, this, &TNewVer::SpeedButton1Click);

    for (QWidget* handle : {static_cast<QWidget*>(this), static_cast<QWidget*>(Image1),
                            static_cast<QWidget*>(Label1), Panel1})
        handle->installEventFilter(this);
    Label2->installEventFilter(this);

    const QScreen* screen = mainWindow && mainWindow->screen() ? mainWindow->screen() : QApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() - kScreenMargin - kClientWidth, area.y() + kScreenMargin);
    }

    TimerStart = new QTimer(this);
    TimerStart->setSingleShot(true);
    connect(TimerStart, &QTimer::timeout, this, &TNewVer::TimerStartTimer);
    TimerLink = new QTimer(this);
    connect(TimerLink, &QTimer::timeout, this, &TNewVer::TimerLinkTimer);
    TimerClose = new QTimer(this);
    connect(TimerClose, &QTimer::timeout, this, &TNewVer::TimerCloseTimer);
    TimerStart->start(1);
    TimerLink->start(100);
    TimerClose->start(1000);
}

void TNewVer::TimerStartTimer()
{
    if (isVisible())
        return;
    applyMask(0.0);
    show();
    animateMask(true);
}

void TNewVer::TimerLinkTimer()
{
    const bool hovered = isVisible() && Label2->rect().contains(Label2->mapFromGlobal(QCursor::pos()));
    QPalette pal = Label2->palette();
    pal.setColor(QPalette::WindowText, palette().color(hovered ? QPalette::Highlight : QPalette::WindowText));
    Label2->setPalette(pal);
}

void TNewVer::TimerCloseTimer()
{
    if (m_countdown <= 0)
        return;
    if (--m_countdown > 0)
        return;
    TimerClose->stop();
    animateMask(false);
}

void TNewVer::Label2Click()
{
    const QString address = m_downloadUrl.isEmpty() ? MakerHomePage() : m_downloadUrl;
    m_environment.openUrl(QUrl(address));
    close();
}

void TNewVer::SpeedButton1Click()
{
    close();
}

void TNewVer::applyMask(double fraction)
{
    const int w = std::max(1, static_cast<int>(width() * fraction));
    const int h = std::max(1, static_cast<int>(height() * fraction));
    setMask(QRegion((width() - w) / 2, (height() - h) / 2, w, h));
}

void TNewVer::animateMask(bool opening)
{
    if (m_animation)
        m_animation->stop();
    else
        m_animation = new QVariantAnimation(this);
    m_animation->disconnect(this);
    m_animation->setDuration(kAnimationMs);
    m_animation->setStartValue(opening ? 0.0 : 1.0);
    m_animation->setEndValue(opening ? 1.0 : 0.0);
    connect(m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { applyMask(value.toDouble()); });
    connect(m_animation, &QVariantAnimation::finished, this, [this, opening] {
        if (opening) {
            clearMask();
            if (m_mainWindow)
                m_mainWindow->activateWindow();
        } else {
            close();
        }
    });
    m_animation->start();
}

bool TNewVer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label2) {
        // The link takes its own presses, so they never start a drag of the window.
        if (event->type() == QEvent::MouseButtonPress)
            return true;
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
            && Label2->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            Label2Click();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }

    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::MiddleButton) {
            m_dragging = true;
            m_dragStart = mouse->globalPosition().toPoint();
            m_windowStart = pos();
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragging && (mouse->buttons() & (Qt::LeftButton | Qt::MiddleButton))) {
            move(m_windowStart + mouse->globalPosition().toPoint() - m_dragStart);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
