#pragma once

#include "FeedKyero.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace orb {

// A property read for the portals with its photographs (file names inside
// Fotos/, "" for an empty slot); the images are filled once the pictures exist.
struct FilaPortal {
    PropiedadPortal datos;
    QStringList fotos;
};

// The properties of this office that go to the portals: those the web export
// publishes (same side, state and office rules) and marked "Portales"; sales
// first, then rentals. The date is the row's last change; the caller moves it
// to a photograph's when that is later.
QList<FilaPortal> LeerFilasPortales(db::Database& agencia, const QString& codigoOficina,
                                    const QString& codigoAgenciaWeb);

} // namespace orb
