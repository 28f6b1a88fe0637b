#pragma once

#include <QList>
#include <QRectF>

namespace report {

// The place that elements left out of a band give back. Every element
// reaches from its top down to the next element below it (or its own bottom
// when none is); the strips that only left-out elements reach are taken out
// of the band. Moves every held box (printed, or hidden but keeping its
// place) up by the strips taken out above it and returns how much of the
// band's first `height` millimetres was taken out.
double takeOutFreedSpace(QList<QRectF>& held, const QList<QRectF>& freed, double height);

} // namespace report
