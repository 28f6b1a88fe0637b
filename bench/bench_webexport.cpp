// The web export of 10,000 web-marked properties (half for sale, half for
// rent) to the MariaDB server of the test fixture (scripts/test-servers.sh),
// against its floor, interleaved round by round: the same statement read
// from the same file by plain SQLite (the program's memory map, a connection
// already open as the program's is), each column stepped straight into
// Connector/C bind arrays, sent by array binding inside one transaction on a
// connection opened in the round as the program opens its own (delete this
// agency's rows, insert both tables, commit). Both leave the same rows: the
// tables' checksums are compared. The pictures' figures are bench_webplatform's.
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
#include <string>
#include <vector>

using namespace orb;

namespace {

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

// Column-wise bind arrays for one pass, filled straight from the statement.
struct BareColumns {
    enum Kind { Int, Real, Text };
    std::vector<Kind> kinds;
    std::vector<std::vector<long long>> ints;
    std::vector<std::vector<double>> reals;
    std::vector<std::string> arena;
    std::vector<std::vector<std::size_t>> offsets;
    std::vector<std::vector<const char*>> pointers;
    std::vector<std::vector<unsigned long>> lengths;
    std::vector<std::vector<char>> indicators;
    std::vector<MYSQL_BIND> binds;
    unsigned rows = 0;

