// The canvas: the state it keeps between calls, and the pixels its raster back end
// paints, checked at the edges where the classic rules are easy to get wrong.
#include "CanvasRaster.h"
#include "CanvasRecorder.h"
#include "PictureProbe.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr TColor Orange = 0x3F85CD; // red 205, green 133, blue 63

class RasterCanvas : public ::testing::Test {
protected:
    QImage picture = WhitePicture(120, 120);
    TRasterCanvas canvas{picture};
};

} // namespace

TEST(CanvasState, FreshCanvasHasBlackThinSolidPenAndWhiteSolidBrush)
{
    TCanvasRecorder canvas(10, 10);
    EXPECT_EQ(canvas.Pen().Color(), clBlack);
    EXPECT_EQ(canvas.Pen().Width(), 1);
    EXPECT_EQ(canvas.Pen().Style(), TPenStyle::psSolid);
    EXPECT_EQ(canvas.Brush().Color(), clWhite);
    EXPECT_EQ(canvas.Brush().Style(), TBrushStyle::bsSolid);
}

TEST(CanvasState, ChoosingABrushColourMakesAClearBrushSolidAgain)
{
    TBrush brush;
    brush.SetStyle(TBrushStyle::bsClear);
    brush.SetColor(Orange);
    EXPECT_EQ(brush.Style(), TBrushStyle::bsSolid);
    EXPECT_EQ(brush.Color(), Orange);
}

TEST(CanvasState, FontSizeInPointsAndHeightInPixelsFollowEachOther)
{
    TFont font;
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16); // character height at 96 pixels per inch
    font.SetHeight(12);
    EXPECT_EQ(font.Size(), 9);
    EXPECT_EQ(font.Height(), 12);
}

TEST(CanvasState, RecorderKeepsEachCallWithTheStateInForceThen)
{
    TCanvasRecorder canvas(105, 105);
    canvas.Brush().SetColor(Orange);
    canvas.Pen().SetWidth(3);
    canvas.Chord(0, 0, 105, 105, 1, 2, 3, 4);
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.MoveTo(5, 6);
    canvas.LineTo(7, 8);
    canvas.Font().SetHeight(12);
    canvas.TextOut(9, 10, "57");

    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.size(), 4u) << Listing(calls);
    EXPECT_EQ(calls[0].ToString(), "Chord(0, 0, 105, 105, 1, 2, 3, 4)");
    EXPECT_EQ(calls[0].pen.Width(), 3);
    EXPECT_EQ(calls[0].pen.Color(), clBlack);
    EXPECT_EQ(calls[0].brush.Color(), Orange);
    EXPECT_EQ(calls[0].brush.Style(), TBrushStyle::bsSolid);
    EXPECT_EQ(calls[2].ToString(), "LineTo(7, 8)");
    EXPECT_EQ(calls[2].pen.Color(), clRed);
    EXPECT_EQ(calls[2].brush.Style(), TBrushStyle::bsClear);
    EXPECT_EQ(calls[3].ToString(), "TextOut(9, 10, \"57\")");
    EXPECT_EQ(calls[3].font.Height(), 12);
    EXPECT_EQ(canvas.PenPos(), (TPoint{7, 8}));
}

// 0x00BBGGRR: the low byte is red.
TEST_F(RasterCanvas, ColoursAreReadBlueGreenRedFromHighToLowByte)
{
    const TColor colours[] = {clRed, clBlue, clLime, Orange, 0xF0CAA6};
    int x = 0;
    for (TColor colour : colours) {
        canvas.Pen().SetColor(colour);
        canvas.Brush().SetColor(colour);
        canvas.Rectangle(x, 0, x + 10, 10);
        EXPECT_EQ(PixelAt(picture, x + 5, 5), colour);
        x += 10;
    }
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(15, 5), QColor(0, 0, 255));
    EXPECT_EQ(picture.pixelColor(35, 5), QColor(205, 133, 63));
}

TEST_F(RasterCanvas, RectangleCoversLeftTopEdgesButNotRightBottom)
{
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.Rectangle(10, 20, 30, 35);
    EXPECT_EQ(PixelAt(picture, 10, 20), clRed);
    EXPECT_EQ(PixelAt(picture, 29, 34), clRed);
    EXPECT_EQ(PixelAt(picture, 20, 27), clBlue);
    EXPECT_EQ(PixelAt(picture, 30, 27), clWhite);
    EXPECT_EQ(PixelAt(picture, 20, 35), clWhite);
    EXPECT_EQ(PixelAt(picture, 9, 27), clWhite);
    EXPECT_EQ(PixelAt(picture, 20, 19), clWhite);
}

