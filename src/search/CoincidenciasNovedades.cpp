// Which waiting clients have matches the agent has not seen: every waiting
// client against every property on offer, counted at start-up and after each
// office import. One statement per table reads what is needed; the pairing is
// done here over the properties grouped by place and sorted by price, so each
// client looks only at the few properties of its places and budget.

#include "Coincidencias.h"
#include "CoincidenciasFilas.h"
#include "platform/db/Cursor.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>
#include <vector>

namespace orb::coincidencias {

using namespace filas;

namespace {

// A property without a price sorts last: a client with a budget never reaches it.
double clave(const Oferta& o) {
    return o.tienePrecio ? o.precio : std::numeric_limits<double>::infinity();
}

using Lista = std::vector<const Oferta*>; // by clave

// The properties on offer of one side, all of them and by place.
struct Escaparate {
    Lista todas;
    QHash<qint64, Lista> porArea, porLocalidad;
};

std::vector<Oferta> leerOfertas(db::Database& database) {
    std::vector<Oferta> ofertas;
    db::Cursor cursor(
        database,
        QStringLiteral("SELECT %1 FROM Propiedades p WHERE (p.Estado = ? AND p.Alquiler = FALSE) OR "
                       "(p.Estado = ? AND p.Alquiler = TRUE)")
            .arg(ColumnasOfertaSinNombres),
        {EstadoDisponible(false), EstadoDisponible(true)});
    while (cursor.next())
        ofertas.push_back(leerOferta(cursor.row()));
    std::sort(ofertas.begin(), ofertas.end(),
              [](const Oferta& a, const Oferta& b) { return clave(a) < clave(b); });
    return ofertas;
}

// Pairs already seen, sent or refused, by client.
QHash<QString, QSet<QString>> leerConocidas(db::Database& database) {
    QHash<QString, QSet<QString>> conocidas;
    db::Cursor cursor(database, QStringLiteral("SELECT CodCliente, CodPropiedad FROM PropiedadesVistas "
                                               "UNION ALL SELECT CodCliente, CodPropiedad FROM "
                                               "PropiedadesEnviadas UNION ALL SELECT CodCliente, "
                                               "CodPropiedad FROM PropiedadesDescartadas"));
    while (cursor.next())
        conocidas[cursor.value(0).toString()].insert(cursor.value(1).toString());
    return conocidas;
}

// True when some property of the list within the client's budget suits the
// client and is not among the known ones.
bool hayNueva(const Lista& lista, const Deseos& d, double tolerancia, const QSet<QString>* conocidas) {
    auto desde = lista.begin();
    auto hasta = lista.end();
    if (d.maximo > 0 || d.minimo > 0) {
        // A cent of margin either side: Puntuar decides exactly, in cents.
        const double minimo = d.minimo > 0 ? d.minimo - 0.01 : -std::numeric_limits<double>::infinity();
        const double maximo =
            d.maximo > 0 ? d.maximo * (1.0 + tolerancia / 100.0) + 0.01 : std::numeric_limits<double>::max();
        desde = std::lower_bound(lista.begin(), lista.end(), minimo,
                                 [](const Oferta* o, double v) { return clave(*o) < v; });
        hasta = std::upper_bound(desde, lista.end(), maximo,
                                 [](double v, const Oferta* o) { return v < clave(*o); });
    }
    for (auto it = desde; it != hasta; ++it) {
        const Oferta& o = **it;
        // Most candidates fail on a number or a flag: those are looked at before Puntuar.
        if (o.dormitorios < d.dormitorios || (d.codTipo != 0 && o.codTipo != d.codTipo) ||
            (d.piscina && !o.piscina) || (d.garaje && !o.garaje) || (d.ascensor && !o.ascensor) ||
            (d.terraza && !o.terraza))
            continue;
        if (Puntuar(d, o, tolerancia, nullptr, nullptr) && !(conocidas && conocidas->contains(o.cod)))
            return true;
    }
    return false;
}

} // namespace

QStringList ClientesConNovedades(db::Database& database) {
    return ClientesConNovedades(database, LeerTolerancia(database));
}

QStringList ClientesConNovedades(db::Database& database, double tolerancia) {
    const std::vector<Oferta> ofertas = leerOfertas(database);
    // By side (sales, rentals), then by type: 0 holds every type, for clients who want any.
    QHash<qint64, Escaparate> lados[2];
    for (const Oferta& o : ofertas)
        for (const qint64 tipo : {qint64(0), o.codTipo}) {
            Escaparate& e = lados[o.alquiler ? 1 : 0][tipo];
            e.todas.push_back(&o);
            if (o.codArea != 0)
                e.porArea[o.codArea].push_back(&o);
            if (o.codLocalidad != 0)
                e.porLocalidad[o.codLocalidad].push_back(&o);
            if (o.codTipo == 0)
                break;
        }
    const QHash<QString, QSet<QString>> conocidas = leerConocidas(database);

    QStringList con;
    db::Cursor cursor(database,
                      QStringLiteral("SELECT %1 FROM Clientes c WHERE c.Estado = 'Buscando' ORDER BY c.Cod")
                          .arg(ColumnasDeseos));
    while (cursor.next()) {
        const Deseos d = leerDeseos(cursor.row());
        const auto escaparate = lados[d.alquiler ? 1 : 0].constFind(d.codTipo);
        if (escaparate == lados[d.alquiler ? 1 : 0].cend())
            continue; // nothing of that type on offer
        const Escaparate& e = escaparate.value();
        const auto k = conocidas.constFind(d.cod);
        const QSet<QString>* suyas = k == conocidas.cend() ? nullptr : &k.value();
        bool nueva = false;
        if (d.areas.isEmpty() && d.localidades.isEmpty()) {
            nueva = hayNueva(e.todas, d, tolerancia, suyas);
        } else {
            const auto buscar = [&](const QHash<qint64, Lista>& por, const QList<qint64>& claves) {
                for (qint64 c : claves)
                    if (const auto l = por.constFind(c); !nueva && l != por.cend())
                        nueva = hayNueva(l.value(), d, tolerancia, suyas);
            };
            buscar(e.porArea, d.areas);
            buscar(e.porLocalidad, d.localidades);
        }
        if (nueva)
            con << d.cod;
    }
    return con;
}

} // namespace orb::coincidencias
