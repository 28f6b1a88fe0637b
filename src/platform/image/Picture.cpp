#include "Picture.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace image {

QSize fitInside(const QSize& source, const QSize& box) {
    if (source.isEmpty() || box.isEmpty())
        return {};
    if (source.width() <= box.width() && source.height() <= box.height())
        return source;
    // Rounded, not truncated: 1001×751 into 400×300 is 400×300, not 399×300.
    const double scale =
        std::min(double(box.width()) / source.width(), double(box.height()) / source.height());
    const int w = std::clamp(int(std::lround(source.width() * scale)), 1, box.width());
    const int h = std::clamp(int(std::lround(source.height() * scale)), 1, box.height());
    return QSize(w, h);
}

QImage fitted(const QImage& picture, const QSize& box) {
    const QSize size = fitInside(picture.size(), box);
    if (size.isEmpty() || size == picture.size())
        return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage loadFitted(const QString& path, const QSize& box, QString* error) {
    auto failWith = [&](const QString& reason) {
        if (error)
            *error = reason;
        return QImage();
    };
    if (box.isEmpty())
        return failWith(
            QStringLiteral("Tamaño de destino no válido (%1×%2)").arg(box.width()).arg(box.height()));
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid())
        return failWith(QStringLiteral("No se puede leer la imagen %1: %2").arg(path, reader.errorString()));

    // Sizes as shown: a portrait photo stored sideways has its sides swapped.
    const bool sideways = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize shown = sideways ? stored.transposed() : stored;
    const QSize target = fitInside(shown, box);
    const QSize needStored = sideways ? target.transposed() : target;

    // libjpeg rounds scaled sides up; ask for exactly what it will produce so
    // the reader does not add a resampling step of its own.
    int denom = 1;
    for (int d : {8, 4, 2}) {
        const QSize s((stored.width() + d - 1) / d, (stored.height() + d - 1) / d);
        if (s.width() >= needStored.width() && s.height() >= needStored.height()) {
            denom = d;
            break;
        }
    }
    if (denom > 1)
        reader.setScaledSize(
            QSize((stored.width() + denom - 1) / denom, (stored.height() + denom - 1) / denom));

    QImage picture = reader.read();
    if (picture.isNull())
        return failWith(QStringLiteral("No se puede leer la imagen %1: %2").arg(path, reader.errorString()));
    if (picture.size() != target)
        picture = picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return picture;
}

bool saveJpeg(const QImage& picture, const QString& path, int quality, QString* error) {
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(picture)) {
        if (error)
            *error = QStringLiteral("No se puede guardar la imagen %1: %2").arg(path, writer.errorString());
        QFile::remove(path); // no half-written picture left behind
        return false;
    }
    return true;
}

} // namespace image
