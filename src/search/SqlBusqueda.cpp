#include "SqlBusqueda.h"

#include "platform/db/TextMatching.h"
#include "shell/Fechas.h"
#include "shell/Idioma.h"
#include "shell/Numeros.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>

namespace orb {

namespace {

const QString Escape = QStringLiteral(" ESCAPE '\\'");

// ---- criteria ----

bool vacio(const QString& s) {
    return s.isEmpty();
}

// "Contains" pattern: the user's text literal, except the wildcard.
QString patron(const QString& texto, const QString& comodin) {
    QString p = db::containsPattern(texto);
    if (!comodin.isEmpty() && !comodin.contains(u'%') && !comodin.contains(u'_') && !comodin.contains(u'\\'))
        p.replace(comodin, QStringLiteral("%"));
    return p;
}

// A number typed by the user: digits with Spanish or plain separators, an
// optional sign. Anything else is refused rather than read as 0.
bool numeroValido(const QString& texto, double& valor) {
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?(\\d[\\d.]*)?(,\\d*)?\\s*$"));
    if (!re.match(texto).hasMatch() || !texto.contains(QRegularExpression(QStringLiteral("\\d"))))
        return false;
    valor = ValorNumerico(texto);
    return true;
}

// Collects the clauses of one statement.
class Condicion {
public:
    // porCodigo: the side is tested row by row rather than looked up in an
    // index, so the statement can walk the rows in code order (see below).
    explicit Condicion(bool alquiler, bool porCodigo = false)
        : sql_((porCodigo ? QStringLiteral("+") : QString()) +
               (alquiler ? QStringLiteral("Alquiler = TRUE") : QStringLiteral("Alquiler = FALSE"))) {}

    void igual(const QString& columna, const QVariant& valor) {
        sql_ += QStringLiteral(" AND %1 = ?").arg(columna);
        params_ << valor;
    }
    void rango(const QString& columna, const char* op, const QVariant& valor) {
        sql_ += QStringLiteral(" AND %1 %2 ?").arg(columna, QLatin1String(op));
        params_ << valor;
    }
    void contiene(const QString& columna, const QString& texto, const QString& comodin) {
        if (vacio(texto))
            return;
        sql_ += QStringLiteral(" AND ") + columna + QStringLiteral(" LIKE ?") + Escape;
        params_ << patron(texto, comodin);
    }
    // Names and addresses: accents do not matter.
    void contieneNombre(const QString& columna, const QString& texto, const QString& comodin) {
        if (vacio(texto))
            return;
        // likesinacentos(p, x, e) is sinacentos(x) LIKE sinacentos(p) ESCAPE e, without
        // building the folded text of every row.
        sql_ += QStringLiteral(" AND likesinacentos(?, ") + columna + QStringLiteral(", '\\')");
        params_ << patron(texto, comodin);
    }
    void codigoCatalogo(const QString& columna, const QString& texto) {
        if (!vacio(texto))
            igual(columna, qint64(ValorNumerico(texto)));
    }
    // Dates are read day first; a text that is not a date adds nothing.
    void fecha(const QString& columna, const char* op, const QString& texto) {
        if (vacio(texto))
            return;
        const QDate d = LeerFecha(texto);
        if (d.isValid())
            rango(columna, op, FechaSQL(d));
    }
    // Amounts and counts typed by the user; false (and the message) when not
    // a number, never read as 0. A whole count is compared as a whole number.
    bool numero(const QString& columna, const char* op, const QString& texto, const QString& campo,
                QString& error, bool cuenta = false) {
        if (vacio(texto) || !error.isEmpty())
            return error.isEmpty();
        double v = 0;
        if (!numeroValido(texto, v)) {
            error =
                QCoreApplication::translate("SqlBusqueda", "El campo %1 debe ser un número: «%2» no lo es.")
                    .arg(campo, texto.left(40));
            return false;
        }
        if (cuenta && v == std::trunc(v) && std::abs(v) < 1e15)
            rango(columna, op, qint64(v));
        else
            rango(columna, op, v);
        return true;
    }
    void anadir(const QString& sql, const db::Params& params) {
        sql_ += sql;
        params_ += params;
    }

