#include "FilasPortales.h"

#include "platform/db/Database.h"
#include "platform/db/Statement.h"
#include "shell/Numeros.h"
#include "webexport/ColumnasWeb.h"

#include <cmath>

namespace orb {

namespace {

// The yes/no features portals show, in English.
struct Caracteristica {
    const char* campo;
    const char* ingles;
};
constexpr Caracteristica Caracteristicas[] = {
    {"CocinaAmueblada", "Fitted kitchen"},
    {"CocinaAmericana", "Open plan kitchen"},
    {"AireAcondicionado", "Air conditioning"},
    {"Calefaccion", "Heating"},
    {"Salon", "Living room"},
    {"Lavadero", "Utility room"},
    {"GasCiudad", "Mains gas"},
    {"GasButano", "Bottled gas"},
    {"Vitroceramica", "Ceramic hob"},
    {"Ascensor", "Lift"},
    {"Trastero", "Storage room"},
    {"Solarium", "Solarium"},
    {"SupermercadoCerca", "Close to shops"},
    {"AutobusCerca", "Close to public transport"},
    {"CafeteriaCerca", "Close to cafes"},
    {"DiversionesCerca", "Close to amenities"},
    {"Amueblado", "Furnished"},
    {"PanelesSolares", "Solar panels"},
    {"Chimenea", "Fireplace"},
};

constexpr int NumFotos = 6;

// The English texts once, shared by every row that shows them.
const QStringList& ingles() {
    static const QStringList textos = [] {
        QStringList t;
        for (const Caracteristica& c : Caracteristicas)
            t << QString::fromLatin1(c.ingles);
        return t;
    }();
    return textos;
}

struct Uso {
    QString privado, comunitario;
};

// "P" private, "C" communal, anything else none.
QString deUso(const db::Value& valor, const Uso& uso) {
    if (valor.typeId() != QMetaType::QString)
        return {};
    const QString s = valor.toString();
    if (s == u"P")
        return uso.privado;
    if (s == u"C")
        return uso.comunitario;
    return {};
}

// A whole number of the row: stored integers as they are, anything else by ValorNumerico's rules.
double numero(const db::Value& valor) {
    switch (valor.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return double(valor.toLongLong());
    case QMetaType::Double:
        if (const double d = valor.toDouble(); std::trunc(d) == d && std::abs(d) < 1e15)
            return d;
        break;
    default:
        break;
    }
    return ValorNumerico(valor);
}

// A rating the portals take: one letter, A to G.
QString energia(const db::Value& valor) {
    const QString s = valor.toString().trimmed();
    if (s.size() != 1)
        return {};
    const QChar c = s[0].toUpper();
    return c >= u'A' && c <= u'G' ? QString(c) : QString();
}

} // namespace

QList<FilaPortal> LeerFilasPortales(db::Database& agencia, const QString& codigoOficina,
                                    const QString& codigoAgenciaWeb) {
    static const Uso piscinas{QStringLiteral("Private pool"), QStringLiteral("Communal pool")};
    static const Uso jardines{QStringLiteral("Private garden"), QStringLiteral("Communal garden")};
    static const Uso garajes{QStringLiteral("Private garage"), QStringLiteral("Communal garage")};
    static const QString idiomas[] = {QStringLiteral("es"), QStringLiteral("en"), QStringLiteral("fr")};
    QList<FilaPortal> filas;
    for (Pasada pasada : {Pasada::Venta, Pasada::Alquiler}) {
        const bool alquiler = pasada == Pasada::Alquiler;
        // 0 QuickID, 1 Cod, 2 price, 3 type, 4 portal type, 5 town, 6 province, 7 area,
        // 8..10 descriptions, 11 pool, 12 garden, 13 garage, 14 beds, 15 baths,
        // 16 built, 17 plot, 18 rating, 19 last change, 20..25 photos, then the features.
        QString sql =
            QStringLiteral(
                "SELECT p.QuickID, p.Cod, %1, t.Nombre, t.TipoPortales, l.Nombre, l.Provincia, "
                "a.Nombre, p.WebDescripcion, p.WebDescripcionIdioma1, p.WebDescripcionIdioma2, "
                "p.Piscina, p.Jardin, p.Garaje, p.Dormitorios, p.Banos, p.Metros, p.MetrosParcela, "
                "p.Calificacion, p.Modificado, p.Foto1, p.Foto2, p.Foto3, p.Foto4, p.Foto5, p.Foto6")
                .arg(alquiler ? QStringLiteral("p.PrecioAlquiler") : QStringLiteral("p.Precio"));
        for (const Caracteristica& c : Caracteristicas)
            sql += QStringLiteral(", p.") + QString::fromLatin1(c.campo);
        sql += QStringLiteral(" FROM Propiedades p LEFT JOIN Tipos t ON p.CodTipo = t.Cod"
                              " LEFT JOIN Localidades l ON p.CodLocalidad = l.Cod"
                              " LEFT JOIN Areas a ON p.CodArea = a.Cod WHERE ");
        db::Params params;
        sql += CondicionWeb(pasada, codigoOficina, params) +
               QStringLiteral(" AND p.Portales = TRUE ORDER BY p.rowid");
        // Row by row: the properties never sit in memory twice.
        db::Statement st(agencia, sql);
        st.bind(params);
        while (st.step()) {
            FilaPortal f;
            PropiedadPortal& d = f.datos;
            d.alquiler = alquiler;
            d.id = IdentWeb(pasada, codigoAgenciaWeb, st.value(0)).toString();
            d.cod = st.value(1).toString();
            d.referencia = d.cod;
            if (const db::Value precio = st.value(2); !db::isNull(precio)) {
                const double euros = std::round(numero(precio));
                if (euros >= 1)
                    d.precio = QString::number(qint64(euros));
            }
            d.tipoAgencia = st.value(3).toString();
            d.tipo = st.value(4).toString().trimmed();
            d.pueblo = st.value(5).toString().trimmed();
            d.provincia = st.value(6).toString().trimmed();
            d.zona = st.value(7).toString();
            for (int i = 0; i < 3; ++i)
                if (QString texto = TextoPlano(st.value(8 + i).toString()); !texto.isEmpty())
                    d.descripciones.append({idiomas[i], std::move(texto)});
            const QString piscina = deUso(st.value(11), piscinas);
            d.piscina = !piscina.isEmpty();
            d.dormitorios = qMax(0, int(numero(st.value(14))));
            d.banos = qMax(0, int(numero(st.value(15))));
            d.construidos = qMax<qint64>(0, qint64(numero(st.value(16))));
            d.parcela = qMax<qint64>(0, qint64(numero(st.value(17))));
            d.energia = energia(st.value(18));
            d.fecha = st.value(19).toString();
            f.fotos.reserve(NumFotos);
            for (int i = 0; i < NumFotos; ++i)
                f.fotos << st.value(20 + i).toString();
            for (const QString& uso : {piscina, deUso(st.value(12), jardines), deUso(st.value(13), garajes)})
                if (!uso.isEmpty())
                    d.caracteristicas << uso;
            for (qsizetype c = 0; c < ingles().size(); ++c)
                if (st.value(20 + NumFotos + int(c)).toBool())
                    d.caracteristicas << ingles()[c];
            // Portals want at least one feature.
            if (d.caracteristicas.isEmpty())
                d.caracteristicas << (alquiler ? QStringLiteral("For rent") : QStringLiteral("For sale"));
            filas << std::move(f);
        }
    }
    return filas;
}

} // namespace orb
