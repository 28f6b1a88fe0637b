#pragma once

// An agency file as the version before the quick search's text index left
// it (or a server, which never has one): the index tables and their
// triggers gone.

#include "platform/db/Database.h"
#include "shell/SchemaBusquedaRapida.h"

inline void QuitarIndiceTexto(db::Database& d) {
    for (const orb::schema::IndiceTexto& i : orb::schema::indicesTexto()) {
        for (const char* t : {"_Alta", "_Cambio", "_Baja"})
            d.execute(QStringLiteral("DROP TRIGGER \"%1%2\"").arg(i.nombre, QLatin1String(t)));
        d.execute(QStringLiteral("DROP TABLE \"%1\"").arg(i.nombre));
    }
}
