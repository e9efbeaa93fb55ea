#pragma once
// The windows' passive parts: bold captions beside the fields, and captioned
// group boxes whose children sit at fixed positions inside them.
#include <QGroupBox>
#include <QLabel>

namespace platform {

// A label as tall as the fields (18 pixels) with its text centred vertically, so
// that a caption and the field beside it share one line of text.
class TLabel : public QLabel {
    Q_OBJECT
public:
    TLabel(QWidget* parent, const QString& caption, const QPoint& position, bool larger = false);
};

class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    TGroupBox(QWidget* parent, const QString& name, const QRect& geometry, const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace platform
