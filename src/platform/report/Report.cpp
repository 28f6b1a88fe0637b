#include "Report.h"
#include "Generator.h"
#include "ReportError.h"

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

Document Generator::run() {
    checkFormats();
    doc_.pageLayout = QPageLayout(L_.pageSize, L_.orientation, QMarginsF());
    doc_.title = L_.title;
    const double footer = L_.band(BandKind::PageFooter).present ? L_.band(BandKind::PageFooter).height : 0;
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

void Generator::checkFormats() const {
    for (const Band& b : L_.bands)
        for (const Element& e : b.elements)
            if (!e.format.isEmpty() && !r_.formatters_.contains(e.format.toLower()))
                throw ReportError(
                    QCoreApplication::translate("report::Report",
                                                "No se puede abrir el informe \"%1\": el campo \"%2\" usa el "
                                                "formato \"%3\", que el programa no conoce.")
                        .arg(L_.source, e.name.isEmpty() ? e.column : e.name, e.format));
}

bool Generator::fetch() {
    if (!source_ || !source_->next())
        return false;
    const int n = int(source_->columns().size());
    current_.resize(n);
    for (int i = 0; i < n; ++i)
        current_[i] = source_->value(i);
    return true;
}

void Generator::progress(int rows) {
    if (options_.processEvents && QCoreApplication::instance())
        QCoreApplication::processEvents();
    if (options_.progress && !options_.progress(rows, int(doc_.pages.size())))
        throw ReportCancelled();
}

QString Generator::picturePath(const QString& path, const QString& folder) const {
    if (path.isEmpty() || QDir::isAbsolutePath(path) || folder.isEmpty())
        return path;
    return QDir(folder).filePath(path);
}

Pictures::Placed Generator::picture(const Item& it, const QRectF& box) {
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

void Generator::emitItems(const QList<Item>& items, double bandTop) {
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

void Generator::emitText(const Item& it, const QRectF& box) {
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

double Generator::alignedX(const QString& line, const QFontMetricsF& fm, const QRectF& box, Qt::Alignment h) {
    if (h & (Qt::AlignRight | Qt::AlignHCenter)) {
        const double free = box.width() - fm.horizontalAdvance(line);
        return box.left() + ((h & Qt::AlignRight) ? free : free / 2);
    }
    return box.left();
}

void Generator::emitCheck(const Item& it, const QRectF& box, float pen) {
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

void Generator::place(BandKind kind, const QVariantList* row) {
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

void Generator::startPage() {
    doc_.pages.append(Page());
    y_ = L_.margins.top();
    pageFresh_ = true;
    place(BandKind::PageHeader, hasCurrent_ ? &current_ : (hasLast_ ? &last_ : nullptr));
}

void Generator::numberPages() {
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

Document Report::generate(DataSource* source, const GenerateOptions& options) const {
    return Generator(*this, source, options).run();
}

} // namespace report
