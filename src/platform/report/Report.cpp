#include "Report.h"
#include "Pictures.h"
#include "ReportError.h"
#include "TextLines.h"

#include "platform/widgets/DisplayText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <cmath>

namespace report {

QVariant BandContext::value(const QString& column) const {
    if (!row_ || !source_)
        return {};
    const int i = source_->indexOf(column);
    return i >= 0 ? row_->value(i) : QVariant();
}

void BandContext::setText(const QString& element, const QString& text) {
    texts_.insert(element.toLower(), text);
}

void BandContext::setImage(const QString& element, const QVariant& image) {
    images_.insert(element.toLower(), image);
}

void BandContext::setVisible(const QString& element, bool visible) {
    visible_.insert(element.toLower(), visible);
}

void Report::setParameter(const QString& name, const QVariant& value) {
    params_.insert(name.toLower(), value);
}

void Report::setFormatter(const QString& name, Formatter formatter) {
    formatters_.insert(name.toLower(), std::move(formatter));
}

namespace {

bool truthy(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return !(s.isEmpty() || s == QLatin1String("0") || s == QLatin1String("false") ||
                 s == QLatin1String("no"));
    }
    return v.toBool();
}

bool isText(ElementKind k) {
    return k == ElementKind::Label || k == ElementKind::Field || k == ElementKind::PageNumber;
}

// A box with an outline or a fill keeps its text off the edges.
double paddingMm(const Element& e) {
    return e.penWidth > 0 || e.fill.isValid() ? 1.0 : 0.0;
}

} // namespace

class Generator {
public:
    Generator(const Report& report, DataSource* source, const GenerateOptions& options)
        : r_(report), L_(report.layout_), source_(source), options_(options), pictures_(report.imageDpi_) {}

    Document run() {
        checkFormats();
        doc_.pageLayout = QPageLayout(L_.pageSize, L_.orientation, QMarginsF());
        doc_.title = L_.title;
        const double footer =
            L_.band(BandKind::PageFooter).present ? L_.band(BandKind::PageFooter).height : 0;
        footerTop_ = L_.pageSizeMm().height() - L_.margins.bottom() - footer;

        hasCurrent_ = fetch();
        startPage();
        place(BandKind::ReportHeader, hasCurrent_ ? &current_ : nullptr);
        if (!hasCurrent_)
            place(BandKind::Detail, nullptr);
        int rows = 0;
        while (hasCurrent_) {
            place(BandKind::Detail, &current_);
            last_ = current_;
            hasLast_ = true;
            ++rows;
            if (rows % std::max(1, options_.progressInterval) == 0)
                progress(rows);
            hasCurrent_ = fetch();
        }
        place(BandKind::ReportFooter, hasLast_ ? &last_ : nullptr);
        endPage();
        numberPages();
        return std::move(doc_);
    }

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

    void checkFormats() const {
        for (const Band& b : L_.bands)
            for (const Element& e : b.elements)
                if (!e.format.isEmpty() && !r_.formatters_.contains(e.format.toLower()))
                    throw ReportError(
                        QStringLiteral("No se puede abrir el informe \"%1\": el campo \"%2\" usa el "
                                       "formato \"%3\", que el programa no conoce.")
                            .arg(L_.source, e.name.isEmpty() ? e.column : e.name, e.format));
    }

    bool fetch() {
        if (!source_ || !source_->next())
            return false;
        const int n = int(source_->columns().size());
        current_.resize(n);
        for (int i = 0; i < n; ++i)
            current_[i] = source_->value(i);
        return true;
    }

    void progress(int rows) {
        if (options_.processEvents && QCoreApplication::instance())
            QCoreApplication::processEvents();
        if (options_.progress && !options_.progress(rows, int(doc_.pages.size())))
            throw ReportCancelled();
    }

    int column(const QString& name) {
        const QString k = name.toLower();
        auto it = columns_.constFind(k);
        if (it == columns_.constEnd())
            it = columns_.insert(k, source_ ? source_->indexOf(name) : -1);
        return *it;
    }

    QVariant valueOf(const QVariantList* row, const QString& name) {
        if (!row)
            return {};
        const int i = column(name);
        return i >= 0 ? row->value(i) : QVariant();
    }

