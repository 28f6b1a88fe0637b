#include "Coincidencias.h"

#include "platform/db/Cursor.h"
#include "shell/ConfigStore.h"
#include "shell/Services.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

namespace orb::coincidencias {

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

// Amounts come as numbers from the engine; only text needs reading the Spanish way.
double numero(const db::Value& v) {
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
        return v.toDouble();
    default:
        return db::isNull(v) ? 0.0 : ValorNumerico(v);
    }
}

bool siNo(const db::Value& v) {
    return !db::isNull(v) && v.toBool();
}

// "P"rivate or "C"ommunal; "N" or nothing is none.
bool exterior(const db::Value& v) {
    const QString s = v.toString().trimmed().toUpper();
    return s == u"P" || s == u"C";
}

// Terrazas holds a count or a text: anything but empty, 0 or "no" is a terrace.
bool hayTerraza(const db::Value& v) {
    const QString s = v.toString().trimmed().toLower();
    return !s.isEmpty() && s != u"0" && s != u"no" && s != u"n";
}

QString placeholders(qsizetype n) {
    QStringList q;
    for (qsizetype i = 0; i < n; ++i)
        q << QStringLiteral("?");
    return q.join(u',');
}

// Columns of a property the matching reads, in this order.
const QString ColumnasOferta = QStringLiteral(
    "p.Cod, p.Alquiler, p.Estado, CASE WHEN p.Alquiler THEN p.PrecioAlquiler ELSE p.Precio END, p.CodTipo, "
    "p.CodLocalidad, p.CodArea, p.Dormitorios, p.Piscina, p.Garaje, p.PlazasGaraje, p.Ascensor, p.Terrazas, "
    "t.Nombre, l.Nombre, a.Nombre, p.Direccion");
const QString UnionesOferta = QStringLiteral("LEFT JOIN Tipos t ON t.Cod = p.CodTipo "
                                             "LEFT JOIN Localidades l ON l.Cod = p.CodLocalidad "
                                             "LEFT JOIN Areas a ON a.Cod = p.CodArea ");
constexpr int NumColumnasOferta = 17;

Oferta leerOferta(const db::Row& r, int base = 0) {
    Oferta o;
    o.cod = r[base + 0].toString();
    o.alquiler = siNo(r[base + 1]);
    o.estado = r[base + 2].toString();
    o.tienePrecio = !db::isNull(r[base + 3]);
    o.precio = numero(r[base + 3]);
    o.codTipo = r[base + 4].toLongLong();
    o.codLocalidad = r[base + 5].toLongLong();
    o.codArea = r[base + 6].toLongLong();
    o.dormitorios = r[base + 7].toInt();
    o.piscina = exterior(r[base + 8]);
    o.garaje = exterior(r[base + 9]) || r[base + 10].toInt() > 0;
    o.ascensor = siNo(r[base + 11]);
    o.terraza = hayTerraza(r[base + 12]);
    o.tipo = r[base + 13].toString();
    o.localidad = r[base + 14].toString();
    o.area = r[base + 15].toString();
    o.direccion = r[base + 16].toString();
    return o;
}

const QString ColumnasDeseos =
    QStringLiteral("c.Cod, c.Nombre, c.Email, c.Alquiler, c.Presupuesto, c.PresupuestoMinimo, "
                   "c.DormitoriosMinimo, c.CodTipo, "
                   "c.QuierePiscina, c.QuiereGaraje, c.QuiereAscensor, c.QuiereTerraza, c.Telefono");
// Columns of ColumnasDeseos and ZonasDeseos together.
constexpr int NumColumnasDeseos = 14;
// The client's wanted places in one column, in the order they were entered.
const QString ZonasDeseos = QStringLiteral(
    "(SELECT group_concat(ifnull(z.CodArea, 0) || ':' || ifnull(z.CodLocalidad, 0)) "
    "FROM (SELECT CodArea, CodLocalidad FROM ClientesZonas WHERE CodCliente = c.Cod ORDER BY Cod) z)");

