#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QThread>

// Lets events (and deferred deletes) run until the condition holds or a generous limit passes.
template <typename Condition>
bool WaitFor(Condition condition, int limitMs = 10000)
{
    QDeadlineTimer deadline(limitMs);
    for (;;) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
}