    int fontFor(const TextStyle& s) {
        const QString key = QStringLiteral("%1|%2|%3%4%5")
                                .arg(s.family)
                                .arg(s.sizePt)
                                .arg(int(s.bold))
                                .arg(int(s.italic))
                                .arg(int(s.underline));
        auto it = fontIndex_.constFind(key);
        if (it != fontIndex_.constEnd())
            return *it;
        QFont f;
        f.setFamilies({s.family, QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(std::max(1, int(std::lround(s.sizePt * UnitsPerInch / 72.0))));
        f.setBold(s.bold);
        f.setItalic(s.italic);
        f.setUnderline(s.underline);
        f.setHintingPreference(QFont::PreferNoHinting);
        doc_.fonts << f;
        metrics_ << QFontMetricsF(f);
        const int index = int(doc_.fonts.size()) - 1;
        fontIndex_.insert(key, index);
        return index;
    }

    QString textOf(const Element& e, const BandContext& ctx, const QVariantList* row) {
        const auto over = ctx.texts_.constFind(e.name.toLower());
        if (!e.name.isEmpty() && over != ctx.texts_.constEnd())
            return *over;
        if (e.kind == ElementKind::Label) {
            if (!e.param.isEmpty() && r_.params_.contains(e.param.toLower()))
                return r_.params_.value(e.param.toLower()).toString();
            return e.text;
        }
        const QVariant v = valueOf(row, e.column);
        if (!e.format.isEmpty())
            return r_.formatters_.value(e.format.toLower())(v);
        return ui::displayText(v);
    }

    // Lays out the elements of one printing of a band; returns its height (mm).
    double prepare(const Band& band, const BandContext& ctx, const QVariantList* row, bool mayGrow,
                   QList<Item>& items) {
        for (const Element& e : band.elements) {
            const QString name = e.name.toLower();
            if (!ctx.visible_.value(name, e.visible))
                continue;
            Item it;
            it.e = &e;
            it.box = e.kind == ElementKind::Line ? e.rect : e.rect.normalized();
            if (isText(e.kind)) {
                it.font = fontFor(e.style);
                if (e.kind == ElementKind::PageNumber) {
                    items << it;
                    continue;
                }
                const QFontMetricsF& fm = metrics_[it.font];
                const double width = (e.rect.width() - 2 * paddingMm(e)) * UnitsPerMm;
                it.lines = wrapText(textOf(e, ctx, row), doc_.fonts[it.font], fm, width, e.wrap);
                const double lineMm = fm.lineSpacing() / UnitsPerMm;
                const double needed = it.lines.size() * lineMm;
                if (mayGrow && e.canGrow && needed > e.rect.height() + 1e-6) {
                    it.growth = needed - e.rect.height();
                } else {
                    const int fits = std::max(1, int(std::floor((e.rect.height() + 1e-6) / lineMm)));
                    if (it.lines.size() > fits) {
                        it.lines.resize(fits);
                        it.lines.last() = elideLine(it.lines.last(), fm, width);
                    }
                }
            } else if (e.kind == ElementKind::Check) {
                it.checked = truthy(valueOf(row, e.column));
            } else if (e.kind == ElementKind::Image) {
                if (!name.isEmpty() && ctx.images_.contains(name))
                    it.image = ctx.images_.value(name);
                else if (!e.param.isEmpty())
                    it.image = r_.params_.value(e.param.toLower());
                if (!e.column.isEmpty() && (it.image.isNull() || !it.image.isValid()))
                    it.image = valueOf(row, e.column);
            }
            items << it;
        }
        // Whatever lies below a growing element moves down with it.
        QList<int> order(items.size());
        for (int i = 0; i < order.size(); ++i)
            order[i] = i;
        auto top = [&](int i) { return std::min(items[i].e->rect.top(), items[i].e->rect.bottom()); };
        auto bottom = [&](int i) { return std::max(items[i].e->rect.top(), items[i].e->rect.bottom()); };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return top(a) < top(b); });
        QList<double> shift(items.size(), 0.0);
        // The band grows by as much as its content reaches further down, so
        // the space it leaves under its lowest element is kept.
        double extra = 0;
        for (int a = 0; a < order.size(); ++a) {
            const int i = order[a];
            for (int b = 0; b < a; ++b) {
                const int j = order[b];
                if (items[j].growth > 0 && bottom(j) <= top(i) + 1e-6)
                    shift[i] = std::max(shift[i], shift[j] + items[j].growth);
            }
            items[i].box.translate(0, shift[i]);
            items[i].box.setHeight(items[i].box.height() + items[i].growth);
            extra = std::max(extra, shift[i] + items[i].growth);
        }
        return band.height + extra;
    }