TEST_F(RasterCanvas, EllipseStaysInsideItsRectangleAndFillsOnlyWithASolidBrush)
{
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.Ellipse(10, 10, 41, 41);
    int left = 120, right = -1, top = 120, bottom = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            if (PixelAt(picture, x, y) != clWhite) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    EXPECT_EQ(left, 10);
    EXPECT_EQ(right, 40);
    EXPECT_EQ(top, 10);
    EXPECT_EQ(bottom, 40);
    EXPECT_EQ(PixelAt(picture, 25, 25), clBlue);
    EXPECT_EQ(PixelAt(picture, 10, 25), clRed);

    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Ellipse(60, 60, 100, 100);
    EXPECT_EQ(PixelAt(picture, 80, 80), clWhite);
    EXPECT_TRUE(ColourNear(picture, 60, 80, clRed));
}

TEST_F(RasterCanvas, ThinLineLeavesOutItsEndPointAndMovesThePen)
{
    canvas.Pen().SetColor(clRed);
    canvas.MoveTo(5, 5);
    canvas.LineTo(15, 5);
    EXPECT_EQ(PixelAt(picture, 5, 5), clRed);
    EXPECT_EQ(PixelAt(picture, 14, 5), clRed);
    EXPECT_EQ(PixelAt(picture, 15, 5), clWhite);
    EXPECT_EQ(canvas.PenPos(), (TPoint{15, 5}));

    canvas.LineTo(15, 25); // continues from where the last line ended
    EXPECT_EQ(PixelAt(picture, 15, 5), clRed);
    EXPECT_EQ(PixelAt(picture, 15, 24), clRed);
    EXPECT_EQ(PixelAt(picture, 15, 25), clWhite);
}

TEST_F(RasterCanvas, WideLinesHaveTheirWidth)
{
    canvas.Pen().SetColor(clLime);
    canvas.Pen().SetWidth(6);
    canvas.MoveTo(20, 50);
    canvas.LineTo(60, 50);
    EXPECT_EQ(CountColour(picture, QRect(40, 40, 1, 20), clLime), 6);
}

namespace {

struct ChordCase {
    const char* name;
    int x3, y3, x4, y4;
    QPoint filled;
    QPoint empty; // (-1, -1) when the whole ellipse is painted
};

void PrintTo(const ChordCase& c, std::ostream* os) { *os << c.name; }

class ChordArc : public RasterCanvas, public ::testing::WithParamInterface<ChordCase> {};

} // namespace

