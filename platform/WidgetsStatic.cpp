#include "WidgetsStatic.h"

#include "WidgetsLook.h"

#include <QFontMetrics>
#include <QPainter>

namespace platform {

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
void TGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect frame = rect().adjusted(0, lineY, -2, -2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));

    const QRect captionBox(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    painter.fillRect(captionBox, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionBox.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title());
}

} // namespace platform
