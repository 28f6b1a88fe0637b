// The portal feed of a demo installation of 10,000 properties without
// pictures, all marked for the web and the portals, against its floor in
// the same run: the same rows read with plain SQLite and the same elements
// written with QXmlStreamWriter in a bare loop (no checks, no read-back, no
// rename). Runs alternate, so both meet the same cache and disk.
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
#include <algorithm>
#include <sqlite3.h>

using namespace orb;

namespace {

const char* const Sql =
    "SELECT p.QuickID, p.Cod, p.Precio, p.PrecioAlquiler, p.Alquiler, t.TipoPortales, l.Nombre, l.Provincia, "
    "a.Nombre, p.WebDescripcion, p.WebDescripcionIdioma1, p.WebDescripcionIdioma2, p.Piscina, p.Dormitorios, "
    "p.Banos, p.Metros, p.MetrosParcela, p.Modificado, p.Calificacion, p.CocinaAmueblada, "
    "p.AireAcondicionado, "
    "p.Ascensor, p.Amueblado FROM Propiedades p LEFT JOIN Tipos t ON p.CodTipo = t.Cod "
    "LEFT JOIN Localidades l ON p.CodLocalidad = l.Cod LEFT JOIN Areas a ON p.CodArea = a.Cod "
    "WHERE p.Agencia = ?1 AND p.ExportacionWeb = 1 AND p.Portales = 1 AND "
    "((p.Alquiler = 0 AND p.Estado = 'En Venta') OR (p.Alquiler = 1 AND p.Estado = 'Libre')) ORDER BY "
    "p.rowid";

QString texto(sqlite3_stmt* st, int i) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                             sqlite3_column_bytes(st, i));
}

// The floor: one statement, one writer, the same elements.
int bareFeed(sqlite3* db, const QString& oficina, const QString& fichero) {
    QFile f(fichero);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QXmlStreamWriter x(&f);
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
    sqlite3_bind_text(st, 1, o.constData(), int(o.size()), SQLITE_TRANSIENT);
    int n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const bool alquiler = sqlite3_column_int(st, 4) != 0;
        x.writeStartElement("property");
        x.writeTextElement("id",
                           (alquiler ? "LCSOL-" : "RCSOL-") + QString::number(sqlite3_column_int64(st, 0)));
        x.writeTextElement("date", texto(st, 17));
        x.writeTextElement("ref", texto(st, 1));
        x.writeTextElement("price", QString::number(sqlite3_column_int64(st, alquiler ? 3 : 2)));
        x.writeTextElement("currency", "EUR");
        x.writeTextElement("price_freq", alquiler ? "month" : "sale");
        x.writeTextElement("new_build", "0");
        x.writeTextElement("type", texto(st, 5));
        x.writeTextElement("town", texto(st, 6));
        x.writeTextElement("province", texto(st, 7));
        x.writeTextElement("country", "Spain");
        x.writeTextElement("location_detail", texto(st, 8));
        x.writeTextElement("beds", QString::number(sqlite3_column_int(st, 13)));
        x.writeTextElement("baths", QString::number(sqlite3_column_int(st, 14)));
        x.writeTextElement("pool", texto(st, 12) == u"N" ? "0" : "1");
        x.writeStartElement("surface_area");
        x.writeTextElement("built", QString::number(sqlite3_column_int(st, 15)));
        x.writeEndElement();
        x.writeStartElement("energy_rating");
        x.writeTextElement("consumption", texto(st, 18));
        x.writeEndElement();
        x.writeStartElement("desc");
        x.writeTextElement("es", texto(st, 9));
        x.writeTextElement("en", texto(st, 10));
        x.writeTextElement("fr", texto(st, 11));
        x.writeEndElement();
        x.writeStartElement("features");
        for (int c = 19; c <= 22; ++c)
            if (sqlite3_column_int(st, c))
                x.writeTextElement("feature", "Feature");
        x.writeEndElement();
        x.writeEndElement();
        ++n;
    }
    sqlite3_finalize(st);
    x.writeEndDocument();
    return n;
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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

    sqlite3* plain = nullptr;
    sqlite3_open_v2(QFile::encodeName(ctx.RutaBaseDatos).constData(), &plain, SQLITE_OPEN_READONLY, nullptr);
    db::detail::registerFunctions(plain); // the same collation as the program's connections
    const QString bare = dir.path() + QStringLiteral("/bare.xml");

    QList<double> programa, suelo;
    int publicadas = 0, escritas = 0;
    for (int i = 0; i < runs; ++i) {
        programa << bench::medianMs(1, [&] {
            ExportacionPortales e(ctx, AjustesPortales::leer(ctx));
            if (e.Exportar())
                publicadas = e.progreso().publicadas;
        });
        suelo << bench::medianMs(1, [&] { escritas = bareFeed(plain, ctx.facts.CodigoOficina, bare); });
    }
    sqlite3_close(plain);
    if (publicadas != publicables || escritas != publicables) {
        std::fprintf(stderr, "published %d, bare loop %d, expected %d\n", publicadas, escritas, publicables);
        return 1;
    }
    const double suelo_ms = median(suelo);
    bench::figure("portal feed, 10,000 properties", median(programa), "ms", suelo_ms);
    bench::figure("bare read + QXmlStreamWriter (floor)", suelo_ms, "ms", suelo_ms);
    std::printf("  feed size: %.1f MB, properties: %d\n", QFileInfo(FicheroFeed(ctx)).size() / 1e6,
                publicadas);
    return 0;
}
