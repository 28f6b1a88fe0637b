#pragma once

#include <QHash>
#include <QImage>
#include <QRectF>
#include <QString>

namespace report {

// Pictures for image elements, decoded no larger than the box they fill at
// the print resolution: a 4000×3000 photograph in a 8 cm box becomes about
// 630 pixels wide, which keeps PDFs small and generation quick.
class Pictures {
public:
    explicit Pictures(int dpi) : dpi_(dpi) {}

    // The part of box (units) the picture covers, and the picture scaled for
    // it; a null image when the file is missing or unreadable.
    struct Placed {
        QRectF rect;
        QImage image;
    };
    Placed fromFile(const QString& path, const QRectF& box, bool keepAspect);
    Placed fromImage(const QImage& image, const QRectF& box, bool keepAspect) const;

private:
    QRectF fit(const QSize& picture, const QRectF& box, bool keepAspect) const;
    QSize pixelsFor(const QRectF& rect) const;

    int dpi_;
    QHash<QString, Placed> cache_; // by path and box size: a logo on every page is read once
};

} // namespace report