    QString picturePath(const QString& path, const QString& folder) const {
        if (path.isEmpty() || QDir::isAbsolutePath(path) || folder.isEmpty())
            return path;
        return QDir(folder).filePath(path);
    }

    Pictures::Placed picture(const Item& it, const QRectF& box) {
        Pictures::Placed placed;
        if (it.image.typeId() == QMetaType::QImage)
            placed = pictures_.fromImage(it.image.value<QImage>(), box, it.e->keepAspect);
        else if (it.image.isValid() && !it.image.toString().trimmed().isEmpty())
            placed = pictures_.fromFile(picturePath(it.image.toString().trimmed(), r_.imageFolder_), box,
                                        it.e->keepAspect);
        // A missing picture leaves the one the layout names, if any.
        if (placed.image.isNull() && !it.e->file.isEmpty())
            placed = pictures_.fromFile(picturePath(it.e->file, L_.folder), box, it.e->keepAspect);
        return placed;
    }

    void add(const DrawCommand& c) { doc_.pages.last().commands << c; }

    void emitItems(const QList<Item>& items, double bandTop) {
        const QPointF origin(L_.margins.left() * UnitsPerMm, bandTop * UnitsPerMm);
        for (const Item& it : items) {
            const Element& e = *it.e;
            const QRectF box(origin + it.box.topLeft() * UnitsPerMm, it.box.size() * UnitsPerMm);
            const float pen = float(e.penWidth * UnitsPerMm);
            if (e.kind == ElementKind::Line) {
                DrawCommand c;
                c.kind = DrawCommand::Kind::Line;
                c.pos = box.topLeft();
                c.rect = QRectF(box.bottomRight(), QSizeF());
                c.penWidth = std::max(pen, 1.0f);
                c.color = e.penColor;
                add(c);
                continue;
            }
            if ((pen > 0 || e.fill.isValid()) && e.kind != ElementKind::Check) {
                DrawCommand c;
                c.kind = DrawCommand::Kind::Rect;
                c.rect = box;
                c.penWidth = pen;
                c.color = e.penColor;
                c.fill = e.fill;
                add(c);
            }
            switch (e.kind) {
            case ElementKind::Label:
            case ElementKind::Field:
                emitText(it, box.adjusted(paddingMm(e) * UnitsPerMm, 0, -paddingMm(e) * UnitsPerMm, 0));
                break;
            case ElementKind::PageNumber:
                slots_ << PageNumberSlot{int(doc_.pages.size()) - 1,
                                         box,
                                         it.font,
                                         e.style.color,
                                         e.style.hAlign,
                                         e.style.vAlign,
                                         e.text};
                break;
            case ElementKind::Check:
                emitCheck(it, box, pen);
                break;
            case ElementKind::Image: {
                const Pictures::Placed placed = picture(it, box);
                if (!placed.image.isNull()) {
                    DrawCommand c;
                    c.kind = DrawCommand::Kind::Image;
                    c.rect = placed.rect;
                    c.image = placed.image;
                    add(c);
                }
                break;
            }
            default:
                break;
            }
        }
    }

    void emitText(const Item& it, const QRectF& box) {
        const QFontMetricsF& fm = metrics_[it.font];
        const double lineH = fm.lineSpacing();
        const double total = it.lines.size() * lineH;
        double y = box.top();
        if (it.e->style.vAlign & Qt::AlignVCenter)
            y += std::max(0.0, (box.height() - total) / 2);
        else if (it.e->style.vAlign & Qt::AlignBottom)
            y += std::max(0.0, box.height() - total);
        for (const QString& line : it.lines) {
            if (!line.isEmpty()) {
                DrawCommand c;
                c.kind = DrawCommand::Kind::Text;
                c.font = quint16(it.font);
                c.text = line;
                c.color = it.e->style.color;
                c.pos = QPointF(alignedX(line, fm, box, it.e->style.hAlign), y + fm.ascent());
                add(c);
            }
            y += lineH;
        }
    }

