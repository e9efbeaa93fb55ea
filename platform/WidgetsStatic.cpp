#include "WidgetsStatic.h"

#include "WidgetsLook.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace platform {

namespace {

// The pixels a one-pixel pen outlines around `r` (its right and bottom edges one
// beyond the rectangle's own), filled as four strips: a fill is several times
// cheaper than a stroke, and the group boxes repaint behind every moving control.
void FillOutline(QPainter& painter, const QRect& r, const QColor& color)
{
    const QRect covered(r.topLeft(), QSize(r.width() + 1, r.height() + 1));
    painter.fillRect(QRect(covered.left(), covered.top(), covered.width(), 1), color);
    painter.fillRect(QRect(covered.left(), covered.bottom(), covered.width(), 1), color);
    painter.fillRect(QRect(covered.left(), covered.top(), 1, covered.height()), color);
    painter.fillRect(QRect(covered.right(), covered.top(), 1, covered.height()), color);
}

} // namespace

TLabel::TLabel(QWidget* parent, const QString& caption, const QPoint& position, bool larger)
    : QLabel(caption, parent)
{
    setFont(LabelFont(larger));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    constexpr int fieldHeight = 18;
    const QFontMetrics metrics(font());
    setGeometry(position.x(), position.y(), metrics.horizontalAdvance(caption),
                std::max(fieldHeight, metrics.height()));
    // A label never covers the field it stands beside from the mouse.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

TGroupBox::TGroupBox(QWidget* parent, const QString& name, const QRect& geometry, const QString& caption)
    : QGroupBox(caption, parent)
{
    setObjectName(name);
    setGeometry(geometry);
    setFont(LabelFont());
}

// An etched frame with the caption set into its top line. The look's own group
// box is drawn from cached pixmaps and costs a good deal more; it is repainted
// behind every gauge and slider that moves with the telemetry.
void TGroupBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect frame = rect().adjusted(0, lineY, -2, -2);
    FillOutline(painter, frame, palette().color(QPalette::Mid));
    FillOutline(painter, frame.translated(1, 1), palette().color(QPalette::Light));

    // Most repaints are of a moving control inside the box; the caption is
    // measured and drawn only when the repaint reaches the caption's line.
    if (event->rect().top() >= metrics.height())
        return;
    const QRect captionBox(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    painter.fillRect(captionBox, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionBox.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title());
}

} // namespace platform
