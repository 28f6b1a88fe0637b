// The portal feed of a demo installation of 10,000 properties without
// pictures, all marked for the web and the portals, against its floor in
// the same run: the same rows read with plain SQLite and the same feed bytes
// written with QXmlStreamWriter in a bare loop into memory, then to the file
// (no checks, no cleaning, no sync, no read-back, no rename). The floor's file is compared with the
// program's byte for byte (after feed_generated), so the floor does exactly
// the writing the program does. Runs alternate through the shared loop, so
// both meet the same cache and disk.
//
//   build/bench_portales [properties] [runs]

#include "BenchSupport.h"
#include "platform/db/Database.h"
#include "platform/db/SqliteSupport.h"
#include "portales/ExportacionPortales.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <sqlite3.h>

using namespace orb;

namespace {

// Columns: 0 QuickID, 1 Cod, 2 price, 3 portal type, 4 town, 5 province, 6 area,
// 7..9 descriptions, 10 pool, 11 garden, 12 garage, 13 beds, 14 baths, 15 built,
// 16 plot, 17 rating, 18 last change, then the yes/no features.
const char* const Sql =
    "SELECT p.QuickID, p.Cod, CASE ?2 WHEN 1 THEN p.PrecioAlquiler ELSE p.Precio END, t.TipoPortales, "
    "l.Nombre, l.Provincia, a.Nombre, p.WebDescripcion, p.WebDescripcionIdioma1, p.WebDescripcionIdioma2, "
    "p.Piscina, p.Jardin, p.Garaje, p.Dormitorios, p.Banos, p.Metros, p.MetrosParcela, p.Calificacion, "
    "p.Modificado, p.CocinaAmueblada, p.CocinaAmericana, p.AireAcondicionado, p.Calefaccion, p.Salon, "
    "p.Lavadero, p.GasCiudad, p.GasButano, p.Vitroceramica, p.Ascensor, p.Trastero, p.Solarium, "
    "p.SupermercadoCerca, p.AutobusCerca, p.CafeteriaCerca, p.DiversionesCerca, p.Amueblado, "
    "p.PanelesSolares, p.Chimenea FROM Propiedades p LEFT JOIN Tipos t ON p.CodTipo = t.Cod "
    "LEFT JOIN Localidades l ON p.CodLocalidad = l.Cod LEFT JOIN Areas a ON p.CodArea = a.Cod "
    "WHERE p.Agencia = ?1 AND p.Estado = CASE ?2 WHEN 1 THEN 'Libre' ELSE 'En Venta' END AND "
    "p.ExportacionWeb = 1 AND p.Alquiler = ?2 AND p.Portales = 1 ORDER BY p.rowid";
constexpr int PrimeraCaracteristica = 19;
const char* const Caracteristicas[] = {"Fitted kitchen",   "Open plan kitchen",
                                       "Air conditioning", "Heating",
                                       "Living room",      "Utility room",
                                       "Mains gas",        "Bottled gas",
                                       "Ceramic hob",      "Lift",
                                       "Storage room",     "Solarium",
                                       "Close to shops",   "Close to public transport",
                                       "Close to cafes",   "Close to amenities",
                                       "Furnished",        "Solar panels",
                                       "Fireplace"};

QString texto(sqlite3_stmt* st, int i) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                             sqlite3_column_bytes(st, i));
}

char letra(sqlite3_stmt* st, int i) {
    return sqlite3_column_bytes(st, i) == 1 ? reinterpret_cast<const char*>(sqlite3_column_text(st, i))[0]
                                            : 0;
}

