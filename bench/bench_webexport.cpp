// The web export of 10,000 web-marked properties (half for sale, half for
// rent) to the MariaDB server of the test fixture (scripts/test-servers.sh),
// against its floor measured in the same run: the same rows, already in
// memory, sent with bare Connector/C array binding inside one transaction
// (delete this agency's rows, insert both tables, commit). The pictures'
// figures are bench_webplatform's.
//
//   source scripts/test-servers.sh; build/bench_webexport [properties] [runs]

#include "BenchSupport.h"
#include "TestServers.h"
#include "install/Installer.h"
#include "platform/db/Database.h"
#include "platform/mysql/Connection.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "webexport/ExportacionWeb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <mysql.h>
#include <vector>

using namespace orb;

namespace {

using bench::medianMs;

void createWebTables(mysql::Connection& c) {
    c.execute("DROP TABLE IF EXISTS webproperties");
    c.execute("DROP TABLE IF EXISTS webrentals");
    QFile f(QStringLiteral(ORBALIA_SOURCE_DIR "/docs/web-schema.sql"));
    f.open(QIODevice::ReadOnly);
    QString sql;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n'))
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            sql += line + u'\n';
    for (const QString& stmt : sql.split(u';'))
        if (!stmt.trimmed().isEmpty())
            c.execute(stmt);
}

void fillAgency(db::Database& d, int count) {
    db::Transaction tx(d);
    for (int i = 1; i <= 20; ++i) {
        d.execute("INSERT INTO Tipos (Cod, Nombre, NombreIdioma1, NombreIdioma2) VALUES (?, ?, ?, ?)",
                  {i, QStringLiteral("Tipo %1").arg(i), QStringLiteral("Type %1").arg(i),
                   QStringLiteral("Type fr %1").arg(i)});
        d.execute("INSERT INTO Localidades (Cod, Nombre) VALUES (?, ?)",
                  {i, QStringLiteral("Localidad %1").arg(i)});
        d.execute("INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (?, ?, ?)",
                  {i, QStringLiteral("Zona %1").arg(i), i});
    }
    const QString texto = QStringLiteral("Vivienda luminosa con vistas al mar, cerca de la playa y de todos "
                                         "los servicios; cocina amueblada, terraza y piscina comunitaria.");
    for (int i = 1; i <= count; ++i) {
        const bool alquiler = i % 2 == 0;
        d.execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, ExportacionWeb, CodTipo, "
            "CodLocalidad, CodArea, Precio, Metros, MetrosParcela, Dormitorios, Banos, Piscina, Jardin, "
            "Garaje, CocinaAmueblada, AnoConstruccion, Orientacion, PlazasGaraje, WebDescripcion, "
            "WebDescripcionIdioma1, WebDescripcionIdioma2) "
            "VALUES (?, 'B', ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, 'S', 'N', 'S', 1, 1999, 'SO', 1, ?, ?, ?)",
            {QStringLiteral("B%1").arg(i, 5, 10, QLatin1Char('0')), i, alquiler ? 1 : 0,
             alquiler ? "Libre" : "En Venta", 1 + i % 20, 1 + i % 20, 1 + i % 20, 100000.0 + i, 80 + i % 50,
             i % 3 * 100, 1 + i % 4, 1 + i % 3, texto, texto, texto});
    }
    tx.commit();
}

// Column-wise arrays for one table, built before the clock starts.
struct BareColumns {
    std::vector<std::vector<long long>> ints;
    std::vector<std::vector<double>> reals;
    std::vector<std::vector<QByteArray>> texts;
    std::vector<std::vector<const char*>> pointers;
    std::vector<std::vector<unsigned long>> lengths;
    std::vector<std::vector<char>> indicators;
    std::vector<MYSQL_BIND> binds;
    unsigned rows = 0;

    explicit BareColumns(const QList<FilaWeb>& filas) {
        const qsizetype n = filas.isEmpty() ? 0 : filas[0].valores.size();
        rows = unsigned(filas.size());
        ints.resize(n);
        reals.resize(n);
        texts.resize(n);
        pointers.resize(n);
        lengths.resize(n);
        indicators.resize(n);
        binds.resize(n);
        for (qsizetype c = 0; c < n; ++c) {
            int kind = 0; // 0 null, 1 int, 2 real, 3 text
            for (const FilaWeb& f : filas) {
                const QVariant& v = f.valores[c];
                if (v.isNull())
                    continue;
                const int t = v.typeId();
                const int k = (t == QMetaType::QString) ? 3 : (t == QMetaType::Double) ? 2 : 1;
                kind = std::max(kind, k);
            }
            indicators[c].assign(rows, STMT_INDICATOR_NONE);
            lengths[c].assign(rows, 0);
            ints[c].assign(rows, 0);
            reals[c].assign(rows, 0);
            texts[c].assign(rows, {});
            pointers[c].assign(rows, "");
            for (unsigned r = 0; r < rows; ++r) {
                const QVariant& v = filas[r].valores[c];
                if (v.isNull()) {
                    indicators[c][r] = STMT_INDICATOR_NULL;
                } else if (kind == 1) {
                    ints[c][r] = v.toLongLong();
                } else if (kind == 2) {
                    reals[c][r] = v.toDouble();
                } else {
                    texts[c][r] = v.toString().toUtf8();
                    pointers[c][r] = texts[c][r].constData();
                    lengths[c][r] = static_cast<unsigned long>(texts[c][r].size());
                }
            }
            MYSQL_BIND& b = binds[c];
            b = MYSQL_BIND{};
            b.u.indicator = indicators[c].data();
            b.length = lengths[c].data();
            if (kind == 1) {
                b.buffer_type = MYSQL_TYPE_LONGLONG;
                b.buffer = ints[c].data();
            } else if (kind == 2) {
                b.buffer_type = MYSQL_TYPE_DOUBLE;
                b.buffer = reals[c].data();
            } else {
                b.buffer_type = MYSQL_TYPE_STRING;
                b.buffer = pointers[c].data();
            }
        }
    }
};

