#include "WidgetsButton.h"

#include "Application.h"

namespace platform {

TButton::TButton(QWidget* parent, const QString& name, const QRect& geometry, const QString& caption,
                 const QString& hint)
    : QPushButton(caption, parent)
{
    setObjectName(name);
    setGeometry(geometry);
    setToolTip(hint);
    // The windows were laid out for buttons that take focus but are not pressed
    // by Enter elsewhere in the window.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { RunGuarded([this] { Raise(OnClick, this); }); });
}

std::string TButton::Caption() const { return text().toStdString(); }

void TButton::SetCaption(const std::string& caption) { setText(QString::fromStdString(caption)); }

} // namespace platform
