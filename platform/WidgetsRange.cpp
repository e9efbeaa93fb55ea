#include "WidgetsRange.h"

#include "Application.h"

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
    setRange(min, max);
    SetProgress(progress);
}

void TGauge::SetProgress(int progress) { setValue(std::clamp(progress, minimum(), maximum())); }

} // namespace platform
