#include "CanvasRaster.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform {
namespace {

QPen ToQPen(const TPen& pen)
{
    if (pen.Style() == TPenStyle::psClear)
        return QPen(Qt::NoPen);
    QPen result(ToQColor(pen.Color()));
    result.setWidth(pen.Width());
    switch (pen.Style()) {
    case TPenStyle::psDash: result.setStyle(Qt::DashLine); break;
    case TPenStyle::psDot: result.setStyle(Qt::DotLine); break;
    default: result.setStyle(Qt::SolidLine); break;
    }
    // A one-pixel line stops just short of its end point, so that a polyline drawn
    // with MoveTo/LineTo paints each joint once; wider pens are round-ended. At two
    // pixels a round end rasterises as a square one, which is three times cheaper.
    if (pen.Width() > 2) {
        result.setCapStyle(Qt::RoundCap);
        result.setJoinStyle(Qt::RoundJoin);
    } else if (pen.Width() == 2) {
        result.setCapStyle(Qt::SquareCap);
        result.setJoinStyle(Qt::RoundJoin);
    } else {
        result.setCapStyle(Qt::FlatCap);
        result.setJoinStyle(Qt::MiterJoin);
    }
    return result;
}

QBrush ToQBrush(const TBrush& brush)
{
    if (brush.Style() == TBrushStyle::bsClear)
        return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(brush.Color()));
}

// The pixels a bounding rectangle covers: left/top inside, right/bottom outside,
// whichever order the corners are given in.
QRect CoveredPixels(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                 QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

// In aliased painting a one-pixel outline of QRectF(x, y, w, h) covers columns x
// to x + w; this is the outline path that keeps the shape inside `pixels`.
QRectF OutlinePath(const QRect& pixels)
{
    return QRectF(pixels.left(), pixels.top(), pixels.width() - 1, pixels.height() - 1);
}

// The angle (degrees, counter-clockwise on screen) at which the radial through
// `point` meets the ellipse, in the ellipse's own parameter as QPainterPath
// expects it.
double ArcAngle(const QRectF& ellipse, QPointF point)
{
    const QPointF centre = ellipse.center();
    const double a = std::max(ellipse.width() / 2, 0.5);
    const double b = std::max(ellipse.height() / 2, 0.5);
    const double dx = point.x() - centre.x();
    const double dy = centre.y() - point.y(); // screen y grows downward
    return std::atan2(dy / b, dx / a) * 180.0 / std::numbers::pi;
}

// A solid outline one or two pixels wide around `pixels`, filled as four strips
// where that gives the very pixels the pen would (compared over every placement
// and size, in and partly outside the picture): a fill costs a fraction of a
// stroke, and each instrument draws a rectangle per frame. False where only the
// stroke is known to be right.
bool FillOutline(QPainter& painter, const QRect& pixels, const TPen& pen, const QRect& picture)
{
    const int width = pen.Width();
    if (pen.Style() != TPenStyle::psSolid || width > 2 || pixels.width() < 2 || pixels.height() < 2)
        return false;
    // The pen straddles the outline path, width / 2 pixels before it.
    const int before = width / 2;
    const int from = width - before;
    const QRect outer(QPoint(pixels.left() - before, pixels.top() - before),
                      QPoint(pixels.right() + from - 1, pixels.bottom() + from - 1));
    if (width == 1 && !picture.contains(outer))
        return false; // a clipped one-pixel stroke leaves out pixels of its own
    const QRect inner(QPoint(pixels.left() + from, pixels.top() + from),
                      QPoint(pixels.right() - before - 1, pixels.bottom() - before - 1));
    const QColor color = ToQColor(pen.Color());
    if (inner.isEmpty()) {
        painter.fillRect(outer, color);
        return true;
    }
    painter.fillRect(QRect(QPoint(outer.left(), outer.top()), QPoint(outer.right(), inner.top() - 1)), color);
    painter.fillRect(QRect(QPoint(outer.left(), inner.bottom() + 1), QPoint(outer.right(), outer.bottom())), color);
    painter.fillRect(QRect(QPoint(outer.left(), inner.top()), QPoint(inner.left() - 1, inner.bottom())), color);
    painter.fillRect(QRect(QPoint(inner.right() + 1, inner.top()), QPoint(outer.right(), inner.bottom())), color);
    return true;
}

class Painter : public QPainter {
public:
    Painter(QImage& picture, const TCanvas& canvas) : QPainter(&picture)
    {
        setRenderHint(QPainter::Antialiasing, false);
        setPen(ToQPen(canvas.Pen()));
        setBrush(ToQBrush(canvas.Brush()));
    }
};

} // namespace

TRasterCanvas::TRasterCanvas(QImage& picture, std::function<void()> changed)
    : picture_(picture), changed_(std::move(changed))
{
}

void TRasterCanvas::Changed()
{
    if (changed_)
        changed_();
}

void TRasterCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    const QRect pixels = CoveredPixels(x1, y1, x2, y2);
    if (pixels.isEmpty() || picture_.isNull())
        return;
    Painter painter(picture_, *this);
    // Filling the covered pixels exactly, then outlining, keeps the fill from
    // depending on how the pen's width straddles the edge.
    if (Brush().Style() != TBrushStyle::bsClear)
        painter.fillRect(pixels, ToQColor(Brush().Color()));
    if (!FillOutline(painter, pixels, Pen(), picture_.rect())) {
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(OutlinePath(pixels));
    }
    Changed();
}

void TRasterCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    const QRect pixels = CoveredPixels(x1, y1, x2, y2);
    if (pixels.isEmpty() || picture_.isNull())
        return;
    Painter painter(picture_, *this);
    const QRectF path = OutlinePath(pixels);
    const int width = Pen().Width();
    if (width >= 2 && Pen().Style() == TPenStyle::psSolid &&
        Brush().Style() == TBrushStyle::bsSolid) {
        // A filled ellipse with a wide outline: the outline's outer and inner
        // ellipses filled one over the other. Stroking a wide curved outline costs
        // several times more and gives the same pixels to within one.
        const int outside = width / 2;
        const int inside = width - outside;
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(Pen().Color()));
        painter.drawEllipse(path.adjusted(-outside, -outside, outside, outside));
        painter.setBrush(ToQColor(Brush().Color()));
        painter.drawEllipse(path.adjusted(inside, inside, -inside, -inside));
    } else {
        painter.drawEllipse(path);
    }
    Changed();
}

void TRasterCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const QRect pixels = CoveredPixels(x1, y1, x2, y2);
    if (pixels.isEmpty() || picture_.isNull())
        return;
    const QRectF ellipse = OutlinePath(pixels);
    const double start = ArcAngle(ellipse, QPointF(x3, y3));
    double sweep = std::fmod(ArcAngle(ellipse, QPointF(x4, y4)) - start, 360.0);
    if (sweep < 0)
        sweep += 360.0;
    // Both radials in one direction (in particular one and the same pixel): the
    // cut vanishes and the whole ellipse is the chord.
    if (sweep < 1e-9 || (x3 == x4 && y3 == y4))
        sweep = 360.0;

    QPainterPath path;
    path.arcMoveTo(ellipse, start);
    path.arcTo(ellipse, start, sweep);
    path.closeSubpath();
    Painter painter(picture_, *this);
    painter.drawPath(path);
    Changed();
}

void TRasterCanvas::LineTo(int x, int y)
{
    const TPoint from = PenPos();
    SetPenPos(TPoint{x, y});
    if (picture_.isNull())
        return;
    Painter painter(picture_, *this);
    painter.drawLine(from.X, from.Y, x, y);
    Changed();
}

const TRasterCanvas::FontEntry& TRasterCanvas::CurrentFont()
{
    const int height = Font().Height();
    auto found = fonts_.find(height);
    if (found != fonts_.end())
        return found->second;
    QFont font = QGuiApplication::font();
    // Exact colours and crisp digits at small sizes: no smoothing.
    font.setStyleStrategy(QFont::NoAntialias);
    if (height < 0) {
        font.setPixelSize(-height);
    } else {
        // A positive height is the whole line: the largest character size whose
        // line is no taller.
        int size = std::max(height, 1);
        font.setPixelSize(size);
        while (size > 1 && QFontMetrics(font).height() > height)
            font.setPixelSize(--size);
    }
    return fonts_.emplace(height, FontEntry{font, QFontMetrics(font)}).first->second;
}

void TRasterCanvas::TextOut(int x, int y, const std::string& text)
{
    if (picture_.isNull())
        return;
    const QString shown = QString::fromStdString(text);
    const FontEntry& entry = CurrentFont();
    const QFont& font = entry.font;
    const QFontMetrics& metrics = entry.metrics;
    Painter painter(picture_, *this);
    if (Brush().Style() != TBrushStyle::bsClear)
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(shown), metrics.height()),
                         ToQColor(Brush().Color()));
    painter.setFont(font);
    painter.setPen(ToQColor(Font().Color()));
    painter.drawText(x, y + metrics.ascent(), shown);
    Changed();
}

void TRasterCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    const QImage* from = source.Picture();
    if (!from || from->isNull() || picture_.isNull())
        return;
    const QRect target(dest.Left, dest.Top, dest.Width(), dest.Height());
    const QRect fromRect(sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height());
    // The airframe tile is copied again with every frame that names it; while
    // neither picture has changed, that copy would leave every pixel as it is.
    // (Any painting on a picture gives it a new cache key.) A copy within one
    // picture may move pixels again each time, and is always made.
    const bool withinThisPicture = from == &picture_;
    const LastCopy request{from->cacheKey(), fromRect, target, picture_.cacheKey()};
    if (!withinThisPicture && request == lastCopy_)
        return;
    // A copy first: the source may be this very picture.
    const QImage part = from->copy(fromRect);
    if (target.isEmpty() || part.isNull())
        return;
    {
        QPainter painter(&picture_);
        painter.drawImage(target, part);
    }
    lastCopy_ = withinThisPicture ? LastCopy{} : LastCopy{from->cacheKey(), fromRect, target, picture_.cacheKey()};
    Changed();
}

} // namespace platform
