#pragma once
// The one look both windows share, standing in for the stored skin of the
// original programs: Qt's Fusion style on a light palette near the button-face
// colour, and fonts chosen so that every value field shows its whole number at
// the small sizes the windows were laid out for.
#include <QColor>
#include <QFont>

class QApplication;

namespace platform {

// Sets the style, palette and default font of the application.
void ApplyLook(QApplication& app);

QColor ButtonFaceColor();
// The background of fields that show values and cannot be typed into.
QColor ReadOnlyFieldColor();
QColor ReadOnlyFieldFrameColor();

// Captions, buttons and lists.
QFont TextFont();
// Labels are bold; "larger" is the bigger caption of the port list.
QFont LabelFont(bool larger = false);
// Value fields: a narrow face, so that "-179.99" fits a 41-pixel field.
QFont FieldFont();
// The narrowest size a field may shrink its font to for a value that does not
// fit at the normal size.
int FieldFontMinimumPixelSize();
// The bold narrow face of the airframe list.
QFont NarrowBoldFont();

} // namespace platform