// The arc runs counter-clockwise on screen from the first radial to the second.
TEST_P(ChordArc, FillsTheSideTheCounterClockwiseArcEncloses)
{
    const ChordCase& c = GetParam();
    canvas.Brush().SetColor(clBlue);
    canvas.Chord(0, 0, 101, 101, c.x3, c.y3, c.x4, c.y4);
    EXPECT_EQ(PixelAt(picture, c.filled.x(), c.filled.y()), clBlue);
    if (c.empty.x() >= 0) {
        EXPECT_EQ(PixelAt(picture, c.empty.x(), c.empty.y()), clWhite);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChordArc,
    ::testing::Values(ChordCase{"LeftToRightIsTheLowerHalf", 0, 50, 100, 50, {50, 80}, {50, 20}},
                      ChordCase{"RightToLeftIsTheUpperHalf", 100, 50, 0, 50, {50, 20}, {50, 80}},
                      ChordCase{"RightToTopIsTheSmallUpperRightCap", 100, 50, 50, 0, {80, 20}, {50, 60}},
                      ChordCase{"TopToRightIsAllButThatCap", 50, 0, 100, 50, {20, 80}, {82, 18}},
                      ChordCase{"RadialsFarOutsideTheEllipseCount", -500, 50, 500, 51, {50, 80}, {50, 20}},
                      ChordCase{"OnePointForBothIsTheWholeEllipse", 50, 100, 50, 100, {50, 20}, {-1, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RasterCanvas, TextStandsOnABoxOfTheBrushColourUnlessTheBrushIsClear)
{
    canvas.Brush().SetColor(clBlack);
    canvas.Font().SetColor(clWhite);
    canvas.Font().SetHeight(12);
    canvas.TextOut(10, 10, "88");
    EXPECT_EQ(PixelAt(picture, 10, 10), clBlack);
    EXPECT_GT(CountColour(picture, QRect(10, 10, 20, 12), clBlack), 20);

    canvas.Font().SetColor(clRed);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.TextOut(60, 10, "88");
    EXPECT_EQ(PixelAt(picture, 60, 10), clWhite);
    EXPECT_GT(CountColour(picture, QRect(60, 10, 20, 14), clRed), 10);
    EXPECT_EQ(CountColour(picture, QRect(60, 10, 20, 14), clBlack), 0);
}

TEST_F(RasterCanvas, TextOfAPositiveHeightFitsThatManyRows)
{
    canvas.Brush().SetColor(clBlack);
    canvas.Font().SetColor(clBlack);
    canvas.Font().SetHeight(12);
    canvas.TextOut(10, 10, "0123456789");
    EXPECT_EQ(PixelAt(picture, 10, 19), clBlack);
    EXPECT_EQ(PixelAt(picture, 10, 22), clWhite);
}

TEST_F(RasterCanvas, CopyRectCopiesOneTileOfAnotherPicture)
{
    // A strip of three 10-pixel tiles: red, blue, lime.
    QImage strip = WhitePicture(30, 10);
    TRasterCanvas stripCanvas(strip);
    const TColor tiles[] = {clRed, clBlue, clLime};
    for (int n = 0; n < 3; ++n) {
        stripCanvas.Brush().SetColor(tiles[n]);
        stripCanvas.Pen().SetColor(tiles[n]);
        stripCanvas.Rectangle(10 * n, 0, 10 * n + 10, 10);
    }
    canvas.CopyRect(TRect{0, 0, 10, 10}, stripCanvas, TRect{10, 0, 20, 10});
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 10, 10), clBlue), 100);
    EXPECT_EQ(PixelAt(picture, 10, 5), clWhite);

    // Onto itself, overlapping: the source is read before it is overwritten.
    canvas.CopyRect(TRect{5, 0, 15, 10}, canvas, TRect{0, 0, 10, 10});
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 15, 10), clBlue), 150);
}

TEST(RasterCanvasCopies, TheSameCopyAgainIsLeftOutUntilEitherPictureChanges)
{
    QImage tiles = WhitePicture(20, 10);
    TRasterCanvas tilesCanvas(tiles);
    tilesCanvas.Pen().SetStyle(TPenStyle::psClear);
    tilesCanvas.Brush().SetColor(clBlue);
    tilesCanvas.Rectangle(10, 0, 20, 10);
    QImage picture = WhitePicture(10, 10);
    int changes = 0;
    TRasterCanvas canvas(picture, [&] { ++changes; });
    auto copySecondTile = [&] { canvas.CopyRect(TRect{0, 0, 10, 10}, tilesCanvas, TRect{10, 0, 20, 10}); };

    copySecondTile();
    copySecondTile();
    EXPECT_EQ(changes, 1) << "the second, identical copy repainted";

    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(0, 0, 5, 5); // drawn over the copy
    copySecondTile();
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 10, 10), clBlue), 100) << "a copy over a changed picture was left out";

    tilesCanvas.Brush().SetColor(clLime);
    tilesCanvas.Rectangle(10, 0, 20, 10); // the source changes
    copySecondTile();
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 10, 10), clLime), 100) << "a copy of a changed source was left out";

    picture.fill(Qt::white); // painted on by other code than the canvas
    copySecondTile();
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 10, 10), clLime), 100);

    // Within one picture, the same copy moves the pixels on each time.
    canvas.CopyRect(TRect{0, 0, 5, 10}, canvas, TRect{0, 0, 5, 10});
    const int before = changes;
    canvas.CopyRect(TRect{0, 0, 5, 10}, canvas, TRect{0, 0, 5, 10});
    EXPECT_EQ(changes, before + 1);
}

TEST_F(RasterCanvas, CopyRectFromACanvasWithoutPictureChangesNothing)
{
    TCanvasRecorder recorder(10, 10);
    canvas.CopyRect(TRect{0, 0, 10, 10}, recorder, TRect{0, 0, 10, 10});
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 120, 120), clWhite), 120 * 120);
}
