// Writes the connected window, showing a moment of flight, to a PNG that a person
// can open (the README shows it), and the strip of airframe tiles beside it.
#include "ConsoleWindowFixture.h"

#include <QImage>

namespace consoletest {
namespace {

TEST_F(ConnectedConsole, WritesThePictureOfTheWindowInFlight)
{
    Send({
        WordsFrame(0xA0, 18000 + 1250, 18000 - 520, 18000 + 4512), // roll 12.5, pitch -5.2, yaw 45.12
        WordsFrame(0xA1, 30012, 29995, 30003),
        WordsFrame(0xA2, 1620 * 12, 1480 * 12, 1350 * 12),
        WordsFrame(0xA3, 1510 * 12, 1520 * 12, 1100 * 12),
        PayloadFrame(0xA4, {0x40, 0x06, 1, 12, 68, 0}),
        WordsFrame(0xA5, 118, 12345, 12345),
        WordsFrame(0xA6, 32768 + 1520, 32768 - 35, 1200),
        WordsFrame(0xA8, 142, 77, 131),
        WordsFrame(0xA9, 1003, 998, 1981),
        PayloadFrame(0xAA, {0, 0, 105, 0, 120, 118}),
        WordsFrame(0xAB, 1000, 500, 0),
        PayloadFrame(0xAC, {121, 119, 117, 122, 0, 0}),
    });
    EXPECT_EQ(form->bsSkinEdit1->Text(), "12.50");

    const QImage window = form->grab().toImage();
    ASSERT_EQ(window.size(), QSize(712, 447));
    EXPECT_TRUE(window.save(QStringLiteral(FD_WINDOW_PNG))) << FD_WINDOW_PNG;
    EXPECT_TRUE(form->Image3->Picture().save(QStringLiteral(FD_TILES_PNG))) << FD_TILES_PNG;
}

} // namespace
} // namespace consoletest
