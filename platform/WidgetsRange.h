#pragma once
// Controls that show an integer within a range. Setting a value from code clamps
// it into the range; a value outside it stands at the nearer end.
#include "Component.h"

#include <QProgressBar>
#include <QSlider>

namespace platform {

// A horizontal slider. Its change event runs only when the position really
// changes, whether the user dragged it or code set it.
class TSlider : public QSlider {
    Q_OBJECT
public:
    TSlider(QWidget* parent, const QString& name, const QRect& geometry, int min, int max,
            int position);

    int Position() const { return value(); }
    // Clamps; when the position changes, the change event runs within this call.
    void SetPosition(int position);
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }

    TNotifyEvent OnChange;

private:
    bool settingFromCode_ = false;
};

// A horizontal gauge without text.
class TGauge : public QProgressBar {
    Q_OBJECT
public:
    TGauge(QWidget* parent, const QString& name, const QRect& geometry, int min, int max,
           int progress);

    int Progress() const { return value(); }
    // QProgressBar ignores a value outside its range; the gauge clamps it instead.
    void SetProgress(int progress);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace platform
