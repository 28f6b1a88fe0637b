#include "Picture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace image {

namespace {

bool fail(PictureError* error, Fault fault, const QString& text, const QString& detail = {}) {
    if (error)
        *error = {fault, text, detail};
    return false;
}

QString readText(const QString& path, Fault fault) {
    return QCoreApplication::translate("image::Picture", "No se puede leer la imagen %1: %2.")
        .arg(path, faultText(fault));
}

QString saveText(const QString& path, Fault fault) {
    return QCoreApplication::translate("image::Picture", "No se puede guardar la imagen %1: %2.")
        .arg(path, faultText(fault));
}

QString temporaryFor(const QString& path) {
    const QFileInfo f(path);
    return f.path() + QStringLiteral("/.") + f.fileName() + QStringLiteral(".tmp");
}

Fault writeFault(int err) {
    return err == ENOSPC || err == EDQUOT ? Fault::DiskFull : Fault::CannotWrite;
}

// The whole of bytes into path, created or truncated; errno is kept on failure.
bool writeWhole(const QString& path, const QByteArray& bytes) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            ::close(fd);
            errno = err;
            return false;
        }
        p += n;
        left -= n;
    }
    // A network file system may report a full disk only here.
    return ::close(fd) == 0;
}

} // namespace

QString faultText(Fault fault) {
    switch (fault) {
    case Fault::None:
        return {};
    case Fault::BadSize:
        return QCoreApplication::translate("image::Picture", "el tamaño pedido no es válido");
    case Fault::Missing:
        return QCoreApplication::translate("image::Picture", "no se encuentra el archivo");
    case Fault::CannotOpen:
        return QCoreApplication::translate(
            "image::Picture", "no se puede abrir el archivo (no hay permiso para leerlo o no es un archivo)");
    case Fault::Damaged:
        return QCoreApplication::translate("image::Picture", "el archivo está dañado o no es una imagen");
    case Fault::DiskFull:
        return QCoreApplication::translate("image::Picture", "el disco está lleno");
    case Fault::CannotWrite:
        return QCoreApplication::translate("image::Picture", "no se puede escribir en su carpeta");
    }
    return {};
}

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

QImage loadFitted(const QString& path, const QSize& box, PictureError* error) {
    if (box.isEmpty()) {
        fail(error, Fault::BadSize,
             QCoreApplication::translate("image::Picture", "Tamaño de destino no válido (%1×%2) para %3.")
                 .arg(QString::number(box.width()), QString::number(box.height()), path));
        return {};
    }
    // The decoder says "File not found" for a file it cannot open: tell the
    // two apart before asking it.
    const QFileInfo info(path);
    if (!info.exists()) {
        fail(error, Fault::Missing, readText(path, Fault::Missing));
        return {};
    }
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        fail(error, Fault::CannotOpen, readText(path, Fault::CannotOpen),
             info.isFile() ? file.errorString()
                           : QCoreApplication::translate("image::Picture", "no es un archivo"));
        return {};
    }
    file.close();

    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid()) {
        fail(error, Fault::Damaged, readText(path, Fault::Damaged), reader.errorString());
        return {};
    }

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
    if (picture.isNull()) {
        fail(error, Fault::Damaged, readText(path, Fault::Damaged), reader.errorString());
        return {};
    }
    if (picture.size() != target)
        picture = picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return picture;
}

QByteArray encodeJpeg(const QImage& picture, int quality, PictureError* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(picture)) {
        fail(error, Fault::BadSize,
             QCoreApplication::translate("image::Picture", "No se puede convertir la imagen a JPEG."),
             writer.errorString());
        return {};
    }
    return bytes;
}

bool replaceFiles(const QList<QPair<QString, QByteArray>>& files, PictureError* error) {
    QStringList written;
    auto discard = [&written] {
        for (const QString& t : written)
            QFile::remove(t);
    };
    for (const auto& [path, bytes] : files) {
        const QString temporary = temporaryFor(path);
        if (!writeWhole(temporary, bytes)) {
            const int err = errno;
            QFile::remove(temporary);
            discard();
            return fail(error, writeFault(err), saveText(path, writeFault(err)),
                        QStringLiteral("%1: %2").arg(temporary, QString::fromLocal8Bit(std::strerror(err))));
        }
        written << temporary;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (std::rename(QFile::encodeName(written[i]).constData(),
                        QFile::encodeName(files[i].first).constData()) != 0) {
            const int err = errno;
            discard();
            return fail(
                error, writeFault(err), saveText(files[i].first, writeFault(err)),
                QStringLiteral("%1: %2").arg(files[i].first, QString::fromLocal8Bit(std::strerror(err))));
        }
    }
    return true;
}

bool saveJpeg(const QImage& picture, const QString& path, int quality, PictureError* error) {
    const QByteArray bytes = encodeJpeg(picture, quality, error);
    if (bytes.isEmpty()) {
        if (error)
            error->text = saveText(path, Fault::BadSize);
        return false;
    }
    return replaceFiles({{path, bytes}}, error);
}

} // namespace image
