// A seat on the PostgreSQL server over loopback, on an office of N properties
// carried there by the installer's copy: the sales window opened on its first
// record and moved to its last, a typical property search to the grid's rows
// and one client's matches. Floors: the same statements through bare libpq on
// a connection with the seat's settings (lock timeout, search path), every
// value read, interleaved with the program's runs; the move's floor also puts
// the record's texts in the window's boxes. The same window on the
// office's SQLite file is measured in the same run beside them. Needs the
// servers of scripts/test-servers.sh.
//
//   build/bench_servidor [N] [runs]

#include "BenchServidor.h"
#include "BenchSupport.h"
#include "BenchVista.h"
#include "install/CopiaServidor.h"
#include "platform/db/Cursor.h"
#include "platform/widgets/DialogService.h"
#include "records/frmPropiedades.h"
#include "search/Coincidencias.h"
#include "search/CoincidenciasFilas.h"
#include "search/SqlBusqueda.h"

#include <QApplication>
#include <QTemporaryDir>

namespace co = orb::coincidencias;

namespace {

const QString Fuente =
    QStringLiteral("SELECT * FROM Propiedades WHERE Alquiler = FALSE ORDER BY Agencia, QuickID");

// The sales window opened on the context, its first record shown.
double abrirVentana(orb::AppContext& ctx) {
    return bench::timeMs([&] {
        orb::frmPropiedades w(ctx, false);
        w.show();
        QApplication::processEvents();
    });
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    QString porque;
    const auto servidor = testservers::postgresServer(&porque);
    if (!servidor) {
        std::fprintf(stderr, "bench_servidor: %s\n", qPrintable(porque));
        return 1;
    }
    QTemporaryDir dir;
    const QString raiz = dir.path() + u'/';
    bench::createDemo(raiz, n);
    bench::BaseServidor base(*servidor, QStringLiteral("bench_puesto"));
    {
        auto c = pg::Connection::connect(base.opciones());
        orb::install::copiarOficina(raiz, *c);
    }
    ui::ScriptedDialogService dialogos;

    // The file first: its window, with its own floor (the same window over a
    // ten-property agency, plus the large agency's keyset on plain SQLite).
    {
        orb::AppContext fichero, chica;
        fichero.dialogs = &dialogos;
        chica.dialogs = &dialogos;
        bench::openContext(fichero, raiz);
        QTemporaryDir dirChica;
        bench::createDemo(dirChica.path() + u'/', 10);
        bench::openContext(chica, dirChica.path() + u'/');
        sqlite3* h = bench::openPlain(fichero.RutaBaseDatos);
        const auto s = bench::interleaveTimed(
            runs, {[&] {
                       return abrirVentana(chica) + bench::timeMs([&] {
                                  bench::plainSteps(h,
                                                    "SELECT rowid FROM Propiedades WHERE Alquiler = 0 ORDER "
                                                    "BY Agencia, QuickID");
                              });
                   },
                   [&] { return abrirVentana(fichero); }});
        bench::figure("file: sales window opened, first record shown", bench::Pair{s[0], s[1]});
        sqlite3_close(h);
    }

    // The seat on the server, as start-up leaves it.
    orb::AppContext ctx;
    ctx.dialogs = &dialogos;
    ctx.PonerCarpeta(raiz);
    ctx.facts = orb::LeerDatosInstalacion(raiz);
    ctx.BaseDatosAgencia = db::Database::openServer(base.direccion());
    db::Database::shareAs(ctx.RutaBaseDatos, ctx.BaseDatosAgencia);

    auto suelo = base.conexionSuelo();
    PGconn* pq = suelo->handle();
    const QString claves =
        QStringLiteral("SELECT rowid FROM propiedades WHERE alquiler = FALSE ORDER BY agencia, quickid");
    QList<qint64> ids;
    for (const QVariantList& r : suelo->query(claves))
        ids << r[0].toLongLong();
    std::printf("sales properties on the server: %lld\n", qint64(ids.size()));
    const QString fila = QStringLiteral("SELECT * FROM propiedades WHERE rowid = ?");
    // What the window reads to show one property beside its row: the owner's
    // panel, the activity log and the areas of its locality.
    const QString propietario = QStringLiteral(
        "select Nombre, Direccion, Localidad, Provincia, CP, Telefono, Movil, Fax, Pasaporte, Dni, Nie, "
        "Email from Propietarios where Cod = ?");
    const QString actividades = QStringLiteral(
        "select Fecha, CodCliente, Cliente, Actividad, Agente from Actividades where Propiedad = ? "
        "order by Cod");
    const QString areas =
        QStringLiteral("select cod, nombre from areas where codlocalidad = ? order by nombre");
    const auto mostrar = [&](qint64 id) {
        const QVariantList p =
            suelo
                ->query(QStringLiteral(
                            "SELECT cod, codpropietario, codlocalidad FROM propiedades WHERE rowid = ?"),
                        {id})
                .value(0);
        return [=] {
            bench::pqFilas(pq, fila, {id});
            bench::pqFilas(pq, propietario, {p.value(1)});
            bench::pqFilas(pq, actividades, {p.value(0)});
            bench::pqFilas(pq, areas, {p.value(2)});
        };
    };
    const auto primera = mostrar(ids.first()), ultima = mostrar(ids.last());

    // Opening also fills the type and locality lists.
    const bench::Pair abrir = bench::compareTimed(
        runs,
        [&] {
            return bench::timeMs([&] {
                bench::pqFilas(pq, claves);
                bench::pqFilas(pq, QStringLiteral("select cod,nombre from tipos order by nombre"));
                bench::pqFilas(pq, QStringLiteral("select cod,nombre from localidades order by nombre"));
                primera();
            });
        },
        [&] { return abrirVentana(ctx); });
    bench::figure("server: sales window opened, first record shown", abrir);
    {
        orb::frmPropiedades w(ctx, false);
        w.show();
        QApplication::processEvents();
        // Showing a record is also putting its texts in the boxes and painting
        // them: the floor puts them there after its bare statements.
        const bench::Pair ultimo = bench::saltoAlFinal(w, runs, ultima);
        bench::figure("server: sales window moved to the last record", ultimo);
    }

    // The typical search, to the rows the grid shows.
    orb::CriteriosPropiedades c;
    c.estado = QStringLiteral("En Venta");
    c.dormitoriosDesde = QStringLiteral("2");
    c.dormitoriosHasta = QStringLiteral("3");
    c.direccion = QStringLiteral("Larios");
    const orb::ConsultaBusqueda q = orb::SqlBusquedaPropiedades(c);
    qint64 hallados = 0;
    const bench::Pair buscar = bench::compare(
        runs, [&] { hallados = bench::pqFilas(pq, q.sql, q.params); },
        [&] {
            db::Cursor cursor(ctx.db(), q.sql, q.params);
            QList<db::Row> filas;
            cursor.fetch(filas, 256);
        });
    std::printf("search hits: %lld\n", hallados);
    bench::figure("server: typical property search", buscar);

    // One waiting sales client's matches.
    const QString cliente =
        ctx.db()
            .scalar(QStringLiteral("SELECT c.Cod FROM Clientes c WHERE c.Estado = 'Buscando' AND "
                                   "c.Alquiler = FALSE AND c.Presupuesto > 0 AND EXISTS (SELECT 1 "
                                   "FROM ClientesZonas z WHERE z.CodCliente = c.Cod) ORDER BY c.Cod"))
            .toString();
    co::Deseos deseos;
    co::LeerDeseos(ctx.db(), cliente, &deseos);
    const co::Consulta qc = co::SqlPropiedadesParaCliente(deseos, co::LeerTolerancia(ctx.db()), false);
    // The floor reads what the program reads: the client's wishes, the tolerance and the candidates.
    const QString sqlDeseos =
        QStringLiteral("SELECT %1 FROM Clientes c WHERE c.Cod = ?").arg(co::filas::ColumnasDeseos);
    const QString sqlTolerancia = QStringLiteral("SELECT Valor FROM Config WHERE Grupo = ? AND Variable = ?");
    qint64 encajan = 0;
    const bench::Pair coinciden = bench::compare(
        runs,
        [&] {
            bench::pqFilas(pq, sqlDeseos, {cliente});
            bench::pqFilas(pq, sqlTolerancia,
                           {QStringLiteral("COINCIDENCIAS"), QStringLiteral("TOLERANCIA")});
            bench::pqFilas(pq, qc.sql, qc.params);
        },
        [&] { encajan = co::PropiedadesParaCliente(ctx.db(), cliente).size(); });
    std::printf("client %s: %lld matches\n", qPrintable(cliente), encajan);
    bench::figure("server: one client's matches", coinciden);
    return 0;
}
