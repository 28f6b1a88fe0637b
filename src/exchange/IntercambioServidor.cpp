#include "IntercambioServidor.h"

#include "Intercambio.h"
#include "platform/db/ServerEngine.h"
#include "platform/db/Statement.h"
#include "platform/pg/Connection.h"

#include <QCoreApplication>

namespace orb {

namespace {

// The session's table the rows are copied into before they join the agency's.
const QString Entrada = QStringLiteral("orb_entrada_intercambio");

db::detail::ServerEngine& servidor(db::Database& agencia) {
    if (!agencia.onServer())
        throw db::DbError(
            db::ErrNotSupported,
            QCoreApplication::translate("IntercambioServidor", "La base de datos no está en un servidor"));
    return *agencia.server();
}

} // namespace

QString NombreServidor(const QString& nombre) {
    return EntreComillas(nombre.toLower());
}

QString ListaColumnasServidor(const QStringList& columnas) {
    QStringList out;
    out.reserve(columnas.size());
    for (const QString& c : columnas)
        out << NombreServidor(c);
    return out.join(QStringLiteral(", "));
}

qint64 CopiarAlFichero(db::Database& agencia, db::Database& fichero, const QString& tabla,
                       const QStringList& columnas, const QString& donde, const db::Params& params) {
    const db::detail::ServerRows leidas =
        servidor(agencia).read(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY rowid")
                                   .arg(ListaColumnasServidor(columnas), NombreServidor(tabla), donde),
                               params);
    QStringList marcas;
    marcas.fill(QStringLiteral("?"), columnas.size());
    db::Statement insertar(fichero, QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                        .arg(tabla, ListaColumnas(columnas), marcas.join(u',')));
    for (const db::Row& fila : leidas.rows)
        insertar.execute(fila);
    return leidas.rows.size();
}

FilasServidor LeerParaServidor(db::Database& fichero, db::Database& agencia, const QString& tabla,
                               const QStringList& columnas, const QString& codigo, const QString& donde,
                               const db::Params& params) {
    // The same test the file's import makes after its insert: the exchange
    // file's columns have the agency's declared types, so a text that reads as
    // a number is already one there.
    const TextoEnNumero casos =
        CasosTextoEnNumero(ColumnasNumericas(agencia, QStringLiteral("main"), tabla), columnas);

    QList<int> limite; // per column: the longest text the server's field takes, 0 for any
    bool conCodigo = false;
    int posCodigo = -1;
    const QList<db::FieldInfo>& campos = servidor(agencia).columnsOf(tabla.toLower());
    for (qsizetype i = 0; i < columnas.size(); ++i) {
        int n = 0;
        for (const db::FieldInfo& f : campos)
            if (f.name.compare(columnas[i], Qt::CaseInsensitive) == 0 && f.type == db::FieldType::Text)
                n = f.size;
        limite << n;
        if (columnas[i].compare(u"Cod", Qt::CaseInsensitive) == 0) {
            conCodigo = true;
            posCodigo = int(i);
        }
    }

    FilasServidor out;
    db::Statement leer(
        fichero,
        QStringLiteral("SELECT %1, %2, %3, CAST(%4 AS TEXT) FROM \"%5\"%6 ORDER BY rowid")
            .arg(ListaColumnas(columnas), casos.campo, casos.valor, ListaColumnas({codigo}), tabla, donde));
    leer.bind(params);
    const int n = int(columnas.size());
    while (leer.step()) {
        const db::Value malo = leer.value(n);
        if (!db::isNull(malo)) {
            out.rechazos
                << QCoreApplication::translate(
                       "IntercambioServidor",
                       "No se importa el registro %1 de %2: el campo %3 tiene «%4», que no es un número.")
                       .arg(leer.value(n + 2).toString(), tabla, malo.toString(),
                            leer.value(n + 1).toString());
            continue;
        }
        db::Row fila = leer.row().mid(0, n);
        bool cabe = !(conCodigo && db::isNull(fila[posCodigo]));
        for (int i = 0; cabe && i < n; ++i)
            cabe = limite[i] == 0 || db::isNull(fila[i]) || fila[i].toString().size() <= limite[i];
        if (cabe)
            out.filas << std::move(fila);
        else
            ++out.descartadas;
    }
    return out;
}

qint64 InsertarEnServidor(db::Database& agencia, const QString& tabla, const QStringList& columnas,
                          const QList<db::Row>& filas, const QString& condicion, const db::Params& params) {
    db::detail::ServerEngine& s = servidor(agencia);
    const QString lista = ListaColumnasServidor(columnas);
    // The same types as the agency's table and no rule: those are tested on the way in.
    s.execute(QStringLiteral("DROP TABLE IF EXISTS pg_temp.%1").arg(Entrada), {});
    s.execute(QStringLiteral("CREATE TEMPORARY TABLE %1 AS SELECT 0::bigint AS orb_orden, %2 FROM %3 WITH NO "
                             "DATA")
                  .arg(Entrada, lista, NombreServidor(tabla)),
              {});
    QStringList destino{QStringLiteral("orb_orden")};
    for (const QString& c : columnas)
        destino << NombreServidor(c);
    QList<pg::Row> copia;
    copia.reserve(filas.size());
    qint64 orden = 0;
    for (const db::Row& f : filas) {
        pg::Row r;
        r.reserve(f.size() + 1);
        r << QVariant(++orden);
        r += f;
        copia << std::move(r);
    }
    try {
        s.connection().copyIn(Entrada, destino, copia);
    } catch (const pg::PgError& e) {
        throw db::detail::errorFrom(e, tabla);
    }
    const int guardadas = s.execute(
        QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3%4 ORDER BY orb_orden ON CONFLICT DO NOTHING")
            .arg(NombreServidor(tabla), lista, Entrada,
                 condicion.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condicion),
        params);
    s.execute(QStringLiteral("DROP TABLE %1").arg(Entrada), {});
    return guardadas;
}

} // namespace orb
