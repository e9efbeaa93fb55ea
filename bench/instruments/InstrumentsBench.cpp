// Time to repaint each instrument on a 105 x 105 picture, as the console does on
// every attitude and heading frame (target: well under 50 microseconds each, so a
// burst of frames never stalls the window).
#include "Attitude.h"
#include "CanvasRaster.h"
#include "CanvasRecorder.h"
#include "Heading.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

QImage Picture()
{
    QImage picture(105, 105, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

void BM_DrawAttitude(benchmark::State& state)
{
    QImage picture = Picture();
    platform::TRasterCanvas canvas(picture);
    double roll = 0;
    for (auto _ : state) {
        // A slowly changing attitude, as from a live stream.
        roll += 0.001;
        instruments::DrawAttitude(roll, 0.5 * roll, canvas);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_DrawAttitude)->Unit(benchmark::kMicrosecond);

void BM_DrawHeading(benchmark::State& state)
{
    QImage picture = Picture();
    platform::TRasterCanvas canvas(picture);
    double heading = 0;
    for (auto _ : state) {
        heading += 0.001;
        instruments::DrawHeading(heading, canvas);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_DrawHeading)->Unit(benchmark::kMicrosecond);

// The drawing arithmetic alone, without painting: what the recorder costs.
void BM_RecordAttitude(benchmark::State& state)
{
    for (auto _ : state) {
        platform::TCanvasRecorder canvas(105, 105);
        instruments::DrawAttitude(0.3, 0.2, canvas);
        benchmark::DoNotOptimize(canvas.Calls().data());
    }
}
BENCHMARK(BM_RecordAttitude)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv); // fonts for the compass's text
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