    ConsultaBusqueda consulta(const QString& columnas, const QString& origen, const QString& orden,
                              const QString& columnasListado = {}) const {
        const QString plantilla = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4");
        return {plantilla.arg(columnas, origen, sql_, orden),
                params_,
                {},
                columnasListado.isEmpty() ? QString() : plantilla.arg(columnasListado, origen, sql_, orden)};
    }

private:
    QString sql_;
    db::Params params_;
};

// Sort column by the list's text; the code breaks ties, so equal rows keep
// one order. Unknown texts sort by code: no list text ever reaches the SQL.
// Empty values first, as the file sorts them; the server would put them last.
QString columnaOrden(const QString& texto, const QStringList& items, const QStringList& columnas) {
    const auto i = items.indexOf(texto);
    const QString col = i >= 0 ? columnas[i] : QStringLiteral("Cod");
    return col == u"Cod" ? col : col + QStringLiteral(" NULLS FIRST, Cod");
}

QString columnasPropiedades(bool alquiler) {
    // An English seat shows a type's English name where it has one.
    const QString tipo = InterfazEnIngles()
                             ? QStringLiteral("(SELECT %1 FROM Tipos t WHERE t.Cod = CodTipo) AS Tipo")
                                   .arg(NombreTipo(QStringLiteral("t")))
                             : QStringLiteral("Tipo");
    return QStringLiteral("Cod,Direccion,%1,Localidad,Area,Dormitorios,Metros,").arg(tipo) +
           ColumnaPrecio(alquiler);
}
const QString ColumnasPropietarios = QStringLiteral("Cod,Nombre,Direccion,Localidad,Telefono,FechaAlta");
// The owners' listing also shows the mobile number.
const QString ColumnasListadoPropietarios = ColumnasPropietarios + QStringLiteral(",Movil");
const QString ColumnasClientes = QStringLiteral("Cod,Nombre,FechaAlta,Telefono,Movil,Tipo,Presupuesto");

ConsultaBusqueda fallo(const QString& error) {
    return {{}, {}, error, {}};
}

} // namespace

QString ColumnaPrecio(bool alquiler) {
    return alquiler ? QStringLiteral("PrecioAlquiler") : QStringLiteral("Precio");
}

// The items are the values compared here; the lists show their translation (context "SqlBusqueda").
const QStringList& OrdenesPropiedades() {
    static const QStringList l{
        QT_TRANSLATE_NOOP("SqlBusqueda", "Código"), QT_TRANSLATE_NOOP("SqlBusqueda", "Dirección"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Tipo"),   QT_TRANSLATE_NOOP("SqlBusqueda", "Localidad"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Area"),   QT_TRANSLATE_NOOP("SqlBusqueda", "Dormitorios"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Metros"), QT_TRANSLATE_NOOP("SqlBusqueda", "Precio")};
    return l;
}
const QStringList& OrdenesPropietarios() {
    static const QStringList l{
        QT_TRANSLATE_NOOP("SqlBusqueda", "Código"),    QT_TRANSLATE_NOOP("SqlBusqueda", "Nombre"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Dirección"), QT_TRANSLATE_NOOP("SqlBusqueda", "Localidad"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Teléfono"),  QT_TRANSLATE_NOOP("SqlBusqueda", "Fecha")};
    return l;
}
const QStringList& OrdenesClientes() {
    static const QStringList l{
        QT_TRANSLATE_NOOP("SqlBusqueda", "Código"),   QT_TRANSLATE_NOOP("SqlBusqueda", "Nombre"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Teléfono"), QT_TRANSLATE_NOOP("SqlBusqueda", "Móvil"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Tipo"),     QT_TRANSLATE_NOOP("SqlBusqueda", "Presupuesto"),
        QT_TRANSLATE_NOOP("SqlBusqueda", "Fecha")};
    return l;
}

namespace {

// Only side and state, the search by code: a result of up to a whole side
// (Find with nothing changed). The statement then walks the code index and
// its first rows come at once; looked up by state it would first collect
// and sort every row of the side.
bool soloLadoYEstado(const CriteriosPropiedades& c) {
    for (const QString* s : {&c.codigo, &c.codTipo, &c.codLocalidad, &c.codArea, &c.direccion, &c.precioDesde,
                             &c.precioHasta, &c.dormitoriosDesde, &c.dormitoriosHasta, &c.agente,
                             &c.fechaDesde, &c.fechaHasta, &c.propietario, &c.telefono})
        if (!vacio(*s))
            return false;
    return OrdenesPropiedades().indexOf(c.orden) <= 0; // "Código" or unknown: by Cod
}

} // namespace

ConsultaBusqueda SqlBusquedaPropiedades(const CriteriosPropiedades& c) {
    const QString precio = ColumnaPrecio(c.alquiler);
    const bool porCodigo = soloLadoYEstado(c);
    Condicion w(c.alquiler, porCodigo);
    QString error;
    // State first: with side and bedrooms it walks the search index
    // (Estado, Alquiler, Dormitorios, Cod, Direccion, Agente), whose text
    // columns are tested there without reading the property's row.
    if (!vacio(c.estado))
        w.igual(porCodigo ? QStringLiteral("+Estado") : QStringLiteral("Estado"), c.estado);
    w.numero(QStringLiteral("Dormitorios"), ">=", c.dormitoriosDesde,
             QCoreApplication::translate("SqlBusqueda", "Nº Dormitorios (desde)"), error, true);
    w.numero(QStringLiteral("Dormitorios"), "<=", c.dormitoriosHasta,
             QCoreApplication::translate("SqlBusqueda", "Nº Dormitorios (hasta)"), error, true);
    w.contiene(QStringLiteral("Cod"), c.codigo, c.comodin);
    w.codigoCatalogo(QStringLiteral("CodTipo"), c.codTipo);
    w.codigoCatalogo(QStringLiteral("CodLocalidad"), c.codLocalidad);
    w.codigoCatalogo(QStringLiteral("CodArea"), c.codArea);
    w.numero(precio, ">=", c.precioDesde, QCoreApplication::translate("SqlBusqueda", "Precio (desde)"),
             error);
    w.numero(precio, "<=", c.precioHasta, QCoreApplication::translate("SqlBusqueda", "Precio (hasta)"),
             error);
    if (!error.isEmpty())
        return fallo(error);
    w.fecha(QStringLiteral("FechaAlta"), ">=", c.fechaDesde);
    w.fecha(QStringLiteral("FechaAlta"), "<=", c.fechaHasta);
    w.contieneNombre(QStringLiteral("Propietario"), c.propietario, c.comodin);
    w.contieneNombre(QStringLiteral("Agente"), c.agente, c.comodin);
    w.contieneNombre(QStringLiteral("Direccion"), c.direccion, c.comodin);
    if (!vacio(c.telefono)) {
        const QString p = patron(c.telefono, c.comodin);
        w.anadir(QStringLiteral(" AND (Telefono LIKE ?%1 OR Movil LIKE ?%1)").arg(Escape), {p, p});
    }
    const QString orden =
        columnaOrden(c.orden, OrdenesPropiedades(),
                     {"Cod", "Direccion", "Tipo", "Localidad", "Area", "Dormitorios", "Metros", precio});
    return w.consulta(columnasPropiedades(c.alquiler), QStringLiteral("busquedapropiedades"), orden);
}

ConsultaBusqueda SqlBusquedaPropietarios(const CriteriosPropietarios& c) {
    Condicion w(c.alquiler);
    w.contiene(QStringLiteral("Cod"), c.codigo, c.comodin);
    w.fecha(QStringLiteral("FechaAlta"), ">=", c.fechaDesde);
    w.fecha(QStringLiteral("FechaAlta"), "<=", c.fechaHasta);
    w.contieneNombre(QStringLiteral("Nombre"), c.nombre, c.comodin);
    const QString orden = columnaOrden(c.orden, OrdenesPropietarios(),
                                       {"Cod", "Nombre", "Direccion", "Localidad", "Telefono", "FechaAlta"});
    return w.consulta(ColumnasPropietarios, QStringLiteral("Propietarios"), orden,
                      ColumnasListadoPropietarios);
}

ConsultaBusqueda SqlBusquedaClientes(const CriteriosClientes& c) {
    Condicion w(c.alquiler);
    QString error;
    w.contiene(QStringLiteral("Cod"), c.codigo, c.comodin);
    w.codigoCatalogo(QStringLiteral("CodTipo"), c.codTipo);
    w.numero(QStringLiteral("Presupuesto"), ">=", c.presupuestoDesde,
             QCoreApplication::translate("SqlBusqueda", "Presupuesto (desde)"), error);
    w.numero(QStringLiteral("Presupuesto"), "<=", c.presupuestoHasta,
             QCoreApplication::translate("SqlBusqueda", "Presupuesto (hasta)"), error);
    if (!error.isEmpty())
        return fallo(error);
    w.fecha(QStringLiteral("FechaAlta"), ">=", c.fechaDesde);
    w.fecha(QStringLiteral("FechaAlta"), "<=", c.fechaHasta);
    w.contieneNombre(QStringLiteral("Nombre"), c.nombre, c.comodin);
    const QString orden =
        columnaOrden(c.orden, OrdenesClientes(),
                     {"Cod", "Nombre", "Telefono", "Movil", "Tipo", "Presupuesto", "FechaAlta"});
    return w.consulta(ColumnasClientes, QStringLiteral("busquedaclientes"), orden);
}

ConsultaBusqueda SqlBusquedaPropiedadesVacia(bool alquiler) {
    return {
        QStringLiteral("SELECT %1 FROM busquedapropiedades WHERE FALSE").arg(columnasPropiedades(alquiler)),
        {},
        {},
        {}};
}
ConsultaBusqueda SqlBusquedaPropietariosVacia() {
    const QString vacia = QStringLiteral("SELECT %1 FROM Propietarios WHERE FALSE");
    return {vacia.arg(ColumnasPropietarios), {}, {}, vacia.arg(ColumnasListadoPropietarios)};
}
ConsultaBusqueda SqlBusquedaClientesVacia() {
    return {QStringLiteral("SELECT %1 FROM busquedaclientes WHERE FALSE").arg(ColumnasClientes), {}, {}, {}};
}

} // namespace orb
