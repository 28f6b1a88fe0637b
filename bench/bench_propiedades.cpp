// The property window on a large agency, driven offscreen as a user would:
// opening it on its first record, jumping to the last one, stepping to a
// record with six photographic camera-sized JPEGs, and its memory (the heap
// and the mapped file pages, both). Floors, interleaved with the program's
// runs: the source's rowids in index order on the same connection; for the
// jump, the last record's rows read with plain SQLite and its texts put into
// the same boxes and painted; the six photographs decoded at display size on
// as many threads as the window's decoding pool.
//
//   bench_propiedades [N properties] [runs]

#include "BenchSupport.h"
#include "BenchVista.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/DialogService.h"
#include "records/FotosPropiedad.h"
#include "records/frmPropiedades.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

using bench::figure;

namespace {

struct Instalacion {
    QTemporaryDir dir;
    orb::AppContext ctx;
    ui::ScriptedDialogService dialogs;

    explicit Instalacion(int n) {
        const QString root = dir.path() + "/";
        bench::createDemo(root, n);
        ctx.dialogs = &dialogs;
        ctx.RutaAplicacion = root;
        ctx.RutaBaseDatos = root + "Orbalia.db";
        ctx.RutaFotos = root + "Fotos/";
        QDir().mkpath(ctx.RutaFotos);
        ctx.facts = orb::LeerDatosInstalacion(root);
        ctx.BaseDatosAgencia = db::Database::open(ctx.RutaBaseDatos);
    }
};

// Resident memory of one kind ("RssAnon": the heap; "RssFile": mapped pages
// of the libraries and the database file, shared and reclaimable), in MB.
double rss(const char* clase) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linea : f.readAll().split('\n'))
        if (linea.startsWith(clase))
            return linea.mid(qsizetype(strlen(clase)) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

struct Memoria {
    double anon = 0, file = 0;
};

Memoria memoria() {
    return {rss("RssAnon:"), rss("RssFile:")};
}

double msDesde(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void esperarFotos(orb::frmPropiedades& w) {
    while (w.fotos->decodificando() > 0)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Extra resident memory of one sales window opened on the installation, shown
// on its first and then its last record.
Memoria rssVentana(orb::AppContext& ctx) {
    const Memoria antes = memoria();
    auto w = std::make_unique<orb::frmPropiedades>(ctx, false);
    w->show();
    QApplication::processEvents();
    w->cmdLast->click();
    QApplication::processEvents();
    const Memoria despues = memoria();
    return {despues.anon - antes.anon, despues.file - antes.file};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    // Memory first, before the big file's pages are in the cache: the window on a
    // small agency, then on the large one (libraries and styles are loaded by a
    // warm-up window on the small one).
    Memoria pequeña;
    {
        Instalacion inst(500);
        rssVentana(inst.ctx);
        pequeña = rssVentana(inst.ctx);
    }
    Instalacion inst(n);
    orb::AppContext& ctx = inst.ctx;
    // What the data layer alone maps of the file for the window's source, first
    // and last row (its connection closes after), then the whole window on a
    // connection of its own: the two are near equal when the window reads
    // nothing beyond its source.
    Memoria fuenteSola;
    {
        const Memoria antes = memoria();
        auto base = db::Database::shared(ctx.RutaBaseDatos);
        auto rs = base->openRecordset(
            QStringLiteral("select * from Propiedades where Alquiler = 0 order by Agencia, QuickID"),
            db::RecordsetType::Dynaset);
        rs->moveLast();
        rs->value(0);
        const Memoria despues = memoria();
        fuenteSola = {despues.anon - antes.anon, despues.file - antes.file};
    }
    const Memoria grande = rssVentana(ctx);
    std::printf("sales source alone (keyset, first and last row): heap %.1f MB, mapped file pages %.1f MB\n",
                fuenteSola.anon, fuenteSola.file);
    std::printf("sales window, extra RSS (heap + mapped file pages): 500 properties %.1f + %.1f MB, "
                "%d properties %.1f + %.1f MB\n",
                pequeña.anon, pequeña.file, n, grande.anon, grande.file);
    figure("sales window extra heap on the large agency", grande.anon, "MB", 0);
    figure("sales window extra mapped file pages on the large agency", grande.file, "MB", 0);

    sqlite3* raw = ctx.db().handle();
    const char* floorSql = "select rowid from Propiedades where Alquiler = 0 order by Agencia, QuickID";
    const QString fuente =
        QStringLiteral("select * from Propiedades where Alquiler = 0 order by Agencia, QuickID");
    bench::printPlan(raw, fuente);
    qint64 filas = 0;
    // Opening the window is timed until it is painted, not while it is
    // destroyed. Its floor is the same window over an agency of ten
    // properties (its widgets, layout and first paint, which no window can
    // skip) plus the large agency's rowids stepped with plain SQLite.
    Instalacion chica(10);
    const auto abrirEn = [](orb::AppContext& c) {
        QElapsedTimer t;
        t.start();
        orb::frmPropiedades w(c, false);
        w.show();
        QApplication::processEvents();
        return msDesde(t);
    };
    const auto pasos = [&] { return bench::timeMs([&] { filas = bench::plainSteps(raw, floorSql); }); };
    const auto abrirTodo = bench::interleaveTimed(
        runs, {pasos,
               [&] {
                   return bench::timeMs([&] {
                       auto rs = ctx.db().openRecordset(fuente, db::RecordsetType::Dynaset);
                       rs->value(0);
                   });
               },
               [&] { return abrirEn(chica.ctx) + pasos(); }, [&] { return abrirEn(ctx); }});
    std::printf("sales properties: %lld rows\n", filas);
    figure("sales window source opened (index order)", bench::Pair{abrirTodo[0], abrirTodo[1]});
    figure("sales window opened, first record shown", bench::Pair{abrirTodo[2], abrirTodo[3]});

    {
        // The floor reads what the window reads to show the last record (its
        // row, its owner's panel, its activity log, its locality's areas) with
        // plain SQLite, and puts the texts the window shows for it into the
        // same boxes and paints them.
        orb::frmPropiedades w(ctx, false);
        w.show();
        QApplication::processEvents();
        const db::Row ultima =
            ctx.db()
                .query(QStringLiteral("select rowid, Cod, CodPropietario, CodLocalidad from "
                                      "Propiedades where Alquiler = 0 order by Agencia desc, "
                                      "QuickID desc limit 1"))
                .value(0);
        const auto leerUltima = [&] {
            bench::plainRows(raw, "select * from Propiedades where rowid = ?", ultima.value(0));
            bench::plainRows(raw,
                             "select Nombre, Direccion, Localidad, Provincia, CP, Telefono, Movil, Fax, "
                             "Pasaporte, Dni, Nie, Email from Propietarios where Cod = ?",
                             ultima.value(2));
            bench::plainRows(
                raw,
                "select Fecha, CodCliente, Cliente, Actividad, Agente from Actividades where Propiedad = ? "
                "order by Cod",
                ultima.value(1));
            bench::plainRows(raw, "select cod, nombre from areas where codlocalidad = ? order by nombre",
                             ultima.value(3));
        };
        const bench::Pair ultimo = bench::saltoAlFinal(w, runs, leerUltima);
        figure("sales window moved to the last record", ultimo);
    }

    // Six 4000×3000 photographs on each of the first records of the sales order.
    QStringList fotos;
    for (const QString& ruta :
         bench::photographicJpegs(ctx.RutaFotos, QStringLiteral("bench-"), orb::FotosPropiedad::NumFotos))
        fotos << QFileInfo(ruta).fileName();
    const QList<db::Row> primeras = ctx.db().query(
        QStringLiteral("select Cod from Propiedades where Alquiler = 0 order by Agencia, QuickID "
                       "limit ?"),
        {runs + 1});
    for (const db::Row& r : primeras)
        ctx.db().execute(QStringLiteral("update Propiedades set Foto1 = ?, Foto2 = ?, Foto3 = ?, Foto4 = ?, "
                                        "Foto5 = ?, Foto6 = ? where Cod = ?"),
                         {fotos[0], fotos[1], fotos[2], fotos[3], fotos[4], fotos[5], r.value(0)});

    // Floor of the photographs: the six decoded at display size, on as many
    // threads as the window's decoding pool; the naive peer decodes each at
    // full size and scales it afterwards.
    const int hilos = QThreadPool::globalInstance()->maxThreadCount();
    QThreadPool suelo;
    suelo.setMaxThreadCount(hilos);
    const auto decodificar = [&](const QString& f) {
        QImageReader lector(ctx.RutaFotos + f);
        lector.setScaledSize(lector.size().scaled(QSize(200, 130), Qt::KeepAspectRatio));
        lector.read();
    };
    QList<double> cpuHilos, cpuUno;
    const auto decod = bench::interleave(
        std::min(runs, 3), {bench::withCpu(
                                [&] {
                                    for (const QString& f : fotos)
                                        suelo.start([&, f] { decodificar(f); });
                                    suelo.waitForDone();
                                },
                                cpuHilos),
                            bench::withCpu(
                                [&] {
                                    for (const QString& f : fotos)
                                        decodificar(f);
                                },
                                cpuUno),
                            [&] {
                                for (const QString& f : fotos)
                                    (void)QImage(ctx.RutaFotos + f)
                                        .scaled(200, 130, Qt::KeepAspectRatio, Qt::SmoothTransformation);
                            }});
    const double decodificacion = decod[0].median();

    {
        orb::frmPropiedades w(ctx, false);
        w.show();
        QApplication::processEvents();
        esperarFotos(w);
        // Interleaved with its floor: the six decoded at display size on the pool.
        QList<double> texto, pintado, bloqueo;
        const auto siguiente = [&] {
            QElapsedTimer t;
            t.start();
            w.cmdNext->click(); // the record's text is in the boxes when the click returns
            texto << msDesde(t);
            QApplication::processEvents(); // the new record painted
            pintado << msDesde(t);
            // The user interface keeps answering while the pictures decode: the
            // longest single pass of the event loop is how long input could wait.
            double peor = 0;
            while (w.fotos->decodificando() > 0) {
                QElapsedTimer paso;
                paso.start();
                QApplication::processEvents(QEventLoop::AllEvents, 5);
                peor = std::max(peor, msDesde(paso));
            }
            const double ms = msDesde(t);
            bloqueo << peor;
            int conImagen = 0;
            for (int s = 0; s < orb::FotosPropiedad::NumFotos; ++s)
                conImagen += w.fotos->conImagen(s) ? 1 : 0;
            if (conImagen != orb::FotosPropiedad::NumFotos)
                std::printf("warning: %d of 6 photographs shown on %s\n", conImagen,
                            qPrintable(w.txt.value(orb::prop::Cod)->Text()));
            return ms;
        };
        const bench::Pair conFotos = bench::compareTimed(
            runs,
            [&] {
                return bench::timeMs([&] {
                    for (const QString& f : fotos)
                        suelo.start([&, f] { decodificar(f); });
                    suelo.waitForDone();
                });
            },
            siguiente, 0);
        // The same measure while the six decode on the pool with no window at all:
        // what sharing the processor with the decoders costs a pass by itself.
        double peorSinVentana = 0;
        {
            QList<QFuture<QImage>> trabajos;
            for (const QString& f : fotos)
                trabajos << QtConcurrent::run([ruta = ctx.RutaFotos + f] {
                    QImageReader lector(ruta);
                    lector.setScaledSize(lector.size().scaled(QSize(200, 130), Qt::KeepAspectRatio));
                    return lector.read();
                });
            const auto pendientes = [&] {
                return std::any_of(trabajos.begin(), trabajos.end(),
                                   [](const auto& t) { return !t.isFinished(); });
            };
            while (pendientes()) {
                QElapsedTimer paso;
                paso.start();
                QApplication::processEvents(QEventLoop::AllEvents, 5);
                peorSinVentana = std::max(peorSinVentana, msDesde(paso));
            }
        }
        const auto mediana = [](QList<double> l) {
            std::sort(l.begin(), l.end());
            return l[l.size() / 2];
        };
        std::printf("decoding threads: %d\n", QThreadPool::globalInstance()->maxThreadCount());
        figure("next record with 6 photos of 4000x3000: text in the boxes", mediana(texto), "ms", 0);
        figure("next record with 6 photos of 4000x3000: text painted", mediana(pintado), "ms", 0);
        figure("next record with 6 photos of 4000x3000: decoded photos shown", conFotos);
        bench::peer("next record with 6 photos: longest event-loop pass meanwhile", mediana(bloqueo), "ms",
                    peorSinVentana);
        std::printf(
            "6 photos decoded at display size on %d threads (floor): %.2f ms, on one thread %.2f ms\n", hilos,
            decodificacion, decod[1].median());
        // Throughput on the pool against one thread; the processor time of each
        // tells decoders that wait for one another (equal time, little speed-up)
        // from decoders that compete (more time on two threads).
        char nombre[96];
        std::snprintf(nombre, sizeof nombre, "6 photos decoded on %d threads against one thread (speed-up)",
                      hilos);
        bench::figure(nombre, 6000.0 / decodificacion, "photos/s", 6000.0 / decod[1].median(), "one thread");
        const double cpuPool = bench::Sample{cpuHilos.mid(1)}.median();
        std::printf(
            "  processor time: %.0f ms on %d threads (%.2f cores busy), %.0f ms on one (medians, warm-up "
            "left out; load %.2f)\n",
            cpuPool, hilos, cpuPool / decodificacion, bench::Sample{cpuUno.mid(1)}.median(),
            bench::loadAverage());
        bench::peer("6 photos decoded at display size on one thread, against full size then scaled (naive)",
                    decod[1].median(), "ms", decod[2].median());
    }

    // Four property windows, both sides twice, on the one shared connection.
    const Memoria m0 = memoria();
    std::vector<std::unique_ptr<orb::frmPropiedades>> ventanas;
    for (bool alquiler : {false, true, false, true}) {
        ventanas.push_back(std::make_unique<orb::frmPropiedades>(ctx, alquiler));
        ventanas.back()->show();
        QApplication::processEvents();
        ventanas.back()->cmdLast->click();
        QApplication::processEvents();
        if (ventanas.size() == 1)
            figure("RSS with 1 property window (heap)", memoria().anon, "MB", 0);
    }
    for (auto& v : ventanas)
        esperarFotos(*v);
    const Memoria m4 = memoria();
    figure("RSS with 4 property windows (heap)", m4.anon, "MB", m0.anon);
    figure("RSS with 4 property windows (heap + mapped file pages)", m4.anon + m4.file, "MB",
           m0.anon + m0.file);
    std::printf("4 property windows: heap %.1f MB, mapped pages %.1f MB (before them: %.1f + %.1f MB)\n",
                m4.anon, m4.file, m0.anon, m0.file);
    return 0;
}
