#pragma once

#include <QColor>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

namespace report {

// Geometry of a layout is in millimetres, relative to its band's top left
// corner (inside the page margins).

struct TextStyle {
    QString family = QStringLiteral("DejaVu Sans");
    double sizePt = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;
    Qt::Alignment hAlign = Qt::AlignLeft;
    Qt::Alignment vAlign = Qt::AlignTop;
};

enum class ElementKind {
    Label,      // static text, or a parameter's text
    Field,      // a column of the current row, through an optional formatter
    Image,      // a file, a column holding a path, or a parameter
    Line,       // from rect's top left to its bottom right
    Box,        // rectangle, optionally filled
    PageNumber, // "Página {page} de {pages}" in the interface's language
    Check,      // a box ticked when a yes/no column is true
};

struct Element {
    ElementKind kind = ElementKind::Label;
    QString name;   // how callers address it (may be empty)
    QRectF rect;    // mm within the band
    QString text;   // label text; page number pattern
    QString column; // field, check or image column
    QString format; // formatter registered by the caller
    QString param;  // parameter that gives the text or the image
    QString file;   // image file (relative paths: the layout's folder)
    TextStyle style;
    bool canGrow = false;       // text that does not fit makes the band taller
    double minSizePt = 0;       // text that does not fit is printed smaller, down to this size
    bool hideWhenEmpty = false; // text left out, with its place, when it is blank
    QString showWith;           // printed only when this element of the band is
    bool wrap = true;           // text breaks at word boundaries within the box
    bool keepAspect = true;     // images keep their proportions, centred in the box
    double penWidth = 0.3;      // mm; 0 draws no outline
    QColor penColor = Qt::black;
    QColor fill; // invalid: not filled
    bool visible = true;
};

enum class BandKind { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };
inline constexpr int BandCount = 5;

struct Band {
    bool present = false;
    double height = 0; // mm: the height before any element grows
    QList<Element> elements;
};

struct Layout {
    QString source; // file the layout came from, for messages
    QString folder; // its folder, for relative image files
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{15, 15, 15, 15}; // mm
    QString title;
    Band bands[BandCount];

    const Band& band(BandKind k) const { return bands[int(k)]; }
    Band& band(BandKind k) { return bands[int(k)]; }
    // Page size in mm after orientation.
    QSizeF pageSizeMm() const;
    // Width and height available to the bands.
    QSizeF bodySizeMm() const;
    // Element by name in any band, or nullptr.
    const Element* find(const QString& name) const;
};

// Reads a layout file of our XML format (docs/report-format.md). Throws
// ReportError «No se puede abrir el informe "file": …» when the file is
// missing, unreadable or not a valid layout. With a translation context, the
// layout's own texts (labels, title, page-number pattern) are read through
// QCoreApplication::translate(context, text); without one they stay as written.
Layout loadLayout(const QString& path, const char* context = nullptr);
// Same, from text already in memory; source names it in messages.
Layout parseLayout(const QByteArray& xml, const QString& source, const QString& folder = {},
                   const char* context = nullptr);

} // namespace report