void check(bool ok, MYSQL* m) {
    if (!ok) {
        std::fprintf(stderr, "bench_webexport: %s\n", mysql_error(m));
        std::exit(1);
    }
}

void bareInsert(MYSQL* m, const QString& table, const QStringList& cols, BareColumns& data) {
    QStringList marks;
    marks.fill(QStringLiteral("?"), cols.size());
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(table, cols.join(u','), marks.join(u','))
                               .toUtf8();
    MYSQL_STMT* st = mysql_stmt_init(m);
    check(mysql_stmt_prepare(st, sql.constData(), sql.size()) == 0, m);
    unsigned size = data.rows;
    mysql_stmt_attr_set(st, STMT_ATTR_ARRAY_SIZE, &size);
    check(!mysql_stmt_bind_param(st, data.binds.data()), m);
    check(mysql_stmt_execute(st) == 0, m);
    mysql_stmt_close(st);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 10000;
    const int runs = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 3;
    const auto servidor = testservers::mysqlServer();
    if (!servidor) {
        std::printf("webexport: skipped (no server; source scripts/test-servers.sh first)\n");
        return 0;
    }
    const mysql::ConnectOptions& o = servidor->options;
    createWebTables(*mysql::Connection::connect(o));

    QTemporaryDir dir;
    install::InstallOptions opciones;
    opciones.facts.CodigoOficina = QStringLiteral("B");
    opciones.facts.CodigoAgenciaWeb = QStringLiteral("BENCH");
    install::createInstallation(dir.path(), opciones);
    AppContext ctx;
    ctx.RutaAplicacion = dir.path() + u'/';
    ctx.RutaFotos = ctx.RutaAplicacion + QStringLiteral("Fotos/");
    ctx.RutaWeb = ctx.RutaAplicacion + QStringLiteral("Web/");
    ctx.RutaBaseDatos = ctx.RutaAplicacion + QStringLiteral("Orbalia.db");
    ctx.facts = opciones.facts;
    ctx.BaseDatosAgencia = db::Database::open(ctx.RutaBaseDatos);
    fillAgency(ctx.db(), count);
    GuardarConfig(ctx.db(), "WEB", "SERVIDOR", QStringLiteral("%1:%2").arg(o.host).arg(o.port));
    GuardarConfig(ctx.db(), "WEB", "BASEDATOS", o.database);
    GuardarConfig(ctx.db(), "WEB", "USUARIO", o.user);
    GuardarConfig(ctx.db(), "WEB", "PASSWORD", o.password);

    bool ok = true;
    const double export_ = medianMs(runs, [&] {
        ExportacionWeb e(ctx, AjustesWeb::leer(ctx));
        ok = e.Exportar() && ok;
    });
    if (!ok) {
        std::fprintf(stderr, "bench_webexport: the export failed\n");
        return 1;
    }

    QElapsedTimer lectura;
    lectura.start();
    const QList<FilaWeb> ventas = LeerFilasWeb(ctx.db(), Pasada::Venta, "B", "BENCH");
    const QList<FilaWeb> alquileres = LeerFilasWeb(ctx.db(), Pasada::Alquiler, "B", "BENCH");
    const double leer = lectura.nsecsElapsed() / 1e6;
    BareColumns v(ventas), a(alquileres);
    MYSQL* m = mysql_init(nullptr);
    check(mysql_real_connect(m, o.host.toUtf8().constData(), o.user.toUtf8().constData(),
                             o.password.toUtf8().constData(), o.database.toUtf8().constData(), o.port,
                             nullptr, 0) != nullptr,
          m);
    mysql_set_character_set(m, "utf8mb4");
    const double floor = medianMs(runs, [&] {
        check(mysql_query(m, "START TRANSACTION") == 0, m);
        check(mysql_query(m, "DELETE FROM webproperties WHERE agency = 'BENCH'") == 0, m);
        bareInsert(m, "webproperties", ColumnasWeb(Pasada::Venta), v);
        check(mysql_query(m, "DELETE FROM webrentals WHERE agency = 'BENCH'") == 0, m);
        bareInsert(m, "webrentals", ColumnasWeb(Pasada::Alquiler), a);
        check(mysql_query(m, "COMMIT") == 0, m);
    });
    mysql_close(m);

    std::printf("webexport_bare_array_insert_%d: %.1f ms (1.00× floor)\n", count, floor);
    std::printf("webexport_read_agency_rows_%d: %.1f ms (%.2f× floor)\n", count, leer, leer / floor);
    std::printf("webexport_%d_properties: %.1f ms (%.2f× floor)\n", count, export_, export_ / floor);
    return 0;
}
