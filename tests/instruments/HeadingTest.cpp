// The compass, call by call on the recorder and at telling pixels of a 105 x 105
// picture.
#include "CanvasRaster.h"
#include "CanvasRecorder.h"
#include "Heading.h"
#include "PictureProbe.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;
using namespace instruments;

namespace {

constexpr int Side = 105;

std::vector<TCanvasCall> Record(double heading)
{
    TCanvasRecorder canvas(Side, Side);
    DrawHeading(heading, canvas);
    return canvas.Calls();
}

// The dial's primitives without the tick marks, whose look is our own.
std::vector<TCanvasCall> WithoutTicks(const std::vector<TCanvasCall>& calls)
{
    std::vector<TCanvasCall> kept(calls.begin(), calls.begin() + 3);
    kept.insert(kept.end(), calls.begin() + 3 + 24, calls.end());
    return kept;
}

} // namespace

TEST(HeadingCalls, NorthDrawsEveryPrimitiveAtItsPixel)
{
    // N's top is exactly 13.0; either pixel is fine.
    const char* expected[] = {
        "Rectangle(0, 0, 105, 105)",   "Ellipse(0, 0, 105, 105)", "Ellipse(5, 5, 99, 99)",
        "TextOut(49, 13|12, \"N\")",   "TextOut(85, 49, \"E\")",  "TextOut(49, 85, \"S\")",
        "TextOut(13, 49, \"W\")",      "MoveTo(52, 52)",          "LineTo(52, 5)",
        "Rectangle(41, 41, 62, 57)",   "TextOut(46, 46, \"0\")",
    };
    const auto all = Record(0);
    ASSERT_EQ(all.size(), std::size(expected) + 24) << Listing(all);
    const auto calls = WithoutTicks(all);
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_TRUE(CallMatches(calls[i], expected[i]))
            << "call " << i << ": " << calls[i].ToString() << ", expected " << expected[i];
}

TEST(HeadingCalls, TicksShowOnTheFaceBetweenItAndTheLetters)
{
    const auto calls = Record(0);
    for (int i = 3; i < 27; ++i) {
        const TCanvasCall& call = calls[i];
        EXPECT_EQ(call.op, i % 2 ? TCanvasOp::MoveTo : TCanvasOp::LineTo) << call.ToString();
        EXPECT_NE(call.pen.Color(), HeadingFace) << "a tick on the black face must not be black";
        // On the face: between the read-out and the face's rim (radius 47).
        const double radius = std::hypot(call.args[0] - 52, call.args[1] - 52);
        EXPECT_GT(radius, 35) << call.ToString();
        EXPECT_LT(radius, 48.0) << call.ToString();
    }
}

TEST(HeadingCalls, EachPartIsDrawnWithItsPenBrushAndFont)
{
    const auto calls = WithoutTicks(Record(0));
    EXPECT_EQ(calls[0].pen, TPen{}); // the first call's pen is the fresh canvas's
    EXPECT_EQ(calls[0].brush.Color(), HeadingBackground);
    EXPECT_EQ(calls[1].pen.Color(), clBlack);
    EXPECT_EQ(calls[1].pen.Width(), 2);
    EXPECT_EQ(calls[1].brush.Color(), HeadingBackground);
    EXPECT_EQ(calls[2].brush.Color(), HeadingFace);
    for (int i = 3; i < 7; ++i) {
        EXPECT_EQ(calls[i].font.Color(), HeadingLetters);
        EXPECT_EQ(calls[i].font.Size(), 12);
        EXPECT_EQ(calls[i].brush.Color(), HeadingFace);
        EXPECT_EQ(calls[i].brush.Style(), TBrushStyle::bsSolid);
    }
    EXPECT_EQ(calls[8].pen.Color(), HeadingNeedle);
    EXPECT_EQ(calls[8].pen.Width(), 2);
    EXPECT_EQ(calls[9].pen.Color(), HeadingReadout);
    EXPECT_EQ(calls[9].pen.Width(), 2);
    EXPECT_EQ(calls[9].brush.Color(), HeadingFace);
    EXPECT_EQ(calls[10].font.Color(), HeadingReadout);
    EXPECT_EQ(calls[10].font.Height(), 12);
}

