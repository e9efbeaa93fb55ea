#include "WidgetsLook.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace platform {

namespace {

QFont PixelFont(const char* family, int pixelSize, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Metric-compatible faces stand in where the named one is missing. Numbers
    // and short captions need no kerning or ligatures, and skipping the shaper
    // makes a field's new value cheaper to lay out and draw.
    font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    return font;
}

} // namespace

QColor ButtonFaceColor() { return QColor(0xEC, 0xEC, 0xEA); }
QColor ReadOnlyFieldColor() { return QColor(0xF7, 0xF7, 0xF5); }
QColor ReadOnlyFieldFrameColor() { return QColor(0xA8, 0xA8, 0xA4); }

QFont TextFont() { return PixelFont("Liberation Sans", 11); }
QFont LabelFont(bool larger) { return PixelFont("Liberation Sans", larger ? 13 : 11, true); }
QFont FieldFont()
{
    static const QFont font = PixelFont("Liberation Sans Narrow", 12);
    return font;
}
int FieldFontMinimumPixelSize() { return 8; }
QFont NarrowBoldFont() { return PixelFont("Liberation Sans Narrow", 12, true); }

void ApplyLook(QApplication& app)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);

    QPalette palette = app.style()->standardPalette();
    const QColor face = ButtonFaceColor();
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, face.lighter(104));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x33, 0x66, 0xCC));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    app.setPalette(palette);
    app.setFont(TextFont());
}

} // namespace platform
