#pragma once
// A push button whose click event runs guarded: an error raised by the handler is
// shown by the error report and never crosses the event loop.
#include "Component.h"

#include <QPushButton>

#include <string>

namespace platform {

class TButton : public QPushButton {
    Q_OBJECT
public:
    TButton(QWidget* parent, const QString& name, const QRect& geometry, const QString& caption,
            const QString& hint = {});

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    TNotifyEvent OnClick;
};

} // namespace platform
