#include "Coincidencias.h"

#include "CoincidenciasFilas.h"

#include "platform/db/Cursor.h"
#include "platform/db/Statement.h"
#include "shell/ConfigStore.h"
#include "shell/Services.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

namespace orb::coincidencias {

using namespace filas;

namespace {

// Points of each reason. A wanted area outweighs a wanted locality.
constexpr int PuntosPrecio = 40;
constexpr int PuntosTolerancia = 20;
constexpr int PuntosArea = 30;
constexpr int PuntosLocalidad = 15;
constexpr int PuntosTipo = 10;
constexpr int PuntosDormitorios = 10;
constexpr int PuntosCaracteristica = 5;

qint64 centimos(double importe) {
    return std::llround(importe * 100.0);
}

const QLocale& espanol() {
    static const QLocale l(QLocale::Spanish, QLocale::Spain);
    return l;
}

QString importe(double v) {
    return FormatoImporte(v) + QStringLiteral(" €");
}

QString placeholders(qsizetype n) {
    QStringList q;
    for (qsizetype i = 0; i < n; ++i)
        q << QStringLiteral("?");
    return q.join(u',');
}

void ordenar(QList<Coincidencia>& lista) {
    std::stable_sort(lista.begin(), lista.end(), [](const Coincidencia& a, const Coincidencia& b) {
        if (a.puntos != b.puntos)
            return a.puntos > b.puntos;
        if (a.propiedad.precio != b.propiedad.precio)
            return a.propiedad.precio < b.propiedad.precio;
        return a.codPropiedad + a.codCliente < b.codPropiedad + b.codCliente;
    });
}

QString hoy() {
    return QDate::currentDate().toString(Qt::ISODate);
}

} // namespace

QString EstadoDisponible(bool alquiler) {
    return alquiler ? QStringLiteral("Libre") : QStringLiteral("En Venta");
}

double LeerTolerancia(db::Database& database) {
    const db::Value v = LeerConfig(database, QStringLiteral("COINCIDENCIAS"), QStringLiteral("TOLERANCIA"));
    const std::optional<double> n = LeerNumero(v.toString());
    return n && *n > 0 ? *n : 0.0;
}

bool DentroDelPresupuesto(double precio, const Deseos& d, double tolerancia) {
    const qint64 p = centimos(precio);
    if (d.minimo > 0 && p < centimos(d.minimo))
        return false;
    if (d.maximo <= 0)
        return true;
    // Tolerance in hundredths of a percent: p × 10000 ≤ max × (10000 + t), exact in 64 bits.
    const qint64 t = std::llround(tolerancia * 100.0);
    return p * 10000 <= centimos(d.maximo) * (10000 + t);
}

bool Puntuar(const Deseos& d, const Oferta& o, double tolerancia, int* puntos, QStringList* motivos) {
    int total = 0;
    QStringList por;
    // The reasons' texts are only written when asked for: counting news matches thousands of pairs.
    const auto anota = [&](int p, const auto& texto) {
        total += p;
        if (motivos)
            por << texto();
    };
    if (o.alquiler != d.alquiler || o.estado != EstadoDisponible(o.alquiler))
        return false;
    if (d.maximo > 0 || d.minimo > 0) {
        if (!o.tienePrecio || !DentroDelPresupuesto(o.precio, d, tolerancia))
            return false;
        if (d.maximo <= 0 || centimos(o.precio) <= centimos(d.maximo)) {
            anota(PuntosPrecio, [&] {
                return QCoreApplication::translate("Coincidencias", "Precio %1 dentro del presupuesto")
                    .arg(importe(o.precio));
            });
        } else {
            anota(PuntosTolerancia, [&] {
                const double sobre = (o.precio - d.maximo) * 100.0 / d.maximo;
                return QCoreApplication::translate("Coincidencias", "Precio %1, un %2% sobre el presupuesto")
                    .arg(importe(o.precio), espanol().toString(sobre, 'f', 1));
            });
        }
    }
    if (!d.areas.isEmpty() || !d.localidades.isEmpty()) {
        if (o.codArea != 0 && d.areas.contains(o.codArea)) {
            anota(PuntosArea, [&] {
                return QCoreApplication::translate("Coincidencias", "Zona %1")
                    .arg(o.area.isEmpty() ? QString::number(o.codArea) : o.area);
            });
        } else if (o.codLocalidad != 0 && d.localidades.contains(o.codLocalidad)) {
            anota(PuntosLocalidad, [&] {
                return QCoreApplication::translate("Coincidencias", "Localidad %1")
                    .arg(o.localidad.isEmpty() ? QString::number(o.codLocalidad) : o.localidad);
            });
        } else {
            return false;
        }
    }
    if (d.codTipo != 0) {
        if (o.codTipo != d.codTipo)
            return false;
        anota(PuntosTipo,
              [&] { return QCoreApplication::translate("Coincidencias", "Tipo %1").arg(o.tipo); });
    }
    if (d.dormitorios > 0) {
        if (o.dormitorios < d.dormitorios)
            return false;
        anota(PuntosDormitorios, [&] {
            return QCoreApplication::translate("Coincidencias", "%n dormitorios (mínimo %1)", nullptr,
                                               o.dormitorios)
                .arg(d.dormitorios);
        });
    }
    const struct {
        bool quiere, tiene;
        const char* nombre;
    } caracteristicas[] = {{d.piscina, o.piscina, QT_TRANSLATE_NOOP("Coincidencias", "Piscina")},
                           {d.garaje, o.garaje, QT_TRANSLATE_NOOP("Coincidencias", "Garaje")},
                           {d.ascensor, o.ascensor, QT_TRANSLATE_NOOP("Coincidencias", "Ascensor")},
                           {d.terraza, o.terraza, QT_TRANSLATE_NOOP("Coincidencias", "Terraza")}};
    for (const auto& c : caracteristicas) {
        if (!c.quiere)
            continue;
        if (!c.tiene)
            return false;
        anota(PuntosCaracteristica, [&] { return QCoreApplication::translate("Coincidencias", c.nombre); });
    }
    if (puntos)
        *puntos = total;
    if (motivos)
        *motivos = por;
    return true;
}

bool LeerDeseos(db::Database& database, const QString& codCliente, Deseos* deseos) {
    const QList<db::Row> filas = database.query(
        QStringLiteral("SELECT %1 FROM Clientes c WHERE c.Cod = ?").arg(ColumnasDeseos), {codCliente});
    if (filas.isEmpty())
        return false;
    *deseos = leerDeseos(filas.first());
    return true;
}

Consulta SqlPropiedadesParaCliente(const Deseos& d, double tolerancia, bool conDescartadas) {
    const QString precio = d.alquiler ? QStringLiteral("p.PrecioAlquiler") : QStringLiteral("p.Precio");
    // The statement narrows by the indexed state, side and price range; Puntuar
    // decides exactly. Every condition here is one Puntuar also applies.
    QString sql = QStringLiteral("SELECT %1, "
                                 "EXISTS (SELECT 1 FROM PropiedadesEnviadas e WHERE e.CodCliente = ? AND "
                                 "e.CodPropiedad = p.Cod), "
                                 "EXISTS (SELECT 1 FROM PropiedadesDescartadas x WHERE x.CodCliente = ? AND "
                                 "x.CodPropiedad = p.Cod), "
                                 "EXISTS (SELECT 1 FROM PropiedadesVistas v WHERE v.CodCliente = ? AND "
                                 "v.CodPropiedad = p.Cod) "
                                 "FROM Propiedades p %2WHERE p.Estado = ? AND p.Alquiler = ?")
                      .arg(ColumnasOferta(), UnionesOferta);
    db::Params params{d.cod, d.cod, d.cod, EstadoDisponible(d.alquiler), d.alquiler ? 1 : 0};
    if (d.maximo > 0) {
        // A cent above the limit: the exact check in cents is Puntuar's.
        const double limite = d.maximo * (1.0 + tolerancia / 100.0) + 0.01;
        sql += QStringLiteral(" AND %1 <= ?").arg(precio);
        params << limite;
    }
    if (d.minimo > 0) {
        sql += QStringLiteral(" AND %1 >= ?").arg(precio);
        params << d.minimo - 0.01;
    }
    if (d.codTipo != 0) {
        sql += QStringLiteral(" AND p.CodTipo = ?");
        params << d.codTipo;
    }
    if (d.dormitorios > 0) {
        sql += QStringLiteral(" AND p.Dormitorios >= ?");
        params << d.dormitorios;
    }
    if (!d.areas.isEmpty() || !d.localidades.isEmpty()) {
        sql += QStringLiteral(" AND (p.CodArea IN (%1) OR p.CodLocalidad IN (%2))")
                   .arg(placeholders(std::max<qsizetype>(1, d.areas.size())),
                        placeholders(std::max<qsizetype>(1, d.localidades.size())));
        if (d.areas.isEmpty())
            params << db::Value();
        for (qint64 a : d.areas)
            params << a;
        if (d.localidades.isEmpty())
            params << db::Value();
        for (qint64 l : d.localidades)
            params << l;
    }
    if (d.ascensor)
        sql += QStringLiteral(" AND p.Ascensor = TRUE");
    if (!conDescartadas) {
        sql +=
            QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM PropiedadesDescartadas x WHERE x.CodCliente = ? "
                           "AND x.CodPropiedad = p.Cod)");
        params << d.cod;
    }

