// Writes both instruments at a set of angles as PNG files, plus one enlarged sheet
// of them all, so the pictures can be looked at without the console.
//   render-instruments <folder> [zoom of the sheet, default 3]
#include "Attitude.h"
#include "CanvasRaster.h"
#include "Heading.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Side = 105; // the console's picture size

struct Attitude {
    double rollDegrees;
    double pitchDegrees;
};

const Attitude Attitudes[] = {{0, 0},  {17.2, 0}, {0, 17.2}, {-30, -10}, {45, 20},
                              {0, 60}, {0, -89}, {0, 90},   {0, -90},   {0, 150}};
const double Headings[] = {0, 1.0, -0.5, 3.0, 6.3, 0.7854, 4.2};

// The console converts degrees with the single-precision factor nearest 3.1415/180.
constexpr float DegreesToRadians = 0.017452778f;

QImage NewPicture()
{
    QImage picture(Side, Side, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

bool Save(const QImage& picture, const QString& path)
{
    if (picture.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const int zoom = argc == 3 ? std::atoi(argv[2]) : 3;
    if (argc < 2 || argc > 3 || zoom < 1 || zoom > 16) {
        std::fprintf(stderr, "usage: %s <output folder> [sheet zoom 1..16]\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    std::vector<QImage> pictures;
    bool ok = true;
    for (const Attitude& a : Attitudes) {
        QImage picture = NewPicture();
        platform::TRasterCanvas canvas(picture);
        instruments::DrawAttitude(a.rollDegrees * DegreesToRadians, a.pitchDegrees * DegreesToRadians,
                                  canvas);
        ok &= Save(picture, folder.filePath(QString("attitude_roll%1_pitch%2.png")
                                                .arg(a.rollDegrees)
                                                .arg(a.pitchDegrees)));
        pictures.push_back(picture);
    }
    for (double heading : Headings) {
        QImage picture = NewPicture();
        platform::TRasterCanvas canvas(picture);
        instruments::DrawHeading(heading, canvas);
        ok &= Save(picture, folder.filePath(QString("heading_%1rad.png").arg(heading)));
        pictures.push_back(picture);
    }

    // One enlarged sheet, five pictures a row, pixels kept square and sharp.
    const int columns = 5;
    const int rows = int(pictures.size() + columns - 1) / columns;
    QImage sheet(columns * (Side + 4) * zoom, rows * (Side + 4) * zoom, QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const int x = int(i % columns) * (Side + 4) * zoom + 2 * zoom;
        const int y = int(i / columns) * (Side + 4) * zoom + 2 * zoom;
        painter.drawImage(QRect(x, y, Side * zoom, Side * zoom), pictures[i]);
    }
    painter.end();
    ok &= Save(sheet, folder.filePath("sheet.png"));
    std::printf("wrote %zu pictures and sheet.png to %s\n", pictures.size(), argv[1]);
    return ok ? 0 : 1;
}
