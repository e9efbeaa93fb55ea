#pragma once
// Waiting on a condition while Qt's event loop runs (timers fire, ticks poll),
// with a generous deadline instead of a fixed sleep.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace serialtest {

template <typename Condition>
bool WaitUntil(Condition condition, int deadlineMs = 10000)
{
    const QDeadlineTimer deadline(deadlineMs);
    QTimer wake; // keeps the loop turning when nothing else posts events
    wake.start(5);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace serialtest