    return {sql, params};
}

QList<Coincidencia> PropiedadesParaCliente(db::Database& database, const QString& codCliente,
                                           bool conDescartadas) {
    Deseos d;
    if (!LeerDeseos(database, codCliente, &d))
        return {};
    const double tolerancia = LeerTolerancia(database);
    const auto [sql, params] = SqlPropiedadesParaCliente(d, tolerancia, conDescartadas);
    QList<Coincidencia> lista;
    db::Cursor cursor(database, sql, params);
    while (cursor.next()) {
        const db::Row& r = cursor.row();
        Coincidencia c;
        c.propiedad = leerOferta(r);
        if (!Puntuar(d, c.propiedad, tolerancia, &c.puntos, &c.motivos))
            continue;
        c.codCliente = d.cod;
        c.codPropiedad = c.propiedad.cod;
        c.nombreCliente = d.nombre;
        c.emailCliente = d.email;
        c.enviada = siNo(r[NumColumnasOferta]);
        c.descartada = siNo(r[NumColumnasOferta + 1]);
        c.vista = siNo(r[NumColumnasOferta + 2]);
        lista << c;
    }
    ordenar(lista);
    return lista;
}

Consulta SqlClientesParaPropiedad(const Oferta& o, double tolerancia) {
    QString sql =
        QStringLiteral(
            "SELECT %1, "
            "EXISTS (SELECT 1 FROM PropiedadesEnviadas e WHERE e.CodCliente = c.Cod AND "
            "e.CodPropiedad = ?), "
            "EXISTS (SELECT 1 FROM PropiedadesVistas v WHERE v.CodCliente = c.Cod AND v.CodPropiedad = ?) "
            "FROM Clientes c WHERE c.Estado = 'Buscando' AND c.Alquiler = ? "
            "AND NOT EXISTS (SELECT 1 FROM PropiedadesDescartadas x WHERE x.CodCliente = c.Cod AND "
            "x.CodPropiedad = ?) "
            "AND (c.CodTipo IS NULL OR c.CodTipo = 0 OR c.CodTipo = ?) "
            "AND ifnull(c.DormitoriosMinimo, 0) <= ?")
            .arg(ColumnasDeseos);
    db::Params params{o.cod, o.cod, o.alquiler ? 1 : 0, o.cod, o.codTipo, o.dormitorios};
    if (o.tienePrecio) {
        // A cent below the lowest maximum the price can meet; Puntuar checks exactly.
        sql += QStringLiteral(" AND (c.Presupuesto IS NULL OR c.Presupuesto <= 0 OR c.Presupuesto >= ?) "
                              "AND ifnull(c.PresupuestoMinimo, 0) <= ?");
        params << o.precio / (1.0 + tolerancia / 100.0) - 0.01 << o.precio + 0.01;
    } else {
        sql += QStringLiteral(" AND ifnull(c.Presupuesto, 0) <= 0 AND ifnull(c.PresupuestoMinimo, 0) <= 0");
    }
    // Clients with no wanted place, or one this property is in: an area row counts for
    // its area only, a locality row (no area) for the whole locality.
    sql += QStringLiteral(
        " AND (EXISTS (SELECT 1 FROM ClientesZonas z WHERE z.CodCliente = c.Cod AND (z.CodArea = ? OR "
        "(ifnull(z.CodArea, 0) = 0 AND z.CodLocalidad = ?))) "
        "OR NOT EXISTS (SELECT 1 FROM ClientesZonas z WHERE z.CodCliente = c.Cod AND "
        "(ifnull(z.CodArea, 0) <> 0 OR ifnull(z.CodLocalidad, 0) <> 0)))");
    params << (o.codArea != 0 ? db::Value(o.codArea) : db::Value())
           << (o.codLocalidad != 0 ? db::Value(o.codLocalidad) : db::Value());
    if (!o.piscina)
        sql += QStringLiteral(" AND c.QuierePiscina IS NOT TRUE");
    if (!o.garaje)
        sql += QStringLiteral(" AND c.QuiereGaraje IS NOT TRUE");
    if (!o.ascensor)
        sql += QStringLiteral(" AND c.QuiereAscensor IS NOT TRUE");
    if (!o.terraza)
        sql += QStringLiteral(" AND c.QuiereTerraza IS NOT TRUE");

    return {sql, params};
}

