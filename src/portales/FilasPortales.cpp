#include "FilasPortales.h"

#include "platform/db/Database.h"
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

// "P" private, "C" communal, anything else none.
QString deUso(const QString& valor, const char* privado, const char* comunitario) {
    if (valor == u"P")
        return QString::fromLatin1(privado);
    if (valor == u"C")
        return QString::fromLatin1(comunitario);
    return {};
}

} // namespace

QList<FilaPortal> LeerFilasPortales(db::Database& agencia, const QString& codigoOficina,
                                    const QString& codigoAgenciaWeb) {
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
               QStringLiteral(" AND p.Portales = 1 ORDER BY p.rowid");
        const QList<db::Row> rows = agencia.query(sql, params);
        filas.reserve(filas.size() + rows.size());
        for (const db::Row& r : rows) {
            FilaPortal f;
            PropiedadPortal& d = f.datos;
            d.alquiler = alquiler;
            d.id = IdentWeb(pasada, codigoAgenciaWeb, r.value(0)).toString();
            d.cod = r.value(1).toString();
            d.referencia = d.cod;
            if (!db::isNull(r.value(2))) {
                const double precio = std::round(ValorNumerico(r.value(2)));
                if (precio >= 1)
                    d.precio = QString::number(qint64(precio));
            }
            d.tipoAgencia = r.value(3).toString();
            d.tipo = r.value(4).toString().trimmed();
            d.pueblo = r.value(5).toString().trimmed();
            d.provincia = r.value(6).toString().trimmed();
            d.zona = r.value(7).toString();
            static const char* const idiomas[] = {"es", "en", "fr"};
            for (int i = 0; i < 3; ++i)
                if (const QString texto = TextoPlano(r.value(8 + i).toString()); !texto.isEmpty())
                    d.descripciones.append({QString::fromLatin1(idiomas[i]), texto});
            const QString piscina = deUso(r.value(11).toString(), "Private pool", "Communal pool");
            d.piscina = !piscina.isEmpty();
            d.dormitorios = qMax(0, int(ValorNumerico(r.value(14))));
            d.banos = qMax(0, int(ValorNumerico(r.value(15))));
            d.construidos = qMax<qint64>(0, qint64(ValorNumerico(r.value(16))));
            d.parcela = qMax<qint64>(0, qint64(ValorNumerico(r.value(17))));
            const QString energia = r.value(18).toString().trimmed().toUpper();
            if (energia.size() == 1 && energia[0] >= u'A' && energia[0] <= u'G')
                d.energia = energia;
            d.fecha = r.value(19).toString();
            for (int i = 0; i < NumFotos; ++i)
                f.fotos << r.value(20 + i).toString();
            for (const QString& uso :
                 {piscina, deUso(r.value(12).toString(), "Private garden", "Communal garden"),
                  deUso(r.value(13).toString(), "Private garage", "Communal garage")})
                if (!uso.isEmpty())
                    d.caracteristicas << uso;
            int columna = 20 + NumFotos;
            for (const Caracteristica& c : Caracteristicas)
                if (r.value(columna++).toBool())
                    d.caracteristicas << QString::fromLatin1(c.ingles);
            // Portals want at least one feature.
            if (d.caracteristicas.isEmpty())
                d.caracteristicas << (alquiler ? QStringLiteral("For rent") : QStringLiteral("For sale"));
            filas << f;
        }
    }
    return filas;
}

} // namespace orb