    static double alignedX(const QString& line, const QFontMetricsF& fm, const QRectF& box, Qt::Alignment h) {
        if (h & (Qt::AlignRight | Qt::AlignHCenter)) {
            const double free = box.width() - fm.horizontalAdvance(line);
            return box.left() + ((h & Qt::AlignRight) ? free : free / 2);
        }
        return box.left();
    }

    void emitCheck(const Item& it, const QRectF& box, float pen) {
        const double side = std::min(box.width(), box.height());
        const QRectF square(box.left(), box.top() + (box.height() - side) / 2, side, side);
        DrawCommand frame;
        frame.kind = DrawCommand::Kind::Rect;
        frame.rect = square;
        frame.penWidth = std::max(pen, 1.0f);
        frame.color = it.e->penColor;
        add(frame);
        if (!it.checked)
            return;
        auto stroke = [&](QPointF a, QPointF b) {
            DrawCommand c;
            c.kind = DrawCommand::Kind::Line;
            c.pos = square.topLeft() + a * side;
            c.rect = QRectF(square.topLeft() + b * side, QSizeF());
            c.penWidth = std::max(pen * 1.5f, 1.5f);
            c.color = it.e->penColor;
            add(c);
        };
        stroke({0.2, 0.55}, {0.42, 0.78});
        stroke({0.42, 0.78}, {0.8, 0.22});
    }

    void place(BandKind kind, const QVariantList* row) {
        const Band& band = L_.band(kind);
        if (!band.present)
            return;
        BandContext ctx;
        ctx.band_ = kind;
        ctx.page_ = int(doc_.pages.size());
        ctx.row_ = row;
        ctx.source_ = source_;
        if (r_.hooks_[int(kind)])
            r_.hooks_[int(kind)](ctx);
        QList<Item> items;
        const bool fixed = kind == BandKind::PageFooter;
        const double height = prepare(band, ctx, row, !fixed, items);
        if (kind == BandKind::PageFooter) {
            emitItems(items, footerTop_);
            return;
        }
        if (kind != BandKind::PageHeader && !pageFresh_ && y_ + height > footerTop_ + 1e-6) {
            endPage();
            startPage();
        }
        emitItems(items, y_);
        y_ += height;
        if (kind != BandKind::PageHeader)
            pageFresh_ = false;
    }

    void startPage() {
        doc_.pages.append(Page());
        y_ = L_.margins.top();
        pageFresh_ = true;
        place(BandKind::PageHeader, hasCurrent_ ? &current_ : (hasLast_ ? &last_ : nullptr));
    }

    void endPage() { place(BandKind::PageFooter, hasLast_ ? &last_ : (hasCurrent_ ? &current_ : nullptr)); }

    void numberPages() {
        const QString total = QString::number(doc_.pages.size());
        for (const PageNumberSlot& s : slots_) {
            const QFontMetricsF& fm = metrics_[s.font];
            QString text = s.pattern;
            text.replace(QLatin1String("{page}"), QString::number(s.page + 1));
            text.replace(QLatin1String("{pages}"), total);
            double y = s.box.top();
            if (s.v & Qt::AlignVCenter)
                y += (s.box.height() - fm.lineSpacing()) / 2;
            else if (s.v & Qt::AlignBottom)
                y += s.box.height() - fm.lineSpacing();
            DrawCommand c;
            c.kind = DrawCommand::Kind::Text;
            c.font = quint16(s.font);
            c.text = text;
            c.color = s.color;
            c.pos = QPointF(alignedX(text, fm, s.box, s.h), y + fm.ascent());
            doc_.pages[s.page].commands << c;
        }
    }

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

Document Report::generate(DataSource* source, const GenerateOptions& options) const {
    return Generator(*this, source, options).run();
}

} // namespace report
