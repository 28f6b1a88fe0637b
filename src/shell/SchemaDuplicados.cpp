// The indexes that find the same person twice: identity numbers, phones and
// e-mail addresses in the forms they are compared in.

#include "Identidad.h"
#include "SchemaTablas.h"

#include "platform/db/Database.h"

#include <QCoreApplication>

namespace orb::schema::detail {

QList<Index> indicesDuplicados() {
    // Built-in functions only, so a connection without the program's own
    // functions can still write these tables. The side comes first: a
    // record is compared with those of its own side.
    QList<Index> out;
    for (const char* tabla : {"Propietarios", "Clientes"}) {
        const QString t = QString::fromLatin1(tabla);
        for (const char* c : {"Telefono", "Movil", "Fax"})
            out.append({t + QStringLiteral("_Tel") + QString::fromLatin1(c), t,
                        QStringLiteral("Alquiler, ") + SqlTelefono(QString::fromLatin1(c))});
        for (const char* c : {"Dni", "Nie", "Pasaporte"})
            out.append({t + QStringLiteral("_Doc") + QString::fromLatin1(c), t,
                        QStringLiteral("Alquiler, ") + SqlDocumento(QString::fromLatin1(c))});
        out.append({t + QStringLiteral("_Email"), t,
                    QStringLiteral("Alquiler, ") + SqlEmail(QStringLiteral("Email"))});
        // The quick search's "contains" on name and e-mail reads this, not the wide rows.
        out.append(
            {t + QStringLiteral("_BusquedaRapida"), t, QStringLiteral("Nombre, Email, Alquiler, Cod")});
    }
    return out;
}

QStringList pasoDuplicados(db::Database& database) {
    QStringList done;
    for (const Index& i : indicesDuplicados()) {
        if (database
                .scalar(
                    QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?"),
                    {i.name})
                .toInt() > 0)
            continue;
        database.executeScript(
            QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (%3)").arg(i.name, i.table, i.columns));
        done << QCoreApplication::translate("SchemaDuplicados", "índice %1 creado").arg(i.name);
    }
    return done;
}

} // namespace orb::schema::detail
