#include "FreedSpace.h"
#include "Generator.h"
#include "TextLines.h"

#include "platform/widgets/DisplayText.h"

#include <algorithm>
#include <cmath>

namespace report {

int Generator::column(const QString& name) {
    const QString k = name.toLower();
    auto it = columns_.constFind(k);
    if (it == columns_.constEnd())
        it = columns_.insert(k, source_ ? source_->indexOf(name) : -1);
    return *it;
}

QVariant Generator::valueOf(const QVariantList* row, const QString& name) {
    if (!row)
        return {};
    const int i = column(name);
    return i >= 0 ? row->value(i) : QVariant();
}

QFont Generator::fontOf(const TextStyle& s) {
    QFont f;
    f.setFamilies({s.family, QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, int(std::lround(s.sizePt * UnitsPerInch / 72.0))));
    f.setBold(s.bold);
    f.setItalic(s.italic);
    f.setUnderline(s.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

int Generator::fontFor(const TextStyle& s) {
    const QString key = QStringLiteral("%1|%2|%3%4%5")
                            .arg(s.family)
                            .arg(s.sizePt)
                            .arg(int(s.bold))
                            .arg(int(s.italic))
                            .arg(int(s.underline));
    auto it = fontIndex_.constFind(key);
    if (it != fontIndex_.constEnd())
        return *it;
    const QFont f = fontOf(s);
    doc_.fonts << f;
    metrics_ << QFontMetricsF(f);
    const int index = int(doc_.fonts.size()) - 1;
    fontIndex_.insert(key, index);
    return index;
}

// The style at the largest size, in half points down to the element's
// minimum, at which the text fits its box whole; the element's own
// style when it fits as it is or has no minimum.
TextStyle Generator::fittingStyle(const Element& e, const QString& text, double width) const {
    TextStyle s = e.style;
    if (e.minSizePt <= 0)
        return s;
    for (double size = s.sizePt; size >= e.minSizePt - 1e-6; size -= 0.5) {
        s.sizePt = size;
        const QFont f = fontOf(s);
        const QFontMetricsF fm(f);
        if (fitsWhole(text, f, fm, width, e.rect.height() * UnitsPerMm, e.wrap))
            return s;
    }
    s.sizePt = e.minSizePt;
    return s;
}

QString Generator::textOf(const Element& e, const BandContext& ctx, const QVariantList* row) {
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

// Which elements of the band this printing shows: hidden ones keep their
// place, empty ones (and what shows with them) give it back.
QList<Generator::Shown> Generator::shown(const Band& band, const BandContext& ctx, const QVariantList* row,
                                         QStringList& texts) {
    const int n = int(band.elements.size());
    QList<Shown> state(n, Shown::Printed);
    texts = QStringList(n, QString());
    bool captions = false;
    for (int i = 0; i < n; ++i) {
        const Element& e = band.elements[i];
        captions = captions || !e.showWith.isEmpty();
        const bool visible =
            ctx.visible_.isEmpty() ? e.visible : ctx.visible_.value(e.name.toLower(), e.visible);
        if (!visible) {
            state[i] = Shown::Hidden;
            continue;
        }
        if (isText(e.kind) && e.kind != ElementKind::PageNumber) {
            texts[i] = textOf(e, ctx, row);
            if (e.hideWhenEmpty && texts[i].trimmed().isEmpty())
                state[i] = Shown::LeftOut;
        }
    }
    if (!captions)
        return state;
    // The reader refused unknown names and cycles.
    auto indexOf = [&](const QString& name) {
        for (int i = 0; i < n; ++i)
            if (band.elements[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    std::function<bool(int, int)> printed = [&](int i, int depth) {
        const Element& e = band.elements[i];
        if (state[i] != Shown::Printed || e.showWith.isEmpty() || depth > n)
            return state[i] == Shown::Printed;
        const int target = indexOf(e.showWith);
        return target < 0 || printed(target, depth + 1);
    };
    QList<Shown> out = state;
    for (int i = 0; i < n; ++i)
        if (state[i] == Shown::Printed && !printed(i, 0))
            out[i] = Shown::LeftOut;
    return out;
}

// Lays out the elements of one printing of a band; returns its height (mm).
double Generator::prepare(const Band& band, const BandContext& ctx, const QVariantList* row, bool mayGrow,
                          QList<Item>& items) {
    QStringList texts;
    const QList<Shown> state = shown(band, ctx, row, texts);
    // Elements not printed still take part in the layout: a hidden one holds
    // its place, a left-out one gives it back.
    QList<Shown> kinds;
    for (int index = 0; index < band.elements.size(); ++index) {
        const Element& e = band.elements[index];
        if (state[index] != Shown::Printed && !mayGrow)
            continue;
        const QString name = e.name.toLower();
        Item it;
        it.e = &e;
        it.box = e.kind == ElementKind::Line ? e.rect : e.rect.normalized();
        kinds << state[index];
        if (kinds.last() != Shown::Printed) {
            items << it;
            continue;
        }
        if (isText(e.kind)) {
            if (e.kind == ElementKind::PageNumber) {
                it.font = fontFor(e.style);
                items << it;
                continue;
            }
            const double width = (e.rect.width() - 2 * paddingMm(e)) * UnitsPerMm;
            it.font = fontFor(fittingStyle(e, texts[index], width));
            const QFontMetricsF& fm = metrics_[it.font];
            it.lines = wrapText(texts[index], doc_.fonts[it.font], fm, width, e.wrap);
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
    double height = band.height + extra;
    if (!kinds.contains(Shown::LeftOut)) {
        for (int i = int(items.size()) - 1; i >= 0; --i)
            if (kinds[i] == Shown::Hidden)
                items.removeAt(i);
        return height;
    }
    QList<QRectF> held, freed;
    QList<int> heldItems;
    for (int i = 0; i < items.size(); ++i) {
        if (kinds[i] == Shown::LeftOut) {
            freed << items[i].box.normalized();
        } else {
            held << items[i].box.normalized();
            heldItems << i;
        }
    }
    QList<QRectF> moved = held;
    height -= takeOutFreedSpace(moved, freed, height);
    QList<Item> printed;
    for (int k = 0; k < heldItems.size(); ++k) {
        if (kinds[heldItems[k]] != Shown::Printed)
            continue;
        Item it = items[heldItems[k]];
        it.box.translate(0, moved[k].top() - held[k].top());
        printed << it;
    }
    items = printed;
    return height;
}

} // namespace report