// The floor: one statement run for each side, one writer, the same elements.
int bareFeed(sqlite3* db, const QString& oficina, const QString& agenciaWeb, const QString& fichero) {
    static QStringList ingles;
    if (ingles.isEmpty())
        for (const char* c : Caracteristicas)
            ingles << QString::fromLatin1(c);
    // Written in memory and handed to the file at once: the cheapest way to
    // the same bytes (a QFile would take every small piece of the writer).
    QByteArray bytes;
    QXmlStreamWriter x(&bytes);
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(1);
    x.writeStartDocument();
    x.writeStartElement("root");
    x.writeStartElement("kyero");
    x.writeTextElement("feed_version", "3");
    x.writeTextElement("feed_generated", "2026-01-01 00:00:00");
    x.writeEndElement();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, Sql, -1, &st, nullptr);
    const QByteArray o = oficina.toUtf8();
    int n = 0;
    for (int alquiler = 0; alquiler < 2; ++alquiler) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, o.constData(), int(o.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 2, alquiler);
        const QString prefijo = (alquiler ? u'L' : u'R') + agenciaWeb + u'-';
        while (sqlite3_step(st) == SQLITE_ROW) {
            x.writeStartElement("property");
            x.writeTextElement(
                "id", prefijo + QString::number(sqlite3_column_int64(st, 0)).rightJustified(5, u'0'));
            x.writeTextElement("date", texto(st, 18));
            x.writeTextElement("ref", texto(st, 1));
            x.writeTextElement("price", QString::number(sqlite3_column_int64(st, 2)));
            x.writeTextElement("currency", "EUR");
            x.writeTextElement("price_freq", alquiler ? "month" : "sale");
            x.writeTextElement("new_build", "0");
            x.writeTextElement("type", texto(st, 3));
            x.writeTextElement("town", texto(st, 4));
            x.writeTextElement("province", texto(st, 5));
            x.writeTextElement("country", "Spain");
            if (sqlite3_column_bytes(st, 6) > 0)
                x.writeTextElement("location_detail", texto(st, 6));
            x.writeTextElement("beds", QString::number(sqlite3_column_int(st, 13)));
            x.writeTextElement("baths", QString::number(sqlite3_column_int(st, 14)));
            const char piscina = letra(st, 10);
            x.writeTextElement("pool", piscina == 'P' || piscina == 'C' ? "1" : "0");
            const qint64 built = sqlite3_column_int64(st, 15), plot = sqlite3_column_int64(st, 16);
            if (built > 0 || plot > 0) {
                x.writeStartElement("surface_area");
                if (built > 0)
                    x.writeTextElement("built", QString::number(built));
                if (plot > 0)
                    x.writeTextElement("plot", QString::number(plot));
                x.writeEndElement();
            }
            if (const char e = letra(st, 17); e >= 'A' && e <= 'G') {
                x.writeStartElement("energy_rating");
                x.writeTextElement("consumption", QString(QChar(e)));
                x.writeEndElement();
            }
            x.writeStartElement("desc");
            x.writeTextElement("es", texto(st, 7));
            x.writeTextElement("en", texto(st, 8));
            x.writeTextElement("fr", texto(st, 9));
            x.writeEndElement();
            x.writeStartElement("features");
            int escritas = 0;
            const auto uso = [&](int c, const char* privado, const char* comunitario) {
                const char u = letra(st, c);
                if (u == 'P' || u == 'C') {
                    x.writeTextElement("feature", u == 'P' ? privado : comunitario);
                    ++escritas;
                }
            };
            uso(10, "Private pool", "Communal pool");
            uso(11, "Private garden", "Communal garden");
            uso(12, "Private garage", "Communal garage");
            for (qsizetype c = 0; c < ingles.size(); ++c)
                if (sqlite3_column_int(st, PrimeraCaracteristica + int(c))) {
                    x.writeTextElement("feature", ingles[c]);
                    ++escritas;
                }
            if (escritas == 0)
                x.writeTextElement("feature", alquiler ? "For rent" : "For sale");
            x.writeEndElement();
            x.writeEndElement();
            ++n;
        }
    }
    sqlite3_finalize(st);
    x.writeEndDocument();
    QFile f(fichero);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return n;
}

// A feed's bytes with its generation time left out, for comparing two writers.
QByteArray sinHora(const QString& fichero) {
    QFile f(fichero);
    f.open(QIODevice::ReadOnly);
    QByteArray b = f.readAll();
    const qsizetype desde = b.indexOf("<feed_generated>");
    const qsizetype hasta = b.indexOf("</feed_generated>");
    if (desde >= 0 && hasta > desde)
        b.remove(desde, hasta - desde);
    return b;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    QTemporaryDir dir;
    const QString home = dir.path() + u'/';
    bench::createDemo(home, n);
    AppContext ctx;
    bench::openContext(ctx, home);
    // Every property published, as the goal counts them.
    ctx.db().execute(
        "UPDATE Propiedades SET ExportacionWeb = 1, Portales = 1, Estado = CASE Alquiler WHEN 1 THEN "
        "'Libre' ELSE 'En Venta' END");
    const int publicables = ctx.db().scalar("SELECT count(*) FROM Propiedades").toInt();

    sqlite3* plain = bench::openPlain(ctx.RutaBaseDatos);
    db::detail::registerFunctions(plain); // the same collation as the program's connections
    const QString bare = dir.path() + QStringLiteral("/bare.xml");

    int publicadas = 0, escritas = 0;
    const bench::Pair p = bench::compare(
        runs, [&] { escritas = bareFeed(plain, ctx.facts.CodigoOficina, ctx.facts.CodigoAgenciaWeb, bare); },
        [&] {
            ExportacionPortales e(ctx, AjustesPortales::leer(ctx));
            publicadas = e.Exportar() ? e.progreso().publicadas : -1;
        });
    sqlite3_close(plain);
    if (publicadas != publicables || escritas != publicables) {
        std::fprintf(stderr, "published %d, bare loop %d, expected %d\n", publicadas, escritas, publicables);
        return 1;
    }
    // The floor wrote what the program wrote, or its time means nothing.
    if (sinHora(bare) != sinHora(FicheroFeed(ctx))) {
        std::fprintf(stderr, "the bare loop's feed differs from the program's (%s, %s)\n", qPrintable(bare),
                     qPrintable(FicheroFeed(ctx)));
        dir.setAutoRemove(false);
        return 1;
    }
    bench::figure("portal feed, 10,000 properties", p);
    bench::floorLine("bare read + QXmlStreamWriter", p.floor);
    std::printf("  feed size: %.1f MB, properties: %d\n", QFileInfo(FicheroFeed(ctx)).size() / 1e6,
                publicadas);
    return 0;
}
