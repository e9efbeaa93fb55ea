#include "AirframeTiles.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>
#include <vector>

namespace instruments {

namespace {

const QColor Orange(0xF5, 0x8A, 0x1F);
const QColor Blue(0x2E, 0x6B, 0xD6);
const QColor ArrowGrey(0x40, 0x40, 0x40);
const QColor TileBackground(0xFF, 0xFF, 0xFF);

enum class Spin { Clockwise, CounterClockwise };

struct Motor {
    int number;
    QPointF centre; // relative to the tile's centre
    Spin spin;
};

struct Airframe {
    const char* name;
    std::vector<QPointF> armEnds; // relative to the tile's centre
    std::vector<Motor> motors;    // in drawing order: lower motors first
    bool elongatedHub = false;
};

// A point at `radius` from the centre, `degrees` clockwise from the front.
QPointF Polar(double degrees, double radius)
{
    const double a = degrees * std::numbers::pi / 180.0;
    return {radius * std::sin(a), -radius * std::cos(a)};
}

Spin SpinOf(bool orange) { return orange ? Spin::Clockwise : Spin::CounterClockwise; }

// One motor at the end of each arm; `number[i]` sits at `degrees[i]`.
Airframe SingleMotorFrame(const char* name, std::vector<double> degrees, std::vector<int> numbers,
                          bool (*orange)(int), double radius)
{
    Airframe frame{name, {}, {}};
    for (std::size_t i = 0; i < degrees.size(); ++i) {
        const QPointF end = Polar(degrees[i], radius);
        frame.armEnds.push_back(end);
        frame.motors.push_back({numbers[i], end, SpinOf(orange(numbers[i]))});
    }
    return frame;
}

// Two motors on each arm, the upper one drawn over the lower one, offset so that
// both numbers stay readable.
Airframe CoaxialFrame(const char* name, std::vector<double> degrees, std::vector<int> upper,
                      std::vector<int> lower, double radius)
{
    Airframe frame{name, {}, {}};
    const QPointF offset(7, 7);
    for (std::size_t i = 0; i < degrees.size(); ++i) {
        const QPointF end = Polar(degrees[i], radius);
        frame.armEnds.push_back(end);
        frame.motors.push_back({lower[i], end + offset, Spin::CounterClockwise});
    }
    for (std::size_t i = 0; i < degrees.size(); ++i)
        frame.motors.push_back({upper[i], frame.armEnds[i] - offset, Spin::Clockwise});
    return frame;
}

bool DiagonalPairOrange(int n) { return n == 1 || n == 2; }
bool OddOrange(int n) { return n % 2 == 1; }

std::vector<Airframe> Airframes()
{
    Airframe qav = SingleMotorFrame("QAV250", {}, {}, DiagonalPairOrange, 0);
    const QPointF qavMotors[] = {{-40, -40}, {40, 40}, {40, -40}, {-40, 40}}; // M1, M2, M3, M4
    for (int i = 0; i < 4; ++i) {
        qav.armEnds.push_back(qavMotors[i]);
        qav.motors.push_back({i + 1, qavMotors[i], SpinOf(DiagonalPairOrange(i + 1))});
    }
    qav.elongatedHub = true;

    return {
        SingleMotorFrame("+4", {0, 180, 90, 270}, {1, 2, 3, 4}, DiagonalPairOrange, 46),
        SingleMotorFrame("X4", {315, 135, 45, 225}, {1, 2, 3, 4}, DiagonalPairOrange, 48),
        SingleMotorFrame("+6", {0, 60, 120, 180, 240, 300}, {1, 2, 3, 4, 5, 6}, OddOrange, 48),
        SingleMotorFrame("X6", {330, 30, 90, 150, 210, 270}, {1, 2, 3, 4, 5, 6}, OddOrange, 48),
        CoaxialFrame("Y6", {300, 60, 180}, {1, 2, 3}, {4, 5, 6}, 40),
        SingleMotorFrame("Fh8", {337.5, 22.5, 67.5, 112.5, 157.5, 202.5, 247.5, 292.5},
                         {1, 2, 3, 4, 5, 6, 7, 8}, OddOrange, 50),
        CoaxialFrame("X8", {315, 45, 135, 225}, {1, 3, 2, 4}, {5, 7, 6, 8}, 40),
        qav,
    };
}

void DrawSpinArrow(QPainter& p, QPointF centre, double radius, Spin spin)
{
    // An open arc of 240 degrees around the disc, with its head where the
    // rotation leads.
    const double startDegrees = 150; // counter-clockwise from 3 o'clock, as Qt counts
    const double spanDegrees = spin == Spin::Clockwise ? -240 : 240;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setPen(QPen(ArrowGrey, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, int(startDegrees * 16), int(spanDegrees * 16));

    const double end = (startDegrees + spanDegrees) * std::numbers::pi / 180.0;
    const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
    // Direction of travel at the tip (screen coordinates, y down).
    const QPointF along = spin == Spin::Clockwise ? QPointF(std::sin(end), std::cos(end))
                                                  : QPointF(-std::sin(end), -std::cos(end));
    const QPointF across(-along.y(), along.x());
    constexpr double headLength = 5, headHalfWidth = 3;
    QPolygonF head;
    head << tip + along * 1.5 << tip - along * headLength + across * headHalfWidth
         << tip - along * headLength - across * headHalfWidth;
    p.setPen(Qt::NoPen);
    p.setBrush(ArrowGrey);
    p.drawPolygon(head);
}

void DrawMotor(QPainter& p, QPointF centre, const Motor& motor, double discRadius)
{
    DrawSpinArrow(p, centre, discRadius + 4, motor.spin);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(motor.spin == Spin::Clockwise ? Orange : Blue);
    p.drawEllipse(centre, discRadius, discRadius);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(int(discRadius * 1.2));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    const QRectF box(centre.x() - discRadius, centre.y() - discRadius, 2 * discRadius, 2 * discRadius);
    p.drawText(box, Qt::AlignCenter, QString::number(motor.number));
}

void DrawHub(QPainter& p, QPointF centre, bool elongated)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QSizeF hub = elongated ? QSizeF(26, 72) : QSizeF(28, 28);
    p.drawEllipse(centre, hub.width() / 2, hub.height() / 2);

    // A white arrow pointing to the front.
    const double h = elongated ? 24 : 10;
    QPolygonF arrow;
    arrow << centre + QPointF(0, -h - 2) << centre + QPointF(7, -h + 6) << centre + QPointF(2.5, -h + 6)
          << centre + QPointF(2.5, h) << centre + QPointF(-2.5, h) << centre + QPointF(-2.5, -h + 6)
          << centre + QPointF(-7, -h + 6);
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
}

void DrawTile(QPainter& p, const Airframe& frame, int index)
{
    const QPointF origin(index * AirframeTileSize, 0);
    const QPointF centre = origin + QPointF(AirframeTileSize / 2.0, AirframeTileSize / 2.0);
    p.fillRect(QRectF(origin, QSizeF(AirframeTileSize, AirframeTileSize)), TileBackground);

    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& end : frame.armEnds)
        p.drawLine(centre, centre + end);
    DrawHub(p, centre, frame.elongatedHub);

    const double discRadius = frame.motors.size() > 4 ? 10 : 12;
    for (const Motor& motor : frame.motors)
        DrawMotor(p, centre + motor.centre, motor, discRadius);
}

} // namespace

QImage DrawAirframeStrip()
{
    QImage strip(AirframeTileSize * AirframeTileCount, AirframeTileSize, QImage::Format_RGB32);
    strip.fill(TileBackground);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const std::vector<Airframe> frames = Airframes();
    for (int i = 0; i < AirframeTileCount; ++i)
        DrawTile(painter, frames[i], i);
    return strip;
}

platform::TRect AirframeTileRect(int n)
{
    return {AirframeTileSize * n, 0, AirframeTileSize * n + AirframeTileSize, AirframeTileSize};
}

} // namespace instruments
