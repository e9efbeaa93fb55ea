// The picture control: found by name inside its parent, its picture the size of
// the control, and a repaint whenever its canvas draws.
#include "Image.h"
#include "PictureProbe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace platform;

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

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

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

TEST(Image, RepaintsWhenItsCanvasDraws)
{
    QWidget window;
    auto* image = new TImage(&window, QRect(0, 0, 40, 40));
    window.resize(60, 60);
    window.show();
    PaintCounter counter;
    image->installEventFilter(&counter);
    ASSERT_TRUE(WaitFor([&] { return counter.paints > 0; }));

    const int before = counter.paints;
    image->Canvas().Brush().SetColor(clRed);
    image->Canvas().Rectangle(0, 0, 40, 40);
    EXPECT_TRUE(WaitFor([&] { return counter.paints > before; }));
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
