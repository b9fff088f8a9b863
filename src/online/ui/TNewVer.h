#pragma once

#include <QPoint>
#include <QWidget>

class Environment;
class QLabel;
class QTimer;
class QToolButton;
class QVariantAnimation;

// The small borderless notice in the screen's top-right corner that a different version is available. It shows
// itself (a short reveal from its centre) right after it is created, closes itself after eleven seconds, and
// deletes itself when closed. Create it with new and forget it.
class TNewVer : public QWidget
{
    Q_OBJECT
public:
    TNewVer(Environment& environment, const QString& appProductName, const QString& versionText,
            const QString& downloadUrl, QWidget* mainWindow = nullptr);

    static constexpr int kClientWidth = 320;
    static constexpr int kClientHeight = 68;

    void TimerStartTimer();  // shows the window
    void TimerLinkTimer();   // link colour under the mouse
    void TimerCloseTimer();  // the countdown
    void Label2Click();      // the download link
    void SpeedButton1Click();// the close button

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void animateMask(bool opening);
    void applyMask(double fraction);

    Environment& m_environment;
    QString m_downloadUrl;
    QWidget* m_mainWindow;
    int m_countdown = 11;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_windowStart;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QWidget* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QTimer* TimerStart = nullptr;
    QTimer* TimerLink = nullptr;
    QTimer* TimerClose = nullptr;
    QVariantAnimation* m_animation = nullptr;
};
