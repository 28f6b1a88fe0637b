#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>

namespace image {

// Why a picture could not be read or written.
enum class Fault { None, BadSize, Missing, CannotOpen, Damaged, DiskFull, CannotWrite };

// The cause in plain Spanish, a clause without the file ("el disco está lleno").
QString faultText(Fault fault);

struct PictureError {
    Fault fault = Fault::None;
    QString text;   // one Spanish sentence that names the file
    QString detail; // what the decoder or the system said, for a technical log
};

// The largest size with the source's proportions that fits inside box; a
// picture already smaller than the box keeps its size (never enlarged).
QSize fitInside(const QSize& source, const QSize& box);

// Reads a picture scaled to fit inside box. A JPEG is decoded directly at a
// reduced size (1/2, 1/4 or 1/8: the smallest that is not below the target),
// which skips most of the decoding work for a camera photo, then scaled
// smoothly to the final size. EXIF orientation is applied. Returns a null
// image and the cause in error for a missing, unreadable or broken file.
QImage loadFitted(const QString& path, const QSize& box, PictureError* error = nullptr);

// Smoothly scaled copy that fits inside box (see fitInside).
QImage fitted(const QImage& picture, const QSize& box);

// The picture as JPEG bytes (quality 0-100); empty when it cannot be encoded.
QByteArray encodeJpeg(const QImage& picture, int quality = 85, PictureError* error = nullptr);

// Writes each (path, bytes) so that every target is either replaced whole or
// left as it was: all go to hidden temporary files beside their targets
// (".name.tmp") first, and only when every one is written are they renamed
// over the targets. A full disk or a refused folder leaves the old files and
// no temporary one. Not synced to disk: these pictures are made again by
// every run.
bool replaceFiles(const QList<QPair<QString, QByteArray>>& files, PictureError* error = nullptr);

// Writes a JPEG (quality 0-100) with replaceFiles: a failed write leaves the
// file as it was.
bool saveJpeg(const QImage& picture, const QString& path, int quality = 85, PictureError* error = nullptr);

} // namespace image