Deseos leerDeseos(const db::Row& r) {
    Deseos d;
    d.cod = r[0].toString();
    d.nombre = r[1].toString();
    d.email = r[2].toString();
    d.alquiler = siNo(r[3]);
    d.maximo = std::max(0.0, numero(r[4]));
    d.minimo = std::max(0.0, numero(r[5]));
    d.dormitorios = std::max(0, r[6].toInt());
    d.codTipo = r[7].toLongLong();
    d.piscina = siNo(r[8]);
    d.garaje = siNo(r[9]);
    d.ascensor = siNo(r[10]);
    d.terraza = siNo(r[11]);
    // Column 12 is the telephone; 13 the wanted places as "area:locality,…".
    for (const QString& z : r.value(13).toString().split(u',', Qt::SkipEmptyParts)) {
        const qint64 area = z.section(u':', 0, 0).toLongLong();
        const qint64 localidad = z.section(u':', 1, 1).toLongLong();
        if (area != 0)
            d.areas << area;
        else if (localidad != 0)
            d.localidades << localidad;
    }
    return d;
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

void enTransaccion(db::Database& database, const std::function<void()>& fn) {
    std::optional<db::Transaction> tx;
    if (!database.inTransaction())
        tx.emplace(database);
    fn();
    if (tx)
        tx->commit();
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
    if (o.alquiler != d.alquiler || o.estado != EstadoDisponible(o.alquiler))
        return false;
    if (d.maximo > 0 || d.minimo > 0) {
        if (!o.tienePrecio || !DentroDelPresupuesto(o.precio, d, tolerancia))
            return false;
        if (d.maximo <= 0 || centimos(o.precio) <= centimos(d.maximo)) {
            total += PuntosPrecio;
            por << QStringLiteral("Precio %1 dentro del presupuesto").arg(importe(o.precio));
        } else {
            total += PuntosTolerancia;
            const double sobre = (o.precio - d.maximo) * 100.0 / d.maximo;
            por << QStringLiteral("Precio %1, un %2% sobre el presupuesto")
                       .arg(importe(o.precio), espanol().toString(sobre, 'f', 1));
        }
    }
    if (!d.areas.isEmpty() || !d.localidades.isEmpty()) {
        if (o.codArea != 0 && d.areas.contains(o.codArea)) {
            total += PuntosArea;
            por << QStringLiteral("Zona %1").arg(o.area.isEmpty() ? QString::number(o.codArea) : o.area);
        } else if (o.codLocalidad != 0 && d.localidades.contains(o.codLocalidad)) {
            total += PuntosLocalidad;
            por << QStringLiteral("Localidad %1")
                       .arg(o.localidad.isEmpty() ? QString::number(o.codLocalidad) : o.localidad);
        } else {
            return false;
        }
    }
    if (d.codTipo != 0) {
        if (o.codTipo != d.codTipo)
            return false;
        total += PuntosTipo;
        por << QStringLiteral("Tipo %1").arg(o.tipo);
    }
    if (d.dormitorios > 0) {
        if (o.dormitorios < d.dormitorios)
            return false;
        total += PuntosDormitorios;
        por << QStringLiteral("%1 dormitorios (mínimo %2)").arg(o.dormitorios).arg(d.dormitorios);
    }
    const struct {
        bool quiere, tiene;
        const char16_t* nombre;
    } caracteristicas[] = {{d.piscina, o.piscina, u"Piscina"},
                           {d.garaje, o.garaje, u"Garaje"},
                           {d.ascensor, o.ascensor, u"Ascensor"},
                           {d.terraza, o.terraza, u"Terraza"}};
    for (const auto& c : caracteristicas) {
        if (!c.quiere)
            continue;
        if (!c.tiene)
            return false;
        total += PuntosCaracteristica;
        por << QString::fromUtf16(c.nombre);
    }
    if (puntos)
        *puntos = total;
    if (motivos)
        *motivos = por;
    return true;
}

bool LeerDeseos(db::Database& database, const QString& codCliente, Deseos* deseos) {
    const QList<db::Row> filas = database.query(
        QStringLiteral("SELECT %1, %2 FROM Clientes c WHERE c.Cod = ?").arg(ColumnasDeseos, ZonasDeseos),
        {codCliente});
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
                      .arg(ColumnasOferta, UnionesOferta);
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
        sql += QStringLiteral(" AND p.Ascensor = 1");
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
        db::Row r;
        r.reserve(NumColumnasOferta + 3);
        for (int i = 0; i < NumColumnasOferta + 3; ++i)
            r << cursor.value(i);
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
            "SELECT %1, %2, "
            "EXISTS (SELECT 1 FROM PropiedadesEnviadas e WHERE e.CodCliente = c.Cod AND "
            "e.CodPropiedad = ?), "
            "EXISTS (SELECT 1 FROM PropiedadesVistas v WHERE v.CodCliente = c.Cod AND v.CodPropiedad = ?) "
            "FROM Clientes c WHERE c.Estado = 'Buscando' AND c.Alquiler = ? "
            "AND NOT EXISTS (SELECT 1 FROM PropiedadesDescartadas x WHERE x.CodCliente = c.Cod AND "
            "x.CodPropiedad = ?) "
            "AND (c.CodTipo IS NULL OR c.CodTipo = 0 OR c.CodTipo = ?) "
            "AND ifnull(c.DormitoriosMinimo, 0) <= ?")
            .arg(ColumnasDeseos, ZonasDeseos);
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
        sql += QStringLiteral(" AND c.QuierePiscina IS NOT 1");
    if (!o.garaje)
        sql += QStringLiteral(" AND c.QuiereGaraje IS NOT 1");
    if (!o.ascensor)
        sql += QStringLiteral(" AND c.QuiereAscensor IS NOT 1");
    if (!o.terraza)
        sql += QStringLiteral(" AND c.QuiereTerraza IS NOT 1");

    return {sql, params};
}

