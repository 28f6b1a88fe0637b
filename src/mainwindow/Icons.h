#pragma once

#include <QIcon>
#include <QString>

namespace orb::iconos {

// The application's icon (resources: ":/icons/orbalia.svg").
QIcon aplicacion();

// Image of a toolbar button by its key ("propiedades", "busquedaalquiler"…):
// the desktop theme's icon for the kind of record, a magnifier for searches
// and an "A" badge for the rentals side. Never blank: without a theme icon a
// lettered tile is drawn instead.
QIcon botonBarra(const QString& key);

} // namespace orb::iconos
