// The typical property search on a large agency: state, side, a bedrooms range
// and an address that contains a text, from pressing Find to the rows in the
// grid's model. The floor is the same statement on a plain SQLite connection
// (built-in LIKE, no accent folding, a byte-order collation), stepped to its
// end. Then a search that matches a whole side (the state list's empty item):
// its first rows against plain SQLite's first rows of the same statement, and
// the memory it takes against the same result read whole. Not part of the
// test run.
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

using bench::medianMs;

void linea(const char* nombre, double valor, double suelo) {
    std::printf("%s: %.2f ms (%.2f× floor)\n", nombre, valor, suelo > 0 ? valor / suelo : 0.0);
}

int bytesCmp(void*, int la, const void* a, int lb, const void* b) {
    const int r = memcmp(a, b, std::size_t(std::min(la, lb)));
    return r != 0 ? r : la - lb;
}

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
        for (int c = 0; c < sqlite3_column_count(s); ++c)
            sqlite3_column_text(s, c);
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

    // Floor: plain SQLite, the same statement with the built-in LIKE.
    QString sqlPlano = q.sql;
    sqlPlano.replace(QStringLiteral("likesinacentos(?, Direccion, '\\')"),
                     QStringLiteral("Direccion LIKE ? ESCAPE '\\'"));
    int filasPlano = 0;
    const auto abrirPlano = [&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(fichero.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_create_collation(db, "es", SQLITE_UTF8, nullptr, bytesCmp);
        return db;
    };
    const double sueloPrimero = medianMs(runs, [&] {
        sqlite3* db = abrirPlano();
        filasPlano = pasoPlano(db, sqlPlano, q.params);
        sqlite3_close(db);
    });
    sqlite3* plano = abrirPlano();
    const double sueloCaliente = medianMs(runs, [&] { filasPlano = pasoPlano(plano, sqlPlano, q.params); });
    sqlite3_close(plano);

    // The program: window open after start, first Find.
    int filas = 0;
    QList<double> primeros;
    for (int i = 0; i < runs; ++i) {
        auto ctx = contexto();
        orb::frmBusPropiedades f(*ctx, false);
        teclear(f);
        QElapsedTimer t;
        t.start();
        f.cmdFind->click();
        primeros << t.nsecsElapsed() / 1e6;
        filas = f.dataGrid->rowCount();
    }
    std::sort(primeros.begin(), primeros.end());
    auto ctx = contexto();
    orb::frmBusPropiedades f(*ctx, false);
    teclear(f);
    f.cmdFind->click();
    const double caliente = medianMs(runs, [&] { f.cmdFind->click(); });

    std::printf("properties: %d, hits: %d (floor %d)\n", n, filas, filasPlano);
    linea("property search, first after start", primeros[primeros.size() / 2], sueloPrimero);
    linea("property search, warm", caliente, sueloCaliente);

    // A whole side: the state list's empty item, nothing else.
    orb::CriteriosPropiedades todo;
    todo.estado.clear();
    const orb::ConsultaBusqueda ancha = orb::SqlBusquedaPropiedades(todo);
    plan(ancha);
    const int primerBloque = ui::QueryTableModel::BlockSize;
    const double sueloAncha = medianMs(runs, [&] {
        sqlite3* db = abrirPlano();
        pasoPlano(db, ancha.sql, ancha.params, primerBloque);
        sqlite3_close(db);
    });
    QList<double> anchas;
    double memoriaPrimeras = 0;
    double memoriaTodas = 0;
    int filasAncha = 0;
    for (int i = 0; i < runs; ++i) {
        auto ctx = contexto();
        orb::frmBusPropiedades w(*ctx, false);
        w.cbo[orb::frmBusPropiedades::Estado]->setCurrentIndex(0);
        const double antes = bench::rssMb();
        QElapsedTimer t;
        t.start();
        w.cmdFind->click();
        anchas << t.nsecsElapsed() / 1e6;
        const double primeras = bench::rssMb() - antes;
        // The same result read whole: what a copy of it would take.
        w.cmdLast->click();
        filasAncha = w.dataGrid->rowCount();
        if (i == runs - 1) {
            memoriaPrimeras = primeras;
            memoriaTodas = bench::rssMb() - antes;
        }
    }
    std::sort(anchas.begin(), anchas.end());
    std::printf("whole side: %d rows\n", filasAncha);
    linea("whole-side search, first rows after start", anchas[anchas.size() / 2], sueloAncha);
    bench::figure("whole-side search, memory for the first rows", memoriaPrimeras, "MB", memoriaTodas);
    bench::figure("whole-side search, memory with every row read (Last)", memoriaTodas, "MB", 0);
    return filas == filasPlano ? 0 : 1;
}