QList<Coincidencia> ClientesParaPropiedad(db::Database& database, const QString& codPropiedad) {
    const QList<db::Row> filas = database.query(
        QStringLiteral("SELECT %1 FROM Propiedades p %2WHERE p.Cod = ?").arg(ColumnasOferta, UnionesOferta),
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
        db::Row r;
        r.reserve(NumColumnasDeseos + 2);
        for (int i = 0; i < NumColumnasDeseos + 2; ++i)
            r << cursor.value(i);
        const Deseos d = leerDeseos(r);
        Coincidencia c;
        if (!Puntuar(d, o, tolerancia, &c.puntos, &c.motivos))
            continue;
        c.propiedad = o;
        c.codCliente = d.cod;
        c.codPropiedad = o.cod;
        c.nombreCliente = d.nombre;
        c.emailCliente = d.email;
        c.telefonoCliente = r[12].toString();
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
        database.execute(
            QStringLiteral("INSERT OR IGNORE INTO PropiedadesDescartadas (CodCliente, CodPropiedad, "
                           "Fecha) VALUES (?, ?, ?)"),
            {codCliente, codPropiedad, hoy()});
    else
        database.execute(
            QStringLiteral("DELETE FROM PropiedadesDescartadas WHERE CodCliente = ? AND CodPropiedad = ?"),
            {codCliente, codPropiedad});
}

void MarcarVistas(db::Database& database, const QString& codCliente, const QStringList& codPropiedades) {
    enTransaccion(database, [&] {
        const QString fecha = hoy();
        for (const QString& cod : codPropiedades)
            database.execute(
                QStringLiteral("INSERT OR IGNORE INTO PropiedadesVistas (CodCliente, CodPropiedad, "
                               "Fecha) VALUES (?, ?, ?)"),
                {codCliente, cod, fecha});
    });
}

void RegistrarEnvio(db::Database& database, const QString& codCliente, const QString& nombreCliente,
                    const QStringList& codPropiedades) {
    enTransaccion(database, [&] {
        const QString fecha = hoy();
        // The log's fields are 50 and 255 characters wide.
        const QString cliente = nombreCliente.left(50);
        const QString actividad = (QStringLiteral("Enviada a ") + nombreCliente).left(255);
        for (const QString& cod : codPropiedades) {
            database.execute(QStringLiteral("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, "
                                            "Actividad) VALUES (?, ?, ?, ?, ?)"),
                             {cod, fecha, codCliente, cliente, actividad});
            database.execute(QStringLiteral("INSERT OR REPLACE INTO PropiedadesEnviadas (CodCliente, "
                                            "CodPropiedad, Fecha) VALUES (?, ?, ?)"),
                             {codCliente, cod, fecha});
        }
    });
}

QStringList ClientesConNovedades(db::Database& database) {
    QStringList con;
    const QList<db::Row> clientes =
        database.query(QStringLiteral("SELECT Cod FROM Clientes WHERE Estado = 'Buscando' ORDER BY Cod"));
    for (const db::Row& r : clientes) {
        const QString cod = r[0].toString();
        const QList<Coincidencia> lista = PropiedadesParaCliente(database, cod);
        if (std::any_of(lista.begin(), lista.end(),
                        [](const Coincidencia& c) { return !c.vista && !c.enviada; }))
            con << cod;
    }
    return con;
}

} // namespace orb::coincidencias
