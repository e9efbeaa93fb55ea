#pragma once
// A picture control: it owns a picture, offers a canvas that paints on it, and
// shows the picture at its top-left corner, repainting whenever the canvas draws.
#include "CanvasRaster.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace platform {

class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);
    // Placed at `geometry` inside the parent; the picture takes its size.
    TImage(QWidget* parent, const QRect& geometry);
    ~TImage() override;

    // The canvas of the picture. Without a picture yet, a white one of the
    // control's size is made first.
    TCanvas& Canvas();

    const QImage& Picture() const { return picture_; }
    // Replaces the picture (for stored artwork); the control is not resized.
    void SetPicture(const QImage& picture);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    std::unique_ptr<TRasterCanvas> canvas_;
};

} // namespace platform