TEST(HeadingCalls, LeavesAWhiteWidePenABlackBrushAndTheReadoutFont)
{
    TCanvasRecorder canvas(Side, Side);
    DrawHeading(2.0, canvas);
    EXPECT_EQ(canvas.Pen().Color(), clWhite);
    EXPECT_EQ(canvas.Pen().Width(), 2);
    EXPECT_EQ(canvas.Brush().Color(), clBlack);
    EXPECT_EQ(canvas.Brush().Style(), TBrushStyle::bsSolid);
    EXPECT_EQ(canvas.Font().Color(), clWhite);
    EXPECT_EQ(canvas.Font().Height(), 12);

    canvas.Clear();
    DrawHeading(0, canvas);
    EXPECT_EQ(canvas.Calls().front().pen.Color(), clWhite);
    EXPECT_EQ(canvas.Calls().front().pen.Width(), 2);
}

namespace {

struct NeedleCase {
    const char* name;
    double heading;
    const char* needleEnd;
    const char* digits;
};

void PrintTo(const NeedleCase& c, std::ostream* os) { *os << c.name; }

class NeedleAndReadout : public ::testing::TestWithParam<NeedleCase> {};

} // namespace

TEST_P(NeedleAndReadout, PointsAtTheHeadingAndShowsItsWholeDegrees)
{
    const auto calls = WithoutTicks(Record(GetParam().heading));
    ASSERT_EQ(calls.size(), 11u);
    EXPECT_EQ(calls[8].ToString(), GetParam().needleEnd);
    EXPECT_EQ(calls[10].ToString(), std::string("TextOut(46, 46, \"") + GetParam().digits + "\")");
    // The letters never move.
    const auto north = WithoutTicks(Record(0));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(calls[i].ToString(), north[i].ToString());
}

INSTANTIATE_TEST_SUITE_P(Cases, NeedleAndReadout,
    ::testing::Values(NeedleCase{"North", 0.0, "LineTo(52, 5)", "0"},
                      NeedleCase{"OneRadian", 1.0, "LineTo(91, 26)", "57"},
                      NeedleCase{"NegativeWrapsOnce", -0.5, "LineTo(29, 10)", "332"},
                      NeedleCase{"NearlySouth", 3.0, "LineTo(58, 98)", "171"},
                      NeedleCase{"PastAFullTurn", 6.3, "LineTo(52, 5)", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeadingReadout, CorrectsIntoOneTurnOnceOnly)
{
    EXPECT_EQ(HeadingReadoutDegrees(6.2831), 0);        // 360.02 truncates to 360
    EXPECT_EQ(HeadingReadoutDegrees(6.28), 359);        // 359.84
    EXPECT_EQ(HeadingReadoutDegrees(-0.01), 0);         // -0.573 truncates toward zero
    EXPECT_EQ(HeadingReadoutDegrees(-0.02), 359);       // -1.146 truncates to -1
    EXPECT_EQ(HeadingReadoutDegrees(12.6), 361);        // 721.98: one correction only
    EXPECT_EQ(HeadingReadoutDegrees(-12.6), -361);      // likewise below zero
    EXPECT_EQ(HeadingReadoutDegrees(std::nan("")), 0);  // never undefined behaviour
}

TEST(HeadingPicture, ShowsFaceLettersNeedleAndReadout)
{
    QImage picture = WhitePicture(Side, Side);
    TRasterCanvas canvas(picture);
    DrawHeading(3.0, canvas); // a different picture first: nothing may remain of it
    DrawHeading(1.0, canvas);

    EXPECT_EQ(PixelAt(picture, 1, 1), HeadingBackground);
    EXPECT_EQ(PixelAt(picture, 52, 3), HeadingBackground); // the disc between rim and face
    EXPECT_TRUE(ColourNear(picture, 52, 0, clBlack));      // its rim
    EXPECT_EQ(PixelAt(picture, 30, 70), HeadingFace);
    // Needle toward (91, 26), beyond the read-out box; none left toward south.
    EXPECT_TRUE(ColourNear(picture, 83, 31, HeadingNeedle));
    EXPECT_TRUE(ColourNear(picture, 70, 40, HeadingNeedle));
    EXPECT_EQ(CountColour(picture, QRect(50, 60, 15, 38), HeadingNeedle), 0);
    // Read-out: a white frame at x = 41, white digits inside it.
    EXPECT_TRUE(ColourNear(picture, 41, 48, HeadingReadout));
    EXPECT_GT(CountColour(picture, QRect(46, 47, 14, 8), HeadingReadout), 5);
    // Red letters at their places.
    EXPECT_GT(CountColour(picture, QRect(49, 13, 14, 16), HeadingLetters), 10); // N
    EXPECT_GT(CountColour(picture, QRect(85, 49, 14, 16), HeadingLetters), 10); // E
    EXPECT_GT(CountColour(picture, QRect(49, 85, 14, 16), HeadingLetters), 10); // S
    EXPECT_GT(CountColour(picture, QRect(13, 49, 16, 16), HeadingLetters), 10); // W
}
