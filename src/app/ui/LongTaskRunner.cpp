#include "app/ui/LongTaskRunner.h"

#include "i18n/Translator.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <exception>

namespace {

int g_dialogDelay = 500;
bool g_lastRunShowedDialog = false;

// Swallows the user's input to every window but the progress dialog while the work runs.
class InputHold : public QObject
{
public:
    InputHold() { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }
    void allow(QWidget* dialog) { m_allowed = dialog; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return isUserInput(event->type()) && !isAllowed(watched);
    }

private:
    // The dialog and its controls; the user's input reaches them through the dialog's own window first.
    bool isAllowed(QObject* watched) const
    {
        if (!m_allowed)
            return false;
        if (auto* window = qobject_cast<QWindow*>(watched))
            return window == m_allowed->windowHandle();
        for (QObject* o = watched; o; o = o->parent())
            if (o == m_allowed)
                return true;
        return false;
    }

    static bool isUserInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }

    QPointer<QWidget> m_allowed;
};

// The label, and below it the steps done (of the total when known) once the work counts any: work that counts
// nothing (a receipt going to the printer) shows no count of 0.
QString progressText(const QString& label, const LongTaskProgress& progress)
{
    const QLocale locale;
    const qint64 total = progress.total();
    if (total <= 0 && progress.done() == 0)
        return label;
    QString text = label + QLatin1Char('\n') + locale.toString(progress.done());
    if (total > 0)
        text += QStringLiteral(" / ") + locale.toString(total);
    return text;
}

void showProgress(QProgressDialog& dialog, const QString& label, const LongTaskProgress& progress)
{
    if (progress.cancelled())
        return;
    const qint64 total = progress.total();
    if (total > 0) {
        // The bar counts in thousandths, so totals beyond an int's range still fit.
        dialog.setRange(0, 1000);
        dialog.setValue(int(qMin<qint64>(1000, progress.done() * 1000 / total)));
    } else {
        dialog.setRange(0, 0);
    }
    dialog.setLabelText(progressText(label, progress));
}

} // namespace

bool LongTaskRunner::run(QWidget* parent, const QString& label, const Job& job)
{
    g_lastRunShowedDialog = false;
    LongTaskProgress progress;
    std::exception_ptr failure;
    InputHold hold;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool busyCursor = true;

    QThread* worker = QThread::create([&] {
        try {
            job(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);

    QProgressDialog* dialog = nullptr;
    QTimer update;
    update.setInterval(100);
    QObject::connect(&update, &QTimer::timeout, &loop, [&] {
        if (dialog)
            showProgress(*dialog, label, progress);
    });
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, [&] {
        dialog = new QProgressDialog(parent);
        dialog->setObjectName(QStringLiteral("LongTaskProgress"));
        dialog->setWindowTitle(QApplication::applicationDisplayName());
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setMinimumDuration(0);
        dialog->setCancelButtonText(TranslateText("Cancel"));
        dialog->setAccessibleName(TranslateText("Progress"));
        QObject::connect(dialog, &QProgressDialog::canceled, &loop, [&] {
            progress.cancel();
            dialog->setLabelText(label + QLatin1Char('\n') + TranslateText("Cancelling..."));
        });
        hold.allow(dialog);
        showProgress(*dialog, label, progress);
        QApplication::restoreOverrideCursor();
        busyCursor = false;
        dialog->show();
        g_lastRunShowedDialog = true;
        update.start();
    });

    worker->start();
    delay.start(g_dialogDelay);
    loop.exec();
    worker->wait();
    delete worker;
    delay.stop();
    update.stop();
    delete dialog;
    if (busyCursor)
        QApplication::restoreOverrideCursor();
    if (failure)
        std::rethrow_exception(failure);
    return !progress.cancelled();
}

void LongTaskRunner::setDialogDelay(int milliseconds)
{
    g_dialogDelay = milliseconds;
}

int LongTaskRunner::dialogDelay()
{
    return g_dialogDelay;
}

bool LongTaskRunner::lastRunShowedDialog()
{
    return g_lastRunShowedDialog;
}
