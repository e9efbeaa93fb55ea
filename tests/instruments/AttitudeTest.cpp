// The artificial horizon, call by call on the recorder and pixel by pixel on a
// 105 x 105 picture as the console shows it.
#include "Attitude.h"
#include "CanvasRaster.h"
#include "CanvasRecorder.h"
#include "PictureProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace platform;
using namespace instruments;

namespace {

constexpr int Side = 105;

std::vector<TCanvasCall> Record(double roll, double pitch)
{
    TCanvasRecorder canvas(Side, Side);
    DrawAttitude(roll, pitch, canvas);
    return canvas.Calls();
}

std::vector<TCanvasCall> CallsOf(const std::vector<TCanvasCall>& calls, TCanvasOp op)
{
    std::vector<TCanvasCall> found;
    for (const auto& call : calls)
        if (call.op == op)
            found.push_back(call);
    return found;
}

} // namespace

TEST(AttitudeCalls, LevelFlightDrawsEveryPrimitiveAtItsPixel)
{
    // The right ends of the short rungs land exactly on 70.0; either pixel is fine.
    const char* expected[] = {
        "Rectangle(0, 0, 105, 105)",
        "Chord(0, 0, 105, 105, 0, 52, 105, 52)",
        "Chord(0, 0, 105, 105, 104, 52, 0, 52)",
        "MoveTo(26, 78)", "LineTo(78, 78)", "MoveTo(26, 26)", "LineTo(78, 26)",
        "MoveTo(26, 89)", "LineTo(78, 89)", "MoveTo(26, 15)", "LineTo(78, 15)",
        "MoveTo(35, 61)", "LineTo(70|69, 61)", "MoveTo(35, 43)", "LineTo(70|69, 43)",
        "MoveTo(35, 70)", "LineTo(70|69, 70)", "MoveTo(35, 34)", "LineTo(70|69, 34)",
        "MoveTo(8, 52)", "LineTo(39, 52)", "MoveTo(65, 52)", "LineTo(96, 52)",
        "Ellipse(46, 46, 58, 58)",
    };
    const auto calls = Record(0, 0);
    ASSERT_EQ(calls.size(), std::size(expected)) << Listing(calls);
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_TRUE(CallMatches(calls[i], expected[i]))
            << "call " << i << ": " << calls[i].ToString() << ", expected " << expected[i];
}

TEST(AttitudeCalls, EachPartIsDrawnWithItsPenAndBrush)
{
    const auto calls = Record(0, 0);
    ASSERT_EQ(calls.size(), 24u);
    const TCanvasCall& background = calls[0];
    EXPECT_EQ(background.brush, [] { TBrush b; b.SetColor(0xC0C0C0); return b; }());
    EXPECT_EQ(background.pen, TPen{}); // whatever a fresh canvas holds

    for (int i : {1, 2}) {
        EXPECT_EQ(calls[i].pen.Color(), clBlack);
        EXPECT_EQ(calls[i].pen.Width(), 2);
        EXPECT_EQ(calls[i].brush.Style(), TBrushStyle::bsSolid);
    }
    EXPECT_EQ(calls[1].brush.Color(), AttitudeGround);
    EXPECT_EQ(calls[2].brush.Color(), AttitudeSky);

    for (int i = 3; i < 19; ++i) {
        EXPECT_EQ(calls[i].pen.Color(), clWhite) << i;
        EXPECT_EQ(calls[i].pen.Width(), 2) << i;
        EXPECT_EQ(calls[i].pen.Style(), TPenStyle::psSolid) << i;
    }
    for (int i = 19; i < 24; ++i) {
        EXPECT_EQ(calls[i].pen.Color(), AttitudeAircraft) << i;
        EXPECT_EQ(calls[i].pen.Width(), 6) << i;
    }
    EXPECT_EQ(calls[23].brush.Style(), TBrushStyle::bsClear); // the ring is not filled
}

