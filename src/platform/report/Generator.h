#pragma once

// The engine that turns a report and its rows into pages; its band layout
// (fonts, fitting text, growth, freed space) is in BandLayout.cpp.

#include "Pictures.h"
#include "Report.h"

#include <QFontMetricsF>

namespace report {

inline bool truthy(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return !(s.isEmpty() || s == QLatin1String("0") || s == QLatin1String("false") ||
                 s == QLatin1String("no"));
    }
    return v.toBool();
}

inline bool isText(ElementKind k) {
    return k == ElementKind::Label || k == ElementKind::Field || k == ElementKind::PageNumber;
}

// A box with an outline or a fill keeps its text off the edges.
inline double paddingMm(const Element& e) {
    return e.penWidth > 0 || e.fill.isValid() ? 1.0 : 0.0;
}

class Generator {
public:
    Generator(const Report& report, DataSource* source, const GenerateOptions& options)
        : r_(report), L_(report.layout_), source_(source), options_(options), pictures_(report.imageDpi_) {}

    Document run();

private:
    struct Item {
        const Element* e = nullptr;
        QRectF box; // mm within the band, after growth and shifts
        QStringList lines;
        int font = 0;
        double growth = 0;
        QString text;
        bool checked = false;
        QVariant image; // override or parameter
    };
    struct PageNumberSlot {
        int page;
        QRectF box; // units
        int font;
        QColor color;
        Qt::Alignment h, v;
        QString pattern;
    };

    void checkFormats() const;
    bool fetch();
    void progress(int rows);
    int column(const QString& name);
    QVariant valueOf(const QVariantList* row, const QString& name);
    static QFont fontOf(const TextStyle& s);
    // Fonts are numbered in the document as they are first used.
    int fontFor(const TextStyle& s);

    // The style at the largest size, in half points down to the element's
    // minimum, at which the text fits its box whole; the element's own
    // style when it fits as it is or has no minimum.
    TextStyle fittingStyle(const Element& e, const QString& text, double width) const;
    // What a text element says: the hook's text, the parameter, the label or the field.
    QString textOf(const Element& e, const BandContext& ctx, const QVariantList* row);

    // Which elements of the band this printing shows: hidden ones keep their
    // place, empty ones (and what shows with them) give it back.
    enum class Shown { Printed, Hidden, LeftOut };
    QList<Shown> shown(const Band& band, const BandContext& ctx, const QVariantList* row, QStringList& texts);

    // Lays out the elements of one printing of a band; returns its height (mm).
    double prepare(const Band& band, const BandContext& ctx, const QVariantList* row, bool mayGrow,
                   QList<Item>& items);

    QString picturePath(const QString& path, const QString& folder) const;
    Pictures::Placed picture(const Item& it, const QRectF& box);
    void add(const DrawCommand& c) { doc_.pages.last().commands << c; }
    void emitItems(const QList<Item>& items, double bandTop);
    void emitText(const Item& it, const QRectF& box);
    static double alignedX(const QString& line, const QFontMetricsF& fm, const QRectF& box, Qt::Alignment h);
    void emitCheck(const Item& it, const QRectF& box, float pen);
    void place(BandKind kind, const QVariantList* row);
    void startPage();
    void endPage() { place(BandKind::PageFooter, hasLast_ ? &last_ : (hasCurrent_ ? &current_ : nullptr)); }
    void numberPages();

    const Report& r_;
    const Layout& L_;
    DataSource* source_;
    GenerateOptions options_;
    Pictures pictures_;
    Document doc_;
    QList<QFontMetricsF> metrics_;
    QHash<QString, int> fontIndex_;
    QHash<QString, int> columns_;
    QList<PageNumberSlot> slots_;
    QVariantList current_, last_;
    bool hasCurrent_ = false, hasLast_ = false;
    bool pageFresh_ = true;
    double y_ = 0;
    double footerTop_ = 0;
};

} // namespace report
