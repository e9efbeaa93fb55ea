#pragma once
// Counts the paint events a widget receives, without changing how it paints.
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace consoletest {

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace consoletest
