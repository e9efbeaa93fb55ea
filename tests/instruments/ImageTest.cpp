// The picture control: found by name inside its parent, its picture the size of
// the control, a repaint whenever its canvas draws, and drawing that waits for
// the next paint or reader.
#include "Image.h"
#include "PaintCounter.h"
#include "PictureProbe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace platform;
using consoletest::PaintCounter;

namespace {

bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace

TEST(Image, SitsInItsParentByNameWithAWhitePictureOfItsSize)
{
    QWidget window;
    auto* image = new TImage(&window, QRect(0, 24, 105, 105));
    image->setObjectName("Image1");

    ASSERT_EQ(window.findChild<TImage*>("Image1"), image);
    EXPECT_EQ(image->geometry(), QRect(0, 24, 105, 105));
    TCanvas& canvas = image->Canvas();
    EXPECT_EQ(canvas.Width(), 105);
    EXPECT_EQ(canvas.Height(), 105);
    EXPECT_EQ(PixelAt(image->Picture(), 104, 104), clWhite);
}

// A 40-pixel picture control in a shown window that has painted it once.
class ShownImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(60, 60);
        window.show();
        ASSERT_TRUE(WaitFor([&] { return counter.count > 0; }));
    }

    QWidget window;
    TImage* image = new TImage(&window, QRect(0, 0, 40, 40));
    PaintCounter counter{image};
};

TEST_F(ShownImage, RepaintsWhenItsCanvasDraws)
{
    const int before = counter.count;
    image->Canvas().Brush().SetColor(clRed);
    image->Canvas().Rectangle(0, 0, 40, 40);
    EXPECT_TRUE(WaitFor([&] { return counter.count > before; }));
    EXPECT_EQ(PixelAt(image->grab().toImage(), 20, 20), clRed);
}

TEST(Image, ShowsAStoredPictureLargerThanItselfFromTheTopLeft)
{
    QWidget window;
    auto* strip = new TImage(&window, QRect(8, 24, 41, 41));
    QImage art = WhitePicture(274, 137);
    art.fill(QColor(0, 0, 255));
    strip->SetPicture(art);
    EXPECT_EQ(strip->Canvas().Width(), 274);
    EXPECT_EQ(strip->size(), QSize(41, 41));

    auto* tile = new TImage(&window, QRect(8, 24, 137, 137));
    tile->Canvas().CopyRect(TRect{0, 0, 137, 137}, strip->Canvas(), TRect{137, 0, 274, 137});
    EXPECT_EQ(PixelAt(tile->Picture(), 136, 136), clBlue);
}

namespace {

std::function<void(TCanvas&)> FillWith(TColor color, int* runs)
{
    return [color, runs](TCanvas& canvas) {
        ++*runs;
        canvas.Brush().SetColor(color);
        canvas.Pen().SetColor(color);
        canvas.Rectangle(0, 0, canvas.Width(), canvas.Height());
    };
}

} // namespace

TEST_F(ShownImage, RunsAWaitingDrawingOnceAtThePaintAndOnlyTheNewestOne)
{
    int runs = 0;
    image->DrawWhenShown(FillWith(clRed, &runs));
    image->DrawWhenShown(FillWith(clBlue, &runs));
    EXPECT_EQ(runs, 0) << "nothing is drawn before the paint";
    const int before = counter.count;
    ASSERT_TRUE(WaitFor([&] { return counter.count > before; }));
    EXPECT_EQ(runs, 1) << "the older drawing was never seen, so it never ran";
    EXPECT_EQ(PixelAt(image->grab().toImage(), 20, 20), clBlue);

    const int afterDrawing = counter.count;
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(counter.count, afterDrawing) << "drawing during a paint asked for another paint";
}

TEST(Image, AReaderOrTheCanvasSeesTheWaitingDrawingDoneFirst)
{
    QWidget window; // never shown: no paint will come
    auto* image = new TImage(&window, QRect(0, 0, 40, 40));
    int runs = 0;

    image->DrawWhenShown(FillWith(clLime, &runs));
    EXPECT_EQ(PixelAt(image->Picture(), 20, 20), clLime);

    image->DrawWhenShown(FillWith(clRed, &runs));
    TCanvas& canvas = image->Canvas();
    canvas.Brush().SetColor(clBlack);
    canvas.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(PixelAt(image->Picture(), 5, 5), clBlack) << "what the canvas drew after lies on top";
    EXPECT_EQ(PixelAt(image->Picture(), 20, 20), clRed);
    EXPECT_EQ(runs, 2);

    image->DrawWhenShown(FillWith(clBlue, &runs));
    QImage stored = WhitePicture(40, 40);
    image->SetPicture(stored);
    EXPECT_EQ(PixelAt(image->Picture(), 20, 20), clWhite) << "a stored picture replaces a waiting drawing";
    EXPECT_EQ(runs, 2);
}
