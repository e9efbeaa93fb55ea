#include "PaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr double FallbackRefreshHz = 60;

} // namespace

TPaintPacer::TPaintPacer(QWidget* window, int intervalMs)
    : QObject(window), window_(window), fixedIntervalMs_(intervalMs)
{
    deferred_.setSingleShot(true);
    deferred_.setTimerType(Qt::PreciseTimer);
    connect(&deferred_, &QTimer::timeout, this, &TPaintPacer::PaintNow);
    window_->installEventFilter(this);
}

int TPaintPacer::IntervalMs() const
{
    if (fixedIntervalMs_ > 0)
        return fixedIntervalMs_;
    const QScreen* screen = window_->screen();
    const double hz = screen && screen->refreshRate() > 1 ? screen->refreshRate() : FallbackRefreshHz;
    return std::max(1, int(std::floor(1000.0 / hz)));
}

// Qt asks a window to paint what is waiting with an update request. One that
// comes too soon after the last paint is held back, and the waiting parts stay
// marked, so the request made when the interval is over paints them all.
bool TPaintPacer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_ || event->type() != QEvent::UpdateRequest)
        return false;
    const int interval = IntervalMs();
    if (releasing_ || !sinceLastPaint_.isValid() || sinceLastPaint_.elapsed() >= interval) {
        releasing_ = false;
        deferred_.stop();
        sinceLastPaint_.start();
        return false;
    }
    if (!deferred_.isActive())
        deferred_.start(int(std::max<qint64>(1, interval - sinceLastPaint_.elapsed())));
    return true;
}

void TPaintPacer::PaintNow()
{
    releasing_ = true;
    QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

} // namespace platform
