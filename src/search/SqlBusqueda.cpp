#include "SqlBusqueda.h"

#include "platform/db/Database.h"
#include "shell/Fechas.h"
#include "shell/Numeros.h"

#include <QRegularExpression>
#include <array>
#include <sqlite3.h>
#include <string>

namespace orb {

namespace {

const QString Escape = QStringLiteral(" ESCAPE '\\'");

// ---- accents ----

// Base letter of each code point below U+0250 (Latin-1 and Latin Extended);
// ñ and Ñ stay themselves.
const std::array<char16_t, 0x250>& basesLatinas() {
    static const std::array<char16_t, 0x250> tabla = [] {
        std::array<char16_t, 0x250> t{};
        for (char16_t c = 0; c < t.size(); ++c) {
            t[c] = c;
            if (c < 0x80 || c == u'ñ' || c == u'Ñ')
                continue;
            const QString d = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            if (!d.isEmpty() && d.at(0).unicode() < 0x80)
                t[c] = d.at(0).unicode();
        }
        return t;
    }();
    return tabla;
}

inline char32_t sinAcento(char32_t c) {
    return c < 0x250 ? basesLatinas()[c] : c;
}

void anadirUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// sinacentos(text): plain ASCII (most rows) is returned as it is, without a copy.
void funcionSinAcentos(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    const auto* p = sqlite3_value_text(argv[0]);
    const int n = sqlite3_value_bytes(argv[0]);
    int i = 0;
    while (i < n && p[i] < 0x80)
        ++i;
    if (i == n) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    thread_local std::string out;
    out.assign(reinterpret_cast<const char*>(p), std::size_t(i));
    while (i < n) {
        const unsigned char b = p[i++];
        if (b < 0x80) {
            out += char(b);
            continue;
        }
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = b & (0x3F >> extra);
        for (; extra > 0 && i < n && (p[i] & 0xC0) == 0x80; --extra)
            c = (c << 6) | (p[i++] & 0x3F);
        anadirUtf8(out, sinAcento(c));
    }
    sqlite3_result_text(ctx, out.data(), int(out.size()), SQLITE_TRANSIENT);
}

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
    explicit Condicion(bool alquiler)
        : sql_(alquiler ? QStringLiteral("Alquiler = 1") : QStringLiteral("Alquiler = 0")) {}

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
        sql_ += QStringLiteral(" AND sinacentos(") + columna + QStringLiteral(") LIKE ?") + Escape;
        params_ << patron(SinAcentos(texto), comodin);
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
    // Amounts typed by the user; false (and the message) when not a number.
    bool importe(const QString& columna, const char* op, const QString& texto, const QString& campo,
                 QString& error) {
        if (vacio(texto) || !error.isEmpty())
            return error.isEmpty();
        double v = 0;
        if (!numeroValido(texto, v)) {
            error =
                QStringLiteral("El campo %1 debe ser un número: «%2» no lo es.").arg(campo, texto.left(40));
            return false;
        }
        rango(columna, op, v);
        return true;
    }
    void anadir(const QString& sql, const db::Params& params) {
        sql_ += sql;
        params_ += params;
    }

    ConsultaBusqueda consulta(const QString& columnas, const QString& origen, const QString& orden) const {
        return {QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4").arg(columnas, origen, sql_, orden),
                params_,
                {}};
    }

private:
    QString sql_;
    db::Params params_;
};

// Sort column by the list's text; the code breaks ties, so equal rows keep
// one order. Unknown texts sort by code: no list text ever reaches the SQL.
QString columnaOrden(const QString& texto, const QStringList& items, const QStringList& columnas) {
    const auto i = items.indexOf(texto);
    const QString col = i >= 0 ? columnas[i] : QStringLiteral("Cod");
    return col == u"Cod" ? col : col + QStringLiteral(", Cod");
}

QString columnasPropiedades(bool alquiler) {
    return QStringLiteral("Cod,Direccion,Tipo,Localidad,Area,Dormitorios,Metros,") + ColumnaPrecio(alquiler);
}
const QString ColumnasPropietarios = QStringLiteral("Cod,Nombre,Direccion,Localidad,Telefono,FechaAlta");
const QString ColumnasClientes = QStringLiteral("Cod,Nombre,FechaAlta,Telefono,Movil,Tipo,Presupuesto");

ConsultaBusqueda fallo(const QString& error) {
    return {{}, {}, error};
}

} // namespace

