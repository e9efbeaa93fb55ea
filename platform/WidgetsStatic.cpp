#include "WidgetsStatic.h"

#include "WidgetsLook.h"

#include <QFontMetrics>

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
}

} // namespace platform
