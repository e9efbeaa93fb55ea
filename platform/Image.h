#pragma once
// A picture control: it owns a picture, offers a canvas that paints on it, and
// shows the picture at its top-left corner, repainting whenever the canvas draws.
#include "CanvasRaster.h"

#include <QImage>
#include <QWidget>

#include <functional>
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

    // Runs `drawing` on the canvas just before the picture is next painted or
    // read, in place of any drawing still waiting. A picture redrawn whole for
    // every telemetry frame is thus drawn at most once per paint of the window:
    // the drawings in between would never be seen.
    void DrawWhenShown(std::function<void(TCanvas&)> drawing);

    // The picture, with any waiting drawing done.
    const QImage& Picture() const;
    // Replaces the picture (for stored artwork); the control is not resized.
    void SetPicture(const QImage& picture);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawWaiting() const;
    void MakePictureIfNone() const;

    // Drawing waits for a paint or a reader, which may come through const
    // access; the picture it leaves is the one the control stands for.
    mutable QImage picture_;
    std::unique_ptr<TRasterCanvas> canvas_;
    mutable std::function<void(TCanvas&)> waiting_;
    mutable bool painting_ = false;
};

} // namespace platform
