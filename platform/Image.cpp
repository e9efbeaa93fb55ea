#include "Image.h"

#include <QPainter>
#include <QScopedValueRollback>

namespace platform {

TImage::TImage(QWidget* parent) : QWidget(parent)
{
    canvas_ = std::make_unique<TRasterCanvas>(picture_, [this] {
        if (!painting_)
            update();
    });
}

TImage::TImage(QWidget* parent, const QRect& geometry) : TImage(parent)
{
    setGeometry(geometry);
}

TImage::~TImage() = default;

TCanvas& TImage::Canvas()
{
    DrawWaiting();
    MakePictureIfNone();
    return *canvas_;
}

void TImage::MakePictureIfNone() const
{
    if (picture_.isNull() && !size().isEmpty()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
}

void TImage::DrawWhenShown(std::function<void(TCanvas&)> drawing)
{
    waiting_ = std::move(drawing);
    update();
}

const QImage& TImage::Picture() const
{
    DrawWaiting();
    return picture_;
}

void TImage::DrawWaiting() const
{
    if (!waiting_)
        return;
    const std::function<void(TCanvas&)> drawing = std::move(waiting_);
    waiting_ = nullptr;
    MakePictureIfNone();
    drawing(*canvas_);
}

void TImage::SetPicture(const QImage& picture)
{
    waiting_ = nullptr; // the new picture replaces whatever was to be drawn
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    update();
}

QSize TImage::sizeHint() const
{
    return picture_.isNull() ? QWidget::sizeHint() : picture_.size();
}

void TImage::paintEvent(QPaintEvent*)
{
    {
        // The drawing done here is painted now; it must not ask for another paint.
        const QScopedValueRollback inPaint(painting_, true);
        DrawWaiting();
    }
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

} // namespace platform
