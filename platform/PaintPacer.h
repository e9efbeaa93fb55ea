#pragma once
// Paints a window at most once per refresh of its screen. Controls that change
// many times a second (telemetry arrives in 10 ms ticks) each ask Qt for a
// repaint; Qt already merges the requests of one pass of the event loop, and the
// pacer merges those of consecutive passes that fall within one screen refresh,
// since a second paint before the screen shows the first is never seen. The
// controls' values change at once as before; only the painting waits, never for
// longer than one refresh.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace platform {

class TPaintPacer : public QObject {
    Q_OBJECT
public:
    // Paces `window`, which owns the pacer, to one paint per `intervalMs`, or
    // per refresh of the window's screen when it is 0.
    explicit TPaintPacer(QWidget* window, int intervalMs = 0);

    // The shortest time between two paints of the window.
    int IntervalMs() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintNow();

    QWidget* window_;
    int fixedIntervalMs_;
    QElapsedTimer sinceLastPaint_;
    QTimer deferred_;
    bool releasing_ = false;
};

} // namespace platform