QList<Coincidencia> ClientesParaPropiedad(db::Database& database, const QString& codPropiedad) {
    const QList<db::Row> filas = database.query(
        QStringLiteral("SELECT %1 FROM Propiedades p %2WHERE p.Cod = ?").arg(ColumnasOferta(), UnionesOferta),
        {codPropiedad});
    if (filas.isEmpty())
        return {};
    const Oferta o = leerOferta(filas.first());
    if (o.estado != EstadoDisponible(o.alquiler))
        return {};
    const double tolerancia = LeerTolerancia(database);

    const auto [sql, params] = SqlClientesParaPropiedad(o, tolerancia);
    QList<Coincidencia> lista;
    db::Cursor cursor(database, sql, params);
    while (cursor.next()) {
        const db::Row& r = cursor.row();
        const Deseos d = leerDeseos(r);
        Coincidencia c;
        if (!Puntuar(d, o, tolerancia, &c.puntos, &c.motivos))
            continue;
        c.propiedad = o;
        c.codCliente = d.cod;
        c.codPropiedad = o.cod;
        c.nombreCliente = d.nombre;
        c.emailCliente = d.email;
        c.telefonoCliente = r[ColumnaTelefono].toString();
        c.enviada = siNo(r[NumColumnasDeseos]);
        c.vista = siNo(r[NumColumnasDeseos + 1]);
        lista << c;
    }
    ordenar(lista);
    return lista;
}

