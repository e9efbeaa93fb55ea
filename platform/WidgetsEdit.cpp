#include "WidgetsEdit.h"

#include "Application.h"
#include "WidgetsLook.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

#include <array>
#include <map>
#include <utility>

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

// The advances of the printable ASCII characters in one size of the field font.
// Summing them bounds a value's width without shaping it, which costs as much as
// drawing it; the fields see a new value many times a second.
class FieldFontAdvances {
public:
    explicit FieldFontAdvances(const QFont& font)
    {
        const QFontMetricsF metrics(font);
        for (char c = First; c <= Last; ++c)
            advance_[std::size_t(c - First)] = metrics.horizontalAdvance(QLatin1Char(c));
    }

    // The summed advances, or a negative number when a character is not in the table.
    qreal Sum(const QString& text) const
    {
        qreal sum = 0;
        for (const QChar c : text) {
            if (c.unicode() < First || c.unicode() > Last)
                return -1;
            sum += advance_[std::size_t(c.unicode() - First)];
        }
        return sum;
    }

    // One table per size and weight the fields use, made on first use.
    static const FieldFontAdvances& Of(const QFont& font)
    {
        static std::map<std::pair<int, bool>, FieldFontAdvances> tables;
        const auto key = std::make_pair(font.pixelSize(), font.bold());
        auto found = tables.find(key);
        if (found == tables.end())
            found = tables.emplace(key, FieldFontAdvances(font)).first;
        return found->second;
    }

private:
    static constexpr char First = ' ';
    static constexpr char Last = '~';
    std::array<qreal, Last - First + 1> advance_{};
};

constexpr qreal KerningAllowance = 2;

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
    // It paints itself whole (see paintEvent), so nothing behind it needs
    // repainting when its value changes, and a neighbour that moves beneath its
    // edge (the fields overlap their neighbours by a pixel) does not repaint it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(geometry);
    textRoom_ = TextRoomWidth();
    ApplyText(text);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (settingFromCode_)
            return;
        value_ = QLineEdit::text();
        FitFontToText();
        RunGuarded([this] { Raise(OnChange, this); });
    });
}

std::string TEdit::Text() const { return value_.toStdString(); }

void TEdit::SetText(const std::string& text)
{
    const QString newText = QString::fromStdString(text);
    if (newText == value_)
        return;
    if (isReadOnly()) {
        value_ = newText;
        FitFontToText();
        update();
        if (!lineTextPending_) {
            lineTextPending_ = true;
            QTimer::singleShot(LineTextDelayMs, this, [this] { SyncLineText(); });
        }
    } else {
        ApplyText(newText);
    }
    Raise(OnChange, this);
}

void TEdit::ApplyText(const QString& text)
{
    value_ = text;
    settingFromCode_ = true;
    setText(text);
    settingFromCode_ = false;
    FitFontToText();
    // Should a value still not fit, its sign and leading digits matter most.
    setCursorPosition(0);
}

void TEdit::SyncLineText()
{
    lineTextPending_ = false;
    if (QLineEdit::text() != value_)
        ApplyText(value_);
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

// A read-only field shows a value many times a second while telemetry runs. It
// has no cursor, selection or focus frame to show, so it draws a flat frame and
// its text itself, where the style's panel would cost several times as much,
// and at the place the editable fields put their text.
void TEdit::paintEvent(QPaintEvent* event)
{
    if (!isReadOnly()) {
        // The look's frame has rounded, blended corners: they are drawn on the
        // window colour the field stands on, painted here since the field is
        // opaque.
        QPainter(this).fillRect(event->rect(), palette().color(QPalette::Window));
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    // The one-pixel frame as a fill under the background: outlining through the
    // pen costs more than the rest of the field.
    painter.fillRect(rect(), ReadOnlyFieldFrameColor());
    painter.fillRect(rect().adjusted(1, 1, -1, -1), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(font());
    const QMargins margins = textMargins();
    constexpr int inner = 1 + 2; // the frame, and the inner margin of the editable fields
    const QRect textArea = rect().adjusted(inner + margins.left(), 0, -inner - margins.right(), 0);
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal == Qt::AlignLeft) {
        // The common case, placed as the rectangle form would place it, without
        // its line layout, which costs as much again as the glyphs.
        const QFontMetricsF metrics(font());
        const qreal lineHeight = metrics.ascent() + metrics.descent();
        const qreal baseline = textArea.top() + (textArea.height() - lineHeight) / 2 + metrics.ascent();
        painter.drawText(QPointF(textArea.left(), baseline), value_);
        return;
    }
    painter.drawText(textArea, int(horizontal) | Qt::AlignVCenter, value_);
}

void TEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    textRoom_ = TextRoomWidth();
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
    const QString& shown = value_;
    QFont fitted = FieldFont();
    fitted.setBold(font().bold());
    while (fitted.pixelSize() > FieldFontMinimumPixelSize() && !Fits(shown, fitted))
        fitted.setPixelSize(fitted.pixelSize() - 1);
    if (fitted != font())
        setFont(fitted);
}

// Most values plainly fit, which the table settles; a value near the edge, or
// one too wide, costs one exact measure.
bool TEdit::Fits(const QString& text, const QFont& font) const
{
    const qreal bound = FieldFontAdvances::Of(font).Sum(text);
    if (bound >= 0 && bound + KerningAllowance <= textRoom_)
        return true;
    return QFontMetrics(font).horizontalAdvance(text) <= textRoom_;
}

} // namespace platform
