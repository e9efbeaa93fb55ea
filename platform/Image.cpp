#include "Image.h"

#include <QPainter>

namespace platform {

TImage::TImage(QWidget* parent) : QWidget(parent)
{
    canvas_ = std::make_unique<TRasterCanvas>(picture_, [this] { update(); });
}

TImage::TImage(QWidget* parent, const QRect& geometry) : TImage(parent)
{
    setGeometry(geometry);
}

TImage::~TImage() = default;

TCanvas& TImage::Canvas()
{
    if (picture_.isNull() && !size().isEmpty()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
    return *canvas_;
}

void TImage::SetPicture(const QImage& picture)
{
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    update();
}

QSize TImage::sizeHint() const
{
    return picture_.isNull() ? QWidget::sizeHint() : picture_.size();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

} // namespace platform
