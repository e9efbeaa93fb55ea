#include "WidgetsRange.h"

#include "Application.h"

#include <QPainter>

#include <algorithm>

namespace platform {

TSlider::TSlider(QWidget* parent, const QString& name, const QRect& geometry, int min, int max,
                 int position)
    : QSlider(Qt::Horizontal, parent)
{
    setObjectName(name);
    setGeometry(geometry);
    setRange(min, max);
    setSingleStep(1);
    setPageStep(std::max(1, (max - min) / 10));
    setValue(position);
    connect(this, &QSlider::valueChanged, this, [this] {
        if (!settingFromCode_)
            RunGuarded([this] { Raise(OnChange, this); });
    });
}

void TSlider::SetPosition(int position)
{
    const int clamped = std::clamp(position, minimum(), maximum());
    if (clamped == value())
        return;
    settingFromCode_ = true;
    setValue(clamped);
    settingFromCode_ = false;
    Raise(OnChange, this);
}

TGauge::TGauge(QWidget* parent, const QString& name, const QRect& geometry, int min, int max,
               int progress)
    : QProgressBar(parent)
{
    setObjectName(name);
    setGeometry(geometry);
    setTextVisible(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setRange(min, max);
    SetProgress(progress);
}

// QProgressBar::setValue repaints at once rather than scheduling a paint, and a
// synchronous repaint of one control paints every part of the window that is
// waiting for its repaint. At telemetry rate that painted the whole window
// several times per tick; with updates held off during the call, the bar joins
// the window's next coalesced paint like every other control.
void TGauge::SetProgress(int progress)
{
    const int clamped = std::clamp(progress, minimum(), maximum());
    if (clamped == value())
        return;
    if (!updatesEnabled()) {
        setValue(clamped); // paints nothing now; the bar shows it once updates resume
        return;
    }
    setUpdatesEnabled(false);
    setValue(clamped);
    setUpdatesEnabled(true); // schedules the bar's repaint
}

// A flat bar in the highlight colour on the field background. The gauges move
// with every channel frame; the look's own bar (gradients, rounded ends) costs
// several times as much to paint, and needs its parent painted behind it.
void TGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The one-pixel frame as a fill under the inside, which is cheaper than a pen.
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    painter.fillRect(rect().adjusted(1, 1, -1, -1), palette().color(QPalette::Base));
    const int span = maximum() - minimum();
    const int filled = span > 0 ? (width() - 2) * (value() - minimum()) / span : 0;
    painter.fillRect(QRect(1, 1, filled, height() - 2), palette().color(QPalette::Highlight));
}

} // namespace platform
