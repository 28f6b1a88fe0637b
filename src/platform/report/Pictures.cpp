#include "Pictures.h"
#include "Document.h"

#include <QFileInfo>
#include <QImageReader>
#include <cmath>

namespace report {

QRectF Pictures::fit(const QSize& picture, const QRectF& box, bool keepAspect) const {
    if (!keepAspect || picture.isEmpty())
        return box;
    const QSizeF s = QSizeF(picture).scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.x() + (box.width() - s.width()) / 2, box.y() + (box.height() - s.height()) / 2,
                  s.width(), s.height());
}

QSize Pictures::pixelsFor(const QRectF& rect) const {
    const double perUnit = dpi_ / UnitsPerInch;
    return QSize(std::max(1, int(std::ceil(rect.width() * perUnit))),
                 std::max(1, int(std::ceil(rect.height() * perUnit))));
}

Pictures::Placed Pictures::fromFile(const QString& path, const QRectF& box, bool keepAspect) {
    const QString key =
        QStringLiteral("%1|%2x%3|%4").arg(path).arg(box.width()).arg(box.height()).arg(keepAspect);
    const auto cached = cache_.constFind(key);
    if (cached != cache_.constEnd())
        return {cached->image.isNull() ? QRectF() : fit(cached->image.size(), box, keepAspect),
                cached->image};
    Placed placed;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        cache_.insert(key, placed);
        return placed;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize shown = turned ? stored.transposed() : stored;
    if (shown.isValid()) {
        placed.rect = fit(shown, box, keepAspect);
        const QSize wanted = pixelsFor(placed.rect);
        if (wanted.width() < shown.width() && wanted.height() < shown.height())
            reader.setScaledSize(turned ? wanted.transposed() : wanted);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        cache_.insert(key, placed);
        return placed;
    }
    placed = fromImage(image, box, keepAspect);
    cache_.insert(key, placed);
    return placed;
}

Pictures::Placed Pictures::fromImage(const QImage& image, const QRectF& box, bool keepAspect) const {
    Placed placed;
    if (image.isNull())
        return placed;
    placed.rect = fit(image.size(), box, keepAspect);
    const QSize wanted = pixelsFor(placed.rect);
    // A picture slightly larger than needed is kept; only real excess is scaled away.
    if (image.width() > wanted.width() * 1.1 || image.height() > wanted.height() * 1.1)
        placed.image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else
        placed.image = image;
    // Photographs never need an alpha channel; opaque RGB lets the PDF writer use JPEG.
    if (!placed.image.hasAlphaChannel() && placed.image.format() != QImage::Format_RGB32)
        placed.image = placed.image.convertToFormat(QImage::Format_RGB32);
    return placed;
}

} // namespace report
