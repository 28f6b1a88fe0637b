#include "ColumnasWeb.h"

#include "platform/db/Database.h"
#include "shell/Numeros.h"

namespace orb {

namespace {

using Fuente = FuenteWeb;

struct Columna {
    const char* nombre;
    Fuente fuente;
    const char16_t* valor; // fixed text, or the source expression for Campo
    bool soloVenta = false;
    const char16_t* valorAlquiler = nullptr; // the rentals' own source, when it differs
};

// Every column of both web tables, in the order they are written. Source
// expressions name the agency tables through the aliases of the query below.
const Columna Columnas[] = {
    {"ident", Fuente::Ident, nullptr},
    {"quickid", Fuente::QuickId, nullptr},
    {"agency", Fuente::Agencia, nullptr},
    {"status", Fuente::Estado, nullptr},
    {"area1es", Fuente::Fijo, ZonaWeb},
    {"area1en", Fuente::Fijo, ZonaWeb},
    {"area14", Fuente::Fijo, ZonaWeb},
    {"typees", Fuente::Campo, u"t.Nombre"},
    {"typeen", Fuente::Campo, u"t.NombreIdioma1"},
    {"type4", Fuente::Campo, u"t.NombreIdioma2"},
    {"categoryes", Fuente::Campo, u"t.Nombre"},
    {"categoryen", Fuente::Campo, u"t.NombreIdioma1"},
    {"category4", Fuente::Campo, u"t.NombreIdioma2"},
    {"cityes", Fuente::Campo, u"l.Nombre"},
    {"cityen", Fuente::Campo, u"l.Nombre"},
    {"city4", Fuente::Campo, u"l.Nombre"},
    {"countryes", Fuente::Fijo, PaisEs},
    {"countryen", Fuente::Fijo, PaisEn},
    {"countryfr", Fuente::Fijo, PaisFr},
    {"proves", Fuente::Fijo, ProvinciaWeb},
    {"proven", Fuente::Fijo, ProvinciaWeb},
    {"prov4", Fuente::Fijo, ProvinciaWeb},
    {"pool", Fuente::Campo, u"p.Piscina"},
    {"garden", Fuente::Campo, u"p.Jardin"},
    {"garage", Fuente::Campo, u"p.Garaje"},
    {"mtsbuilt", Fuente::Campo, u"p.Metros"},
    {"mtsplot", Fuente::Campo, u"p.MetrosParcela"},
    // A rental's price is its rent: Precio is the sale price, empty or stale on a rental.
    {"priceeur", Fuente::Campo, u"p.Precio", false, u"p.PrecioAlquiler"},
    {"oldvalue", Fuente::Campo, u"p.Cod", true},
    {"newdev", Fuente::Cero, nullptr, true},
    {"quartername", Fuente::Campo, u"a.Nombre"},
    {"descriptes", Fuente::Campo, u"p.WebDescripcion"},
    {"descripten", Fuente::Campo, u"p.WebDescripcionIdioma1"},
    {"descript4", Fuente::Campo, u"p.WebDescripcionIdioma2"},
    {"bedrooms", Fuente::Campo, u"p.Dormitorios"},
    {"bathrooms", Fuente::Campo, u"p.Banos"},
    {"kitchenfitted", Fuente::Campo, u"p.CocinaAmueblada"},
    {"utilityroom", Fuente::Campo, u"p.Trastero"},
    {"furnished", Fuente::Campo, u"p.Amueblado"},
    {"aircond", Fuente::Campo, u"p.AireAcondicionado"},
    {"heating", Fuente::Campo, u"p.Calefaccion"},
    {"amenitiesnear", Fuente::Campo, u"p.DiversionesCerca"},
    {"transportnear", Fuente::Campo, u"p.AutobusCerca"},
    {"constructyear", Fuente::Campo, u"p.AnoConstruccion"},
    {"orientation", Fuente::Campo, u"p.Orientacion"},
    {"livingroom", Fuente::Campo, u"p.Salon"},
    {"parkplaces", Fuente::Campo, u"p.PlazasGaraje"},
    {"featured", Fuente::Campo, u"p.ExportacionWebDestacada", true},
};

bool enPasada(const Columna& c, Pasada p) {
    return p == Pasada::Venta || !c.soloVenta;
}

const char16_t* origen(const Columna& c, Pasada p) {
    return p == Pasada::Alquiler && c.valorAlquiler ? c.valorAlquiler : c.valor;
}

constexpr int NumFotos = 6;

QString EstadoWeb(Pasada p) {
    return p == Pasada::Alquiler ? QStringLiteral("Available") : QStringLiteral("For Sale");
}

} // namespace

QString TablaWeb(Pasada p) {
    return p == Pasada::Venta ? QStringLiteral("webproperties") : QStringLiteral("webrentals");
}

QStringList ColumnasWeb(Pasada p) {
    QStringList out;
    for (const Columna& c : Columnas)
        if (enPasada(c, p))
            out << QString::fromLatin1(c.nombre);
    return out;
}

db::Value IdentWeb(Pasada p, const QString& codigoAgenciaWeb, const db::Value& quickId) {
    if (db::isNull(quickId))
        return {};
    const QString letra = p == Pasada::Venta ? QStringLiteral("R") : QStringLiteral("L");
    return QString(letra + codigoAgenciaWeb + u'-' +
                   FormatoMascara(quickId.toLongLong(), QStringLiteral("00000")));
}

QString OrigenColumnaWeb(Pasada p, const QString& columna) {
    for (const Columna& c : Columnas) {
        if (!enPasada(c, p) || c.fuente != Fuente::Campo ||
            columna.compare(QLatin1String(c.nombre), Qt::CaseInsensitive) != 0)
            continue;
        QString campo = QString::fromUtf16(origen(c, p));
        const QString tabla = campo.startsWith(u"t.")   ? QStringLiteral("Tipos.")
                              : campo.startsWith(u"l.") ? QStringLiteral("Localidades.")
                              : campo.startsWith(u"a.") ? QStringLiteral("Areas.")
                                                        : QStringLiteral("Propiedades.");
        return tabla + campo.mid(2);
    }
    return {};
}

QString CondicionWeb(Pasada p, const QString& codigoOficina, db::Params& params) {
    QString sql;
    // An office without a code owns the properties whose Agencia is null, not
    // those with an empty text.
    if (codigoOficina.isEmpty()) {
        sql += QStringLiteral("p.Agencia IS NULL");
    } else {
        sql += QStringLiteral("p.Agencia = ?");
        params << codigoOficina;
    }
    sql += QStringLiteral(" AND p.Estado = ? AND p.ExportacionWeb = TRUE AND p.Alquiler = ?");
    const bool alquiler = p == Pasada::Alquiler;
    params << (alquiler ? QStringLiteral("Libre") : QStringLiteral("En Venta")) << (alquiler ? 1 : 0);
    return sql;
}

QList<ColumnaWeb> FuentesWeb(Pasada p) {
    QList<ColumnaWeb> out;
    for (const Columna& c : Columnas)
        if (enPasada(c, p))
            out << ColumnaWeb{c.fuente, c.fuente == Fuente::Estado ? EstadoWeb(p)
                                        : c.fuente == Fuente::Fijo ? QString::fromUtf16(c.valor)
                                                                   : QString()};
    return out;
}

ConsultaFilasWeb SqlFilasWeb(Pasada p, const QString& codigoOficina) {
    // Column 0 QuickID, 1 Cod, 2..7 the photographs, then the Campo columns in order.
    QString sql =
        QStringLiteral("SELECT p.QuickID, p.Cod, p.Foto1, p.Foto2, p.Foto3, p.Foto4, p.Foto5, p.Foto6");
    for (const Columna& c : Columnas)
        if (enPasada(c, p) && c.fuente == Fuente::Campo)
            sql += QStringLiteral(", ") + QString::fromUtf16(origen(c, p));
    sql += QStringLiteral(" FROM Propiedades p LEFT JOIN Tipos t ON p.CodTipo = t.Cod"
                          " LEFT JOIN Localidades l ON p.CodLocalidad = l.Cod"
                          " LEFT JOIN Areas a ON p.CodArea = a.Cod WHERE ");
    db::Params params;
    sql += CondicionWeb(p, codigoOficina, params) + QStringLiteral(" ORDER BY p.rowid");
    return {sql, params};
}

QList<FilaWeb> LeerFilasWeb(db::Database& agencia, Pasada p, const QString& codigoOficina,
                            const QString& codigoAgenciaWeb) {
    const auto [sql, params] = SqlFilasWeb(p, codigoOficina);
    const QString estado = EstadoWeb(p);
    QList<FilaWeb> filas;
    const QList<db::Row> rows = agencia.query(sql, params);
    filas.reserve(rows.size());
    for (const db::Row& r : rows) {
        FilaWeb f;
        const db::Value ident = IdentWeb(p, codigoAgenciaWeb, r.value(0));
        f.ident = ident.toString();
        f.cod = r.value(1).toString();
        for (int i = 0; i < NumFotos; ++i)
            f.fotos << r.value(2 + i).toString();
        int campo = 2 + NumFotos;
        f.valores.reserve(std::size(Columnas));
        for (const Columna& c : Columnas) {
            if (!enPasada(c, p))
                continue;
            switch (c.fuente) {
            case Fuente::Ident:
                f.valores << ident;
                break;
            case Fuente::QuickId:
                f.valores << r.value(0);
                break;
            case Fuente::Agencia:
                f.valores << codigoAgenciaWeb;
                break;
            case Fuente::Estado:
                f.valores << estado;
                break;
            case Fuente::Fijo:
                f.valores << QString::fromUtf16(c.valor);
                break;
            case Fuente::Cero:
                f.valores << 0;
                break;
            case Fuente::Campo:
                f.valores << r.value(campo++);
                break;
            }
        }
        filas << f;
    }
    return filas;
}

} // namespace orb