TEST(AttitudeCalls, LeavesABlackWidePenAndAClearBrushWhichTheNextBackgroundUses)
{
    TCanvasRecorder canvas(Side, Side);
    DrawAttitude(0.2, -0.1, canvas);
    EXPECT_EQ(canvas.Pen().Color(), clBlack);
    EXPECT_EQ(canvas.Pen().Width(), 2);
    EXPECT_EQ(canvas.Brush().Style(), TBrushStyle::bsClear);

    canvas.Clear();
    DrawAttitude(0, 0, canvas);
    EXPECT_EQ(canvas.Calls().front().pen.Width(), 2);
    EXPECT_EQ(canvas.Calls().front().brush.Style(), TBrushStyle::bsSolid);
}

namespace {

struct HorizonCase {
    const char* name;
    double roll;
    double pitch;
    const char* ground; // the ground chord as the recorder shows it
};

void PrintTo(const HorizonCase& c, std::ostream* os) { *os << c.name; }

class HorizonChord : public ::testing::TestWithParam<HorizonCase> {};

} // namespace

TEST_P(HorizonChord, GroundChordEndsWhereTheHorizonMeetsTheRim)
{
    const auto calls = Record(GetParam().roll, GetParam().pitch);
    const auto chords = CallsOf(calls, TCanvasOp::Chord);
    ASSERT_EQ(chords.size(), 2u);
    EXPECT_TRUE(CallMatches(chords[0], GetParam().ground)) << chords[0].ToString();

    // The sky is cut along the same line, traversed the other way.
    const auto& g = chords[0].args;
    const auto& s = chords[1].args;
    EXPECT_NEAR(s[4], g[6], 1);
    EXPECT_NEAR(s[5], g[7], 1);
    EXPECT_NEAR(s[6], g[4], 1);
    EXPECT_NEAR(s[7], g[5], 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, HorizonChord,
    ::testing::Values(
        HorizonCase{"Level", 0, 0, "Chord(0, 0, 105, 105, 0, 52, 105, 52)"},
        HorizonCase{"BankRightRaisesTheRightEnd", 0.3, 0, "Chord(0, 0, 105, 105, 2, 68, 102, 36)"},
        HorizonCase{"NoseUpLowersTheLine", 0, 0.3, "Chord(0, 0, 105, 105, 2, 68, 102, 68)"},
        HorizonCase{"NoseDownRaisesTheLine", 0, -0.3, "Chord(0, 0, 105, 105, 2, 36, 102, 36)"},
        HorizonCase{"InvertedSwapsTheEnds", 0, std::numbers::pi - 0.3,
                    "Chord(0, 0, 105, 105, 102, 68, 2, 68)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttitudeCalls, LadderTiltsWithRollButNeitherItNorTheSymbolMovesWithPitch)
{
    const auto level = Record(0, 0);
    const auto nosedUp = Record(0, 0.3);
    const auto banked = Record(0.3, 0);
    for (std::size_t i = 3; i < level.size(); ++i)
        EXPECT_EQ(nosedUp[i].ToString(), level[i].ToString()) << i;
    for (std::size_t i = 19; i < level.size(); ++i)
        EXPECT_EQ(banked[i].ToString(), level[i].ToString()) << i;

    // Banked right, every rung's right end is higher than its left end.
    for (std::size_t i = 3; i < 19; i += 2) {
        ASSERT_EQ(banked[i].op, TCanvasOp::MoveTo);
        EXPECT_LT(banked[i + 1].args[1], banked[i].args[1]) << banked[i].ToString();
        EXPECT_GT(banked[i + 1].args[0], banked[i].args[0]);
    }
}

TEST(AttitudeCalls, DialAndSymbolScaleWithTheWidthButTheRingDoesNot)
{
    TCanvasRecorder canvas(211, 150);
    DrawAttitude(0, 0, canvas);
    const auto& calls = canvas.Calls();
    EXPECT_EQ(calls[0].ToString(), "Rectangle(0, 0, 211, 150)");
    EXPECT_EQ(calls[1].ToString(), "Chord(0, 0, 211, 150, 0, 105, 211, 105)");
    EXPECT_EQ(calls.back().ToString(), "Ellipse(99, 99, 111, 111)");
}

namespace {

struct PictureCase {
    const char* name;
    double roll;
    double pitch;
    QPoint sky;
    QPoint ground;
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

class AttitudePicture : public ::testing::TestWithParam<PictureCase> {
protected:
    QImage picture = WhitePicture(Side, Side);
    TRasterCanvas canvas{picture};
};

} // namespace

TEST_P(AttitudePicture, ShowsSkyAndGroundOnTheirSidesOfTheHorizon)
{
    // Drawn twice: the second picture must not depend on the first.
    DrawAttitude(1.0, 2.0, canvas);
    DrawAttitude(GetParam().roll, GetParam().pitch, canvas);
    const PictureCase& c = GetParam();
    if (c.sky.x() >= 0) {
        EXPECT_EQ(PixelAt(picture, c.sky.x(), c.sky.y()), AttitudeSky);
    } else {
        EXPECT_EQ(CountColour(picture, QRect(0, 0, Side, Side), AttitudeSky), 0);
    }
    if (c.ground.x() >= 0) {
        EXPECT_EQ(PixelAt(picture, c.ground.x(), c.ground.y()), AttitudeGround);
    } else {
        EXPECT_EQ(CountColour(picture, QRect(0, 0, Side, Side), AttitudeGround), 0);
    }
    EXPECT_EQ(PixelAt(picture, 3, 3), AttitudeBackground);
    EXPECT_EQ(PixelAt(picture, 101, 101), AttitudeBackground);
    EXPECT_EQ(PixelAt(picture, 20, 52), AttitudeAircraft);
    EXPECT_EQ(PixelAt(picture, 85, 52), AttitudeAircraft);
}

INSTANTIATE_TEST_SUITE_P(Cases, AttitudePicture,
    ::testing::Values(
        PictureCase{"Level", 0, 0, {15, 40}, {15, 65}},
        PictureCase{"BankedRight", 0.3, 0, {90, 34}, {90, 47}},
        PictureCase{"BankedRightLeftSide", 0.3, 0, {15, 57}, {15, 72}},
        PictureCase{"NoseUp", 0, 0.3, {15, 62}, {15, 75}},
        PictureCase{"NoseDown", 0, -0.3, {15, 31}, {15, 43}},
        PictureCase{"Inverted", 0, std::numbers::pi - 0.3, {15, 75}, {15, 62}},
        PictureCase{"StraightUpIsAllSky", 0, std::numbers::pi / 2, {52, 95}, {-1, -1}},
        PictureCase{"StraightDownIsAllGround", 0, -std::numbers::pi / 2, {-1, -1}, {52, 10}},
        PictureCase{"StraightDownFromTheConsolesDegrees", 0, -90 * 0.017452778f, {-1, -1}, {52, 10}},
        PictureCase{"StraightUpFromTheConsolesDegrees", 0, 90 * 0.017452778f, {52, 95}, {-1, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttitudePicture, HorizonAndRimAreBlackAndTheLadderWhite)
{
    QImage picture = WhitePicture(Side, Side);
    TRasterCanvas canvas(picture);
    DrawAttitude(0, 0.3, canvas); // horizon at y = 68, clear of the symbol
    EXPECT_TRUE(ColourNear(picture, 15, 68, clBlack));
    EXPECT_TRUE(ColourNear(picture, 52, 0, clBlack));
    EXPECT_TRUE(ColourNear(picture, 0, 52, clBlack));
    EXPECT_TRUE(ColourNear(picture, 40, 78, clWhite));
    EXPECT_TRUE(ColourNear(picture, 40, 15, clWhite));
}
