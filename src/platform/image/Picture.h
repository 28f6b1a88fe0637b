#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace image {

// The largest size with the source's proportions that fits inside box; a
// picture already smaller than the box keeps its size (never enlarged).
QSize fitInside(const QSize& source, const QSize& box);

// Reads a picture scaled to fit inside box. A JPEG is decoded directly at a
// reduced size (1/2, 1/4 or 1/8: the smallest that is not below the target),
// which skips most of the decoding work for a camera photo, then scaled
// smoothly to the final size. EXIF orientation is applied. Returns a null
// image and a Spanish reason in error for a missing, unreadable or broken file.
QImage loadFitted(const QString& path, const QSize& box, QString* error = nullptr);

// Smoothly scaled copy that fits inside box (see fitInside).
QImage fitted(const QImage& picture, const QSize& box);

// Writes a JPEG (quality 0-100); a failed write leaves no file behind. Not
// synced to disk: these pictures are made again by every run.
bool saveJpeg(const QImage& picture, const QString& path, int quality = 85, QString* error = nullptr);

} // namespace image