void MarcarNoInteresa(db::Database& database, const QString& codCliente, const QString& codPropiedad,
                      bool noInteresa) {
    if (noInteresa)
        database.execute(QStringLiteral("INSERT INTO PropiedadesDescartadas (CodCliente, CodPropiedad, "
                                        "Fecha) VALUES (?, ?, ?) ON CONFLICT DO NOTHING"),
                         {codCliente, codPropiedad, hoy()});
    else
        database.execute(
            QStringLiteral("DELETE FROM PropiedadesDescartadas WHERE CodCliente = ? AND CodPropiedad = ?"),
            {codCliente, codPropiedad});
}

namespace {

void marcarPares(db::Database& database, const QList<std::pair<QString, QString>>& pares) {
    db::runInTransaction(database, [&] {
        const QString fecha = hoy();
        db::Statement marcar(database,
                             QStringLiteral("INSERT INTO PropiedadesVistas (CodCliente, "
                                            "CodPropiedad, Fecha) VALUES (?, ?, ?) ON CONFLICT DO NOTHING"));
        for (const auto& [cliente, propiedad] : pares)
            marcar.execute({cliente, propiedad, fecha});
    });
}

} // namespace

void MarcarVistas(db::Database& database, const QString& codCliente, const QStringList& codPropiedades) {
    QList<std::pair<QString, QString>> pares;
    for (const QString& cod : codPropiedades)
        pares.append({codCliente, cod});
    marcarPares(database, pares);
}

void MarcarVistas(db::Database& database, const QList<Coincidencia>& coincidencias) {
    QList<std::pair<QString, QString>> pares;
    for (const Coincidencia& c : coincidencias)
        if (!c.vista)
            pares.append({c.codCliente, c.codPropiedad});
    marcarPares(database, pares);
}

void RegistrarEnvio(db::Database& database, const QString& codCliente, const QString& nombreCliente,
                    const QStringList& codPropiedades, const QString& agente) {
    db::runInTransaction(database, [&] {
        const QString fecha = hoy();
        // The log's fields are 50 and 255 characters wide.
        const QString cliente = nombreCliente.left(50);
        const QString actividad = (QStringLiteral("Enviada a ") + nombreCliente).left(255);
        db::Statement anotar(database,
                             QStringLiteral("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, "
                                            "Cliente, Actividad, Agente) VALUES (?, ?, ?, ?, ?, ?)"));
        // The pair is unique: sending again moves its day.
        db::Statement marcar(database,
                             QStringLiteral("INSERT INTO PropiedadesEnviadas (CodCliente, CodPropiedad, "
                                            "Fecha, Agente) VALUES (?, ?, ?, ?) ON CONFLICT (CodCliente, "
                                            "CodPropiedad) DO UPDATE SET Fecha = excluded.Fecha, Agente = "
                                            "excluded.Agente"));
        const QString quien = agente.left(50);
        for (const QString& cod : codPropiedades) {
            anotar.execute({cod, fecha, codCliente, cliente, actividad, quien});
            marcar.execute({codCliente, cod, fecha, quien});
        }
    });
}

} // namespace orb::coincidencias
