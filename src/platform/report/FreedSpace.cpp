#include "FreedSpace.h"

#include <algorithm>
#include <utility>

namespace report {

namespace {

using Span = std::pair<double, double>; // [top, bottom) in mm
constexpr double Tolerance = 1e-6;

QList<Span> merged(QList<Span> spans) {
    std::sort(spans.begin(), spans.end());
    QList<Span> out;
    for (const Span& s : spans) {
        if (s.second - s.first <= Tolerance)
            continue;
        if (!out.isEmpty() && s.first <= out.last().second + Tolerance)
            out.last().second = std::max(out.last().second, s.second);
        else
            out << s;
    }
    return out;
}

// The parts of `from` that no span of `cut` (merged) touches.
QList<Span> minus(const QList<Span>& from, const QList<Span>& cut) {
    QList<Span> out;
    for (Span s : from) {
        for (const Span& c : cut) {
            if (c.second <= s.first || c.first >= s.second)
                continue;
            if (c.first > s.first)
                out << Span{s.first, c.first};
            s.first = std::max(s.first, c.second);
            if (s.first >= s.second)
                break;
        }
        if (s.second - s.first > Tolerance)
            out << s;
    }
    return out;
}

double lengthBefore(const QList<Span>& spans, double y) {
    double n = 0;
    for (const Span& s : spans)
        if (s.first < y)
            n += std::min(s.second, y) - s.first;
    return n;
}

} // namespace

double takeOutFreedSpace(QList<QRectF>& held, const QList<QRectF>& freed, double height) {
    if (freed.isEmpty())
        return 0;
    // Each box reaches down to the top of the next one below it: the space
    // under an element is its own.
    auto reach = [&](const QRectF& box) {
        double next = -1;
        auto consider = [&](const QRectF& other) {
            if (&other != &box && other.top() >= box.bottom() - Tolerance && (next < 0 || other.top() < next))
                next = other.top();
        };
        for (const QRectF& other : held)
            consider(other);
        for (const QRectF& other : freed)
            consider(other);
        return Span{box.top(), std::max(box.bottom(), next)};
    };
    QList<Span> given, kept;
    for (const QRectF& box : freed)
        given << reach(box);
    for (const QRectF& box : held)
        kept << reach(box);
    const QList<Span> taken = minus(merged(given), merged(kept));
    for (QRectF& box : held)
        box.translate(0, -lengthBefore(taken, box.top() + Tolerance));
    return lengthBefore(taken, height);
}

} // namespace report