QString SinAcentos(const QString& texto) {
    QString out;
    out.reserve(texto.size());
    for (const QChar c : texto)
        out += QChar(char16_t(sinAcento(c.unicode())));
    return out;
}

void RegistrarFuncionesBusqueda(db::Database& database) {
    sqlite3_create_function_v2(database.handle(), "sinacentos", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                               nullptr, funcionSinAcentos, nullptr, nullptr, nullptr);
}

QString ColumnaPrecio(bool alquiler) {
    return alquiler ? QStringLiteral("PrecioAlquiler") : QStringLiteral("Precio");
}

const QStringList& OrdenesPropiedades() {
    static const QStringList l{"Código", "Dirección",   "Tipo",   "Localidad",
                               "Area",   "Dormitorios", "Metros", "Precio"};
    return l;
}
const QStringList& OrdenesPropietarios() {
    static const QStringList l{"Código", "Nombre", "Dirección", "Localidad", "Teléfono", "Fecha"};
    return l;
}
const QStringList& OrdenesClientes() {
    static const QStringList l{"Código", "Nombre", "Teléfono", "Móvil", "Tipo", "Presupuesto", "Fecha"};
    return l;
}

ConsultaBusqueda SqlBusquedaPropiedades(const CriteriosPropiedades& c) {
    const QString precio = ColumnaPrecio(c.alquiler);
    Condicion w(c.alquiler);
    QString error;
    // State first: with side and bedrooms it walks the (Estado, Alquiler, Dormitorios, Cod) index.
    if (!vacio(c.estado))
        w.igual(QStringLiteral("Estado"), c.estado);
    if (!vacio(c.dormitoriosDesde))
        w.rango(QStringLiteral("Dormitorios"), ">=", qint64(ValorNumerico(c.dormitoriosDesde)));
    if (!vacio(c.dormitoriosHasta))
        w.rango(QStringLiteral("Dormitorios"), "<=", qint64(ValorNumerico(c.dormitoriosHasta)));
    w.contiene(QStringLiteral("Cod"), c.codigo, c.comodin);
    w.codigoCatalogo(QStringLiteral("CodTipo"), c.codTipo);
    w.codigoCatalogo(QStringLiteral("CodLocalidad"), c.codLocalidad);
    w.codigoCatalogo(QStringLiteral("CodArea"), c.codArea);
    w.importe(precio, ">=", c.precioDesde, QStringLiteral("Precio (desde)"), error);
    w.importe(precio, "<=", c.precioHasta, QStringLiteral("Precio (hasta)"), error);
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
    return w.consulta(ColumnasPropietarios, QStringLiteral("Propietarios"), orden);
}

ConsultaBusqueda SqlBusquedaClientes(const CriteriosClientes& c) {
    Condicion w(c.alquiler);
    QString error;
    w.contiene(QStringLiteral("Cod"), c.codigo, c.comodin);
    w.codigoCatalogo(QStringLiteral("CodTipo"), c.codTipo);
    w.importe(QStringLiteral("Presupuesto"), ">=", c.presupuestoDesde, QStringLiteral("Presupuesto (desde)"),
              error);
    w.importe(QStringLiteral("Presupuesto"), "<=", c.presupuestoHasta, QStringLiteral("Presupuesto (hasta)"),
              error);
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
    return {QStringLiteral("SELECT %1 FROM busquedapropiedades WHERE 0").arg(columnasPropiedades(alquiler)),
            {},
            {}};
}
ConsultaBusqueda SqlBusquedaPropietariosVacia() {
    return {QStringLiteral("SELECT %1 FROM Propietarios WHERE 0").arg(ColumnasPropietarios), {}, {}};
}
ConsultaBusqueda SqlBusquedaClientesVacia() {
    return {QStringLiteral("SELECT %1 FROM busquedaclientes WHERE 0").arg(ColumnasClientes), {}, {}};
}

} // namespace orb
