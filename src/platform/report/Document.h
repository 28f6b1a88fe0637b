#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>

class QPainter;
class QPrinter;

namespace report {

// Page coordinates of generated pages: 1/720 inch (a tenth of a point) from
// the paper's top left corner. Fonts are sized in these units too, so a page
// paints the same on any device by scaling once.
inline constexpr double UnitsPerInch = 720.0;
inline constexpr double UnitsPerMm = UnitsPerInch / 25.4;

struct DrawCommand {
    enum class Kind : quint8 { Text, Line, Rect, Image };
    Kind kind = Kind::Text;
    quint16 font = 0;   // Text: index into Document::fonts
    float penWidth = 0; // Line, Rect: units; 0 draws no outline
    QPointF pos;        // Text: baseline origin; Line: start
    QRectF rect;        // Rect, Image: the box; Line: end point at rect.topLeft()
    QString text;       // Text
    QColor color;       // Text colour or outline
    QColor fill;        // Rect: invalid when not filled
    QImage image;       // Image: already at print resolution
};

struct Page {
    QList<DrawCommand> commands;
};

// The pages of a generated report: drawing commands, painted by the same
// code on every device (preview, printer, PDF, image).
class Document {
public:
    QPageLayout pageLayout; // paper and orientation; margins are in the commands
    QString title;
    QList<QFont> fonts;
    QList<Page> pages;

    int pageCount() const { return int(pages.size()); }
    // Text of a page, one drawn line per line, in drawing order.
    QString pageText(int index) const;
    // Page size in units.
    QSizeF pageSizeUnits() const;

    // Paints one page with the painter's origin at the paper's top left
    // corner, in the device's own resolution.
    void paintPage(QPainter& painter, int index) const;
    // Every page (or the printer's chosen range) on a printer set to full page.
    void print(QPrinter& printer) const;
    // Writes a PDF; text stays text. An existing file is replaced only once
    // the new one is complete. Throws ReportError naming the file.
    void writePdf(const QString& path) const;
    // One page as an image at the given resolution, on white.
    QImage renderPage(int index, int dpi = 96) const;
};

} // namespace report
