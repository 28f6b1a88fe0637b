#include "CoincidenciasFilas.h"

#include "shell/Idioma.h"
#include "shell/Services.h"

#include <algorithm>

namespace orb::coincidencias::filas {

namespace {

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

} // namespace

bool siNo(const db::Value& v) {
    return !db::isNull(v) && v.toBool();
}

namespace {

const QString ColumnasParaPuntuar = QStringLiteral(
    "p.Cod, p.Alquiler, p.Estado, CASE WHEN p.Alquiler THEN p.PrecioAlquiler ELSE p.Precio END, p.CodTipo, "
    "p.CodLocalidad, p.CodArea, p.Dormitorios, p.Piscina, p.Garaje, p.PlazasGaraje, p.Ascensor, "
    "p.Terrazas, ");

} // namespace

QString ColumnasOferta() {
    return ColumnasParaPuntuar + NombreTipo(QStringLiteral("t")) +
           QStringLiteral(", l.Nombre, a.Nombre, p.Direccion");
}
const QString ColumnasOfertaSinNombres = ColumnasParaPuntuar + QStringLiteral("NULL, NULL, NULL, NULL");
const QString UnionesOferta = QStringLiteral("LEFT JOIN Tipos t ON t.Cod = p.CodTipo "
                                             "LEFT JOIN Localidades l ON l.Cod = p.CodLocalidad "
                                             "LEFT JOIN Areas a ON a.Cod = p.CodArea ");

Oferta leerOferta(const db::Row& r) {
    Oferta o;
    o.cod = r[0].toString();
    o.alquiler = siNo(r[1]);
    o.estado = r[2].toString();
    o.tienePrecio = !db::isNull(r[3]);
    o.precio = numero(r[3]);
    o.codTipo = r[4].toLongLong();
    o.codLocalidad = r[5].toLongLong();
    o.codArea = r[6].toLongLong();
    o.dormitorios = r[7].toInt();
    o.piscina = exterior(r[8]);
    o.garaje = exterior(r[9]) || r[10].toInt() > 0;
    o.ascensor = siNo(r[11]);
    o.terraza = hayTerraza(r[12]);
    o.tipo = r[13].toString();
    o.localidad = r[14].toString();
    o.area = r[15].toString();
    o.direccion = r[16].toString();
    return o;
}

const QString ColumnasDeseos =
    QStringLiteral("c.Cod, c.Nombre, c.Email, c.Alquiler, c.Presupuesto, c.PresupuestoMinimo, "
                   "c.DormitoriosMinimo, c.CodTipo, "
                   "c.QuierePiscina, c.QuiereGaraje, c.QuiereAscensor, c.QuiereTerraza, c.Telefono, "
                   "(SELECT group_concat(ifnull(z.CodArea, 0) || ':' || ifnull(z.CodLocalidad, 0)) "
                   "FROM ClientesZonas z WHERE z.CodCliente = c.Cod)");

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

} // namespace orb::coincidencias::filas
