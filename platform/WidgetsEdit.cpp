#include "WidgetsEdit.h"

#include "Application.h"
#include "WidgetsLook.h"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>

namespace platform {

namespace {

QColor ColorFromBgr(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor BgrFromColor(const QColor& color)
{
    return TColor(color.red()) | TColor(color.green()) << 8 | TColor(color.blue()) << 16;
}

} // namespace

TEdit::TEdit(QWidget* parent, const QString& name, const QRect& geometry, const QString& text,
             bool readOnly)
    : QLineEdit(parent)
{
    setObjectName(name);
    setFont(FieldFont());
    // The look's frame and Qt's fixed inner margin leave little room in the
    // 33- and 41-pixel fields; one pixel less on each side keeps a clear gap to
    // the frame and lets "-179.99" fit.
    setTextMargins(-1, 0, -1, 0);
    setReadOnly(readOnly);
    if (readOnly) {
        QPalette p = palette();
        p.setColor(QPalette::Base, ReadOnlyFieldColor());
        setPalette(p);
        // Values are set from code; a read-only field should not take focus
        // from the controls the user works with.
        setFocusPolicy(Qt::NoFocus);
    }
    setGeometry(geometry);
    ApplyText(text);
    connect(this, &QLineEdit::textChanged, this, [this] {
        FitFontToText();
        if (!settingFromCode_)
            RunGuarded([this] { Raise(OnChange, this); });
    });
}

std::string TEdit::Text() const { return text().toStdString(); }

void TEdit::SetText(const std::string& text)
{
    const QString newText = QString::fromStdString(text);
    if (newText == QLineEdit::text())
        return;
    ApplyText(newText);
    Raise(OnChange, this);
}

void TEdit::ApplyText(const QString& text)
{
    settingFromCode_ = true;
    setText(text);
    settingFromCode_ = false;
    // Should a value still not fit, its sign and leading digits matter most.
    setCursorPosition(0);
}

TColor TEdit::FontColor() const { return BgrFromColor(palette().color(QPalette::Text)); }

void TEdit::SetFontColor(TColor color)
{
    const QColor wanted = ColorFromBgr(color);
    if (palette().color(QPalette::Text) == wanted)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Text, wanted);
    setPalette(p);
}

void TEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    FitFontToText();
}

int TEdit::TextRoomWidth() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    constexpr int lineEditInnerMargin = 2; // fixed inside QLineEdit on each side
    return contents.width() - margins.left() - margins.right() - 2 * lineEditInnerMargin;
}

// The field keeps its normal font whenever the text fits, and steps the size down
// only for a value that would otherwise be clipped or scrolled.
void TEdit::FitFontToText()
{
    QFont fitted = FieldFont();
    fitted.setBold(font().bold());
    const int room = TextRoomWidth();
    const QString shown = text();
    while (fitted.pixelSize() > FieldFontMinimumPixelSize()
           && QFontMetrics(fitted).horizontalAdvance(shown) > room)
        fitted.setPixelSize(fitted.pixelSize() - 1);
    if (fitted != font())
        setFont(fitted);
}

} // namespace platform
