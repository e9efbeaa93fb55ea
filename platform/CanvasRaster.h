#pragma once
// The canvas that paints on a picture (a QImage) with QPainter, following the
// classic raster rules: no antialiasing, the right and bottom edges of a bounding
// rectangle lie outside the shape, a thin line leaves out its end point, and wide
// lines have round ends.
#include "Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>

#include <functional>
#include <map>

namespace platform {

class TRasterCanvas : public TCanvas {
public:
    // Paints on `picture`, which must outlive the canvas; `changed` runs after
    // every call that altered it (so a widget can repaint).
    explicit TRasterCanvas(QImage& picture, std::function<void()> changed = {});

    int Width() const override { return picture_.width(); }
    int Height() const override { return picture_.height(); }
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& text) override;
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) override;
    const QImage* Picture() const override { return &picture_; }

private:
    struct FontEntry {
        QFont font;
        QFontMetrics metrics;
    };
    const FontEntry& CurrentFont();
    void Changed();

    QImage& picture_;
    std::function<void()> changed_;
    // The last copy made, by the versions (cache keys) of both pictures: the
    // same copy again, with neither picture painted on since, changes nothing.
    struct LastCopy {
        qint64 sourceVersion = 0;
        QRect sourceRect;
        QRect target;
        qint64 versionAfter = 0;
        bool operator==(const LastCopy&) const = default;
    };
    LastCopy lastCopy_;
    // Fonts and their metrics by height: finding the size that gives a line
    // height is a search, and drawing code switches between a few heights.
    std::map<int, FontEntry> fonts_;
};

} // namespace platform