    explicit BareColumns(std::size_t n)
        : kinds(n), ints(n), reals(n), arena(n), offsets(n), pointers(n), lengths(n), indicators(n),
          binds(n) {}
    void clear() {
        rows = 0;
        for (std::size_t c = 0; c < kinds.size(); ++c) {
            ints[c].clear();
            reals[c].clear();
            arena[c].clear();
            offsets[c].clear();
            lengths[c].clear();
            indicators[c].clear();
        }
    }
    void null(std::size_t c) {
        indicators[c].push_back(STMT_INDICATOR_NULL);
        ints[c].push_back(0);
        reals[c].push_back(0);
        offsets[c].push_back(arena[c].size());
        lengths[c].push_back(0);
    }
    void text(std::size_t c, const char* p, std::size_t n) {
        indicators[c].push_back(STMT_INDICATOR_NONE);
        offsets[c].push_back(arena[c].size());
        lengths[c].push_back(n);
        arena[c].append(p, n);
    }
    void integer(std::size_t c, long long v) {
        indicators[c].push_back(STMT_INDICATOR_NONE);
        ints[c].push_back(v);
    }
    void real(std::size_t c, double v) {
        indicators[c].push_back(STMT_INDICATOR_NONE);
        reals[c].push_back(v);
    }
    MYSQL_BIND* bind() {
        for (std::size_t c = 0; c < kinds.size(); ++c) {
            MYSQL_BIND& b = binds[c];
            b = MYSQL_BIND{};
            b.u.indicator = indicators[c].data();
            if (kinds[c] == Int) {
                ints[c].resize(rows);
                b.buffer_type = MYSQL_TYPE_LONGLONG;
                b.buffer = ints[c].data();
            } else if (kinds[c] == Real) {
                reals[c].resize(rows);
                b.buffer_type = MYSQL_TYPE_DOUBLE;
                b.buffer = reals[c].data();
            } else {
                pointers[c].resize(rows);
                for (unsigned r = 0; r < rows; ++r)
                    pointers[c][r] = arena[c].data() + offsets[c][r];
                b.buffer_type = MYSQL_TYPE_STRING;
                b.buffer = pointers[c].data();
                b.length = lengths[c].data();
            }
        }
        return binds.data();
    }
};

// One pass read from plain SQLite into bind arrays: the fixed columns as the
// program makes them, the others by their declared type.
void readPass(sqlite3* h, Pasada p, BareColumns& out) {
    const ConsultaFilasWeb q = SqlFilasWeb(p, QStringLiteral("B"));
    const QList<ColumnaWeb> fuentes = FuentesWeb(p);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, q.sql.toUtf8().constData(), -1, &st, nullptr);
    const QByteArray agencia = q.params.value(0).toString().toUtf8();
    const QByteArray estado = q.params.value(1).toString().toUtf8();
    sqlite3_bind_text(st, 1, agencia.constData(), int(agencia.size()), SQLITE_STATIC);
    sqlite3_bind_text(st, 2, estado.constData(), int(estado.size()), SQLITE_STATIC);
    sqlite3_bind_int(st, 3, q.params.value(2).toInt());
    std::vector<QByteArray> fijos;
    for (const ColumnaWeb& f : fuentes)
        fijos.push_back(f.fijo.toUtf8());
    std::vector<int> columna(std::size_t(fuentes.size()), -1);
    int campo = PrimerCampoWeb;
    for (qsizetype c = 0; c < fuentes.size(); ++c) {
        BareColumns::Kind k = BareColumns::Text;
        if (fuentes[c].fuente == FuenteWeb::Campo || fuentes[c].fuente == FuenteWeb::QuickId) {
            const int i = fuentes[c].fuente == FuenteWeb::QuickId ? 0 : campo++;
            columna[std::size_t(c)] = i;
            const QByteArray decl = QByteArray(sqlite3_column_decltype(st, i)).toUpper();
            k = decl.contains("INT") || decl.contains("BOOL") ? BareColumns::Int
                : decl.contains("CURRENCY") || decl.contains("DOUBLE") || decl.contains("REAL")
                    ? BareColumns::Real
                    : BareColumns::Text;
        } else if (fuentes[c].fuente == FuenteWeb::Cero) {
            k = BareColumns::Int;
        }
        out.kinds[std::size_t(c)] = k;
    }
    const char letra = p == Pasada::Venta ? 'R' : 'L';
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (std::size_t c = 0; c < out.kinds.size(); ++c) {
            const FuenteWeb f = fuentes[qsizetype(c)].fuente;
            if (f == FuenteWeb::Ident) {
                char ident[64];
                const int n = std::snprintf(ident, sizeof ident, "%cBENCH-%05lld", letra,
                                            static_cast<long long>(sqlite3_column_int64(st, 0)));
                out.text(c, ident, std::size_t(n));
            } else if (f == FuenteWeb::Agencia) {
                out.text(c, "BENCH", 5);
            } else if (f == FuenteWeb::Cero) {
                out.integer(c, 0);
            } else if (columna[c] < 0) {
                out.text(c, fijos[c].constData(), std::size_t(fijos[c].size()));
            } else if (sqlite3_column_type(st, columna[c]) == SQLITE_NULL) {
                out.null(c);
            } else if (out.kinds[c] == BareColumns::Int) {
                out.integer(c, sqlite3_column_int64(st, columna[c]));
            } else if (out.kinds[c] == BareColumns::Real) {
                out.real(c, sqlite3_column_double(st, columna[c]));
            } else {
                out.text(c, reinterpret_cast<const char*>(sqlite3_column_text(st, columna[c])),
                         std::size_t(sqlite3_column_bytes(st, columna[c])));
            }
        }
        ++out.rows;
    }
    sqlite3_finalize(st);
}

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
    check(!mysql_stmt_bind_param(st, data.bind()), m);
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

    sqlite3* plano = bench::openPlain(ctx.RutaBaseDatos);
    BareColumns v(std::size_t(ColumnasWeb(Pasada::Venta).size()));
    BareColumns a(std::size_t(ColumnasWeb(Pasada::Alquiler).size()));
    const auto floor = [&] {
        v.clear();
        a.clear();
        MYSQL* m = mysql_init(nullptr);
        check(mysql_real_connect(m, o.host.toUtf8().constData(), o.user.toUtf8().constData(),
                                 o.password.toUtf8().constData(), o.database.toUtf8().constData(), o.port,
                                 nullptr, 0) != nullptr,
              m);
        mysql_set_character_set(m, "utf8mb4");
        check(mysql_query(m, "START TRANSACTION") == 0, m);
        check(mysql_query(m, "DELETE FROM webproperties WHERE agency = 'BENCH'") == 0, m);
        readPass(plano, Pasada::Venta, v);
        bareInsert(m, "webproperties", ColumnasWeb(Pasada::Venta), v);
        check(mysql_query(m, "DELETE FROM webrentals WHERE agency = 'BENCH'") == 0, m);
        readPass(plano, Pasada::Alquiler, a);
        bareInsert(m, "webrentals", ColumnasWeb(Pasada::Alquiler), a);
        check(mysql_query(m, "COMMIT") == 0, m);
        mysql_close(m);
    };
    auto web = mysql::Connection::connect(o);
    // The rows as the site reads them (the table's own row number aside).
    const auto checksums = [&] {
        QString out;
        for (Pasada p : {Pasada::Venta, Pasada::Alquiler}) {
            QStringList cols;
            for (const QString& c : ColumnasWeb(p))
                cols << QStringLiteral("IFNULL(%1, '~')").arg(c);
            out += web->query(QStringLiteral(
                                  "SELECT CONCAT(COUNT(*), ':', SUM(CRC32(CONCAT_WS('|', %1)))) FROM %2")
                                  .arg(cols.join(u','), TablaWeb(p)))
                       .value(0)
                       .value(0)
                       .toString() +
                   u' ';
        }
        return out.trimmed();
    };
    floor();
    const QString deSuelo = checksums();
    const auto volcar = [&](const char* quien) {
        if (qEnvironmentVariableIsSet("BENCH_DUMP"))
            for (const char* t : {"webproperties", "webrentals"})
                for (const mysql::Row& r : web->query(
                         QStringLiteral("SELECT * FROM %1 ORDER BY ident LIMIT 2").arg(QLatin1String(t)))) {
                    QStringList l;
                    for (const QVariant& x : r)
                        l << (x.isNull() ? QStringLiteral("NULL") : x.toString());
                    std::printf("%s %s: %s\n", quien, t, qPrintable(l.join(u'|')));
                }
    };
    volcar("floor");
    bool ok = true;
    const auto program = [&] {
        ExportacionWeb e(ctx, AjustesWeb::leer(ctx));
        ok = e.Exportar() && ok;
    };
    program();
    const QString delPrograma = checksums();
    volcar("program");
    if (!ok) {
        std::fprintf(stderr, "bench_webexport: the export failed\n");
        return 1;
    }
    // The way it was: rows read into values (LeerFilasWeb), sent through executeMany.
    const auto antes = [&] {
        auto c = mysql::Connection::connect(o);
        mysql::Transaction tx(*c);
        for (Pasada p : {Pasada::Venta, Pasada::Alquiler}) {
            c->execute(QStringLiteral("DELETE FROM %1 WHERE agency = ?").arg(TablaWeb(p)), {"BENCH"});
            QList<mysql::Params> filas;
            for (const FilaWeb& f : LeerFilasWeb(ctx.db(), p, "B", "BENCH"))
                filas << f.valores;
            QStringList marcas;
            marcas.fill(QStringLiteral("?"), ColumnasWeb(p).size());
            c->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(TablaWeb(p), ColumnasWeb(p).join(u','), marcas.join(u',')))
                ->executeMany(filas);
        }
        tx.commit();
    };
    const auto s = bench::interleave(runs, {floor, program, antes});
    const bench::Pair par{s[0], s[1]};
    const bench::Pair previo{s[0], s[2]};
    sqlite3_close(plano);
    std::printf("rows: %u sales, %u rentals; checksums %s (floor %s)\n", v.rows, a.rows,
                qPrintable(delPrograma), qPrintable(deSuelo));
    bench::printPlan(ctx.db().handle(), SqlFilasWeb(Pasada::Venta, "B").sql.replace("?", "'x'"));
    char nombre[64];
    std::snprintf(nombre, sizeof nombre, "webexport_%d_properties", count);
    bench::figure(nombre, par);
    bench::figure("webexport, rows through values and executeMany (before)", previo);
    if (delPrograma != deSuelo) {
        std::printf("the program's rows differ from the floor's\n");
        return 1;
    }
    return 0;
}
