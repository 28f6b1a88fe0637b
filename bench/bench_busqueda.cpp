// The typical property search on a large agency: state, side, a bedrooms range
// and an address that contains a text, from pressing Find to the rows in the
// grid's model. The floor is the same statement on a plain SQLite connection
// with the program's memory map, functions and collation, stepped as far as
// the grid reads (its first block), every column read; connections are
// opened before the clock on both sides.
// Then a search that matches a whole side (the state list's empty item): its
// first rows against the same first rows on plain SQLite, and the memory it
// takes against the same result read whole. Not part of the test run.
//
//   build/bench_busqueda [N] [runs]

#include "BenchSupport.h"
#include "install/Installer.h"
#include "platform/db/Database.h"
#include "platform/widgets/DialogService.h"
#include "platform/widgets/QueryTableModel.h"
#include "search/SqlBusqueda.h"
#include "search/frmBusPropiedades.h"
#include "shell/AppContext.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

// The statement on plain SQLite: rows stepped (at most limite) and every column read.
int pasoPlano(sqlite3* db, const QString& sql, const db::Params& params, int limite = -1) {
    sqlite3_stmt* s = nullptr;
    const QByteArray texto = sql.toUtf8();
    if (sqlite3_prepare_v2(db, texto.constData(), -1, &s, nullptr) != SQLITE_OK) {
        std::printf("floor: %s\n", sqlite3_errmsg(db));
        return -1;
    }
    QList<QByteArray> guardados;
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        if (v.typeId() == QMetaType::QString) {
            guardados << v.toString().toUtf8();
            sqlite3_bind_text(s, i + 1, guardados.last().constData(), -1, SQLITE_STATIC);
        } else if (v.typeId() == QMetaType::Double) {
            sqlite3_bind_double(s, i + 1, v.toDouble());
        } else {
            sqlite3_bind_int64(s, i + 1, v.toLongLong());
        }
    }
    int filas = 0;
    while ((limite < 0 || filas < limite) && sqlite3_step(s) == SQLITE_ROW) {
        bench::readColumns(s);
        ++filas;
    }
    sqlite3_finalize(s);
    return filas;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 9;

    QTemporaryDir dir;
    const QString carpeta = dir.path() + "/";
    orb::install::InstallOptions options;
    options.demoProperties = n;
    options.demoPhotos = false;
    options.facts = orb::install::demoFacts();
    orb::install::createInstallation(carpeta, options);
    const QString fichero = carpeta + "Orbalia.db";

    orb::CriteriosPropiedades c;
    c.estado = QStringLiteral("En Venta");
    c.dormitoriosDesde = QStringLiteral("2");
    c.dormitoriosHasta = QStringLiteral("3");
    c.direccion = QStringLiteral("Larios");
    const orb::ConsultaBusqueda q = orb::SqlBusquedaPropiedades(c);

    ui::ScriptedDialogService dialogos;
    const auto contexto = [&] {
        auto ctx = std::make_unique<orb::AppContext>();
        ctx->RutaAplicacion = carpeta;
        ctx->RutaBaseDatos = fichero;
        ctx->dialogs = &dialogos;
        ctx->BaseDatosAgencia = db::Database::open(fichero);
        return ctx;
    };
    // The user's criteria typed into the window; the timing is the click on Find.
    const auto teclear = [&](orb::frmBusPropiedades& f) {
        f.cbo[orb::frmBusPropiedades::Estado]->setCurrentText(c.estado);
        f.txt[orb::frmBusPropiedades::DormitoriosDesde]->setText(c.dormitoriosDesde);
        f.txt[orb::frmBusPropiedades::DormitoriosHasta]->setText(c.dormitoriosHasta);
        f.txt[orb::frmBusPropiedades::Direccion]->setText(c.direccion);
    };

    // Plan of the statement as the program runs it, and the index's columns.
    const auto plan = [&](const orb::ConsultaBusqueda& consulta) {
        auto ctx = contexto();
        std::printf("EXPLAIN QUERY PLAN %s\n", qPrintable(consulta.sql));
        QStringList indices;
        for (const db::Row& r : ctx->db().query("EXPLAIN QUERY PLAN " + consulta.sql, consulta.params)) {
            const QString linea = r.value(3).toString();
            std::printf("  %s\n", qPrintable(linea));
            const auto i = linea.indexOf(QStringLiteral("USING INDEX "));
            if (linea.contains(QStringLiteral(" p ")) && i >= 0)
                indices << linea.mid(i + 12).section(u' ', 0, 0);
        }
        for (const QString& i : indices) {
            QStringList columnas;
            for (const db::Row& r :
                 ctx->db().query("SELECT name FROM pragma_index_info(?) ORDER BY seqno", {i}))
                columnas << r.value(0).toString();
            std::printf("  index %s: (%s)\n", qPrintable(i), qPrintable(columnas.join(", ")));
        }
    };
    plan(q);

    // Floor: plain SQLite, the same statement, as many rows as the grid reads.
    const QString sqlPlano = q.sql;
    const int primerBloque = ui::QueryTableModel::BlockSize;
    int filasPlano = 0;
    int filas = 0;
    // First search after start: a fresh connection each round, opened before the clock on both sides.
    const bench::Pair primero = bench::compareTimed(
        runs,
        [&] {
            sqlite3* db = bench::openPlain(fichero);
            QElapsedTimer t;
            t.start();
            filasPlano = pasoPlano(db, sqlPlano, q.params, primerBloque);
            const double ms = t.nsecsElapsed() / 1e6;
            sqlite3_close(db);
            return ms;
        },
        [&] {
            auto ctx = contexto();
            orb::frmBusPropiedades f(*ctx, false);
            teclear(f);
            QElapsedTimer t;
            t.start();
            f.cmdFind->click();
            const double ms = t.nsecsElapsed() / 1e6;
            filas = f.dataGrid->rowCount();
            return ms;
        });
    sqlite3* plano = bench::openPlain(fichero);
    auto ctx = contexto();
    orb::frmBusPropiedades f(*ctx, false);
    teclear(f);
    const bench::Pair caliente = bench::compare(
        runs, [&] { filasPlano = pasoPlano(plano, sqlPlano, q.params, primerBloque); },
        [&] { f.cmdFind->click(); });
    sqlite3_close(plano);

    std::printf("properties: %d, hits in the grid's first block: %d (floor %d)\n", n, filas, filasPlano);
    bench::figure("property search, first after start", primero);
    bench::figure("property search, warm", caliente);

    // A whole side: the state list's empty item, nothing else.
    orb::CriteriosPropiedades todo;
    todo.estado.clear();
    const orb::ConsultaBusqueda ancha = orb::SqlBusquedaPropiedades(todo);
    plan(ancha);
    double memoriaPrimeras = 0;
    double memoriaTodas = 0;
    int filasAncha = 0;
    int filasAnchaPlano = 0;
    int ronda = 0;
    const bench::Pair ancho = bench::compareTimed(
        runs,
        [&] {
            sqlite3* db = bench::openPlain(fichero);
            QElapsedTimer t;
            t.start();
            filasAnchaPlano = pasoPlano(db, ancha.sql, ancha.params, primerBloque);
            const double ms = t.nsecsElapsed() / 1e6;
            sqlite3_close(db);
            return ms;
        },
        [&] {
            auto ctx = contexto();
            orb::frmBusPropiedades w(*ctx, false);
            w.cbo[orb::frmBusPropiedades::Estado]->setCurrentIndex(0);
            const double antes = bench::rssMb();
            QElapsedTimer t;
            t.start();
            w.cmdFind->click();
            const double ms = t.nsecsElapsed() / 1e6;
            const double primeras = bench::rssMb() - antes;
            // The same result read whole: what a copy of it would take.
            w.cmdLast->click();
            filasAncha = w.dataGrid->rowCount();
            if (++ronda == runs + 1) {
                memoriaPrimeras = primeras;
                memoriaTodas = bench::rssMb() - antes;
            }
            return ms;
        });
    std::printf("whole side: %d rows (floor read its first %d)\n", filasAncha, filasAnchaPlano);
    bench::figure("whole-side search, first rows after start", ancho);
    // Against the peer that copies the whole result.
    bench::peer("whole-side search, memory for the first rows", memoriaPrimeras, "MB", memoriaTodas);
    bench::figure("whole-side search, memory with every row read (Last)", memoriaTodas, "MB", 0);
    if (filas != filasPlano)
        std::printf("warning: the grid holds %d rows, the floor read %d\n", filas, filasPlano);
    return filas == filasPlano ? 0 : 1;
}
