// The duplicate check a confirm runs for an owner or a client, on an agency
// of 50,000 clients and 30,000 owners whose phones, e-mails and identity
// numbers are typed every which way. The floor is the same lookups on a plain
// SQLite connection to the same file: the statements bound and stepped, the
// candidates' rows read, with nothing of the program around them. Not part
// of the test run.
//
//   build/bench_duplicados [N] [runs]   (N/2 clients and 3N/10 owners; N = 100,000)

#include "BenchSupport.h"
#include "platform/db/Database.h"
#include "platform/db/Statement.h"
#include "platform/db/Transaction.h"
#include "records/Duplicados.h"
#include "shell/Identidad.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

const QStringList kNombres{"Klaus Müller", "José Pérez",     "María Núñez",   "Sean O'Connor", "Ana García",
                           "Jürgen Weiß",  "Lucía Martínez", "Pierre Dubois", "Ingrid Olsen",  "Luis Gómez"};

QString Telefono(QRandomGenerator& r) {
    const QString n = QString::number(600000000 + r.bounded(399999999));
    switch (r.bounded(4)) {
    case 0:
        return n;
    case 1:
        return "+34 " + n.left(3) + " " + n.mid(3, 2) + " " + n.mid(5, 2) + " " + n.mid(7);
    case 2:
        return n.left(3) + "-" + n.mid(3, 3) + "-" + n.mid(6);
    default:
        return "0034." + n;
    }
}

void Llenar(db::Database& base, const QString& tabla, int n, QRandomGenerator& r) {
    db::runInTransaction(base, [&] {
        db::Statement ins(base, QString("INSERT INTO %1 (Cod, Agencia, QuickID, Alquiler, FechaAlta, Nombre, "
                                        "Telefono, Movil, Fax, Email, Dni, Nie, Pasaporte) "
                                        "VALUES (?, '01', ?, ?, '2024-01-01', ?, ?, ?, '', ?, ?, '', '')")
                                    .arg(tabla));
        for (int i = 1; i <= n; ++i) {
            const quint32 dni = 10000000u + r.bounded(89999999u);
            ins.execute({QString("01%1").arg(i, 6, 10, QChar('0')), i, i % 3 == 0,
                         kNombres.at(i % kNombres.size()) + QString(" %1").arg(i), Telefono(r), Telefono(r),
                         QString(" Persona.%1@Correo.es").arg(i),
                         i % 2 ? QString("%1%2").arg(dni).arg(orb::LetraDni(dni))
                               : QString("%1.%2-%3")
                                     .arg(dni / 1000)
                                     .arg(dni % 1000, 3, 10, QChar('0'))
                                     .arg(orb::LetraDni(dni))});
        }
    });
}

// Floor: the same index lookups and row reads with plain SQLite.
int Plano(sqlite3* db, const QString& tabla, const orb::PersonaComparada& p) {
    QList<QPair<QString, QStringList>> busquedas;
    QStringList formas;
    for (const QString& t : p.telefonos)
        formas += orb::FormasTelefono(orb::TelefonoComparable(t));
    for (const char* c : {"Telefono", "Movil", "Fax"})
        busquedas.append({orb::SqlTelefono(c), formas});
    QStringList docs;
    for (const QString& d : p.documentos)
        if (!d.isEmpty())
            docs << orb::DocumentoLimpio(d);
    for (const char* c : {"Dni", "Nie", "Pasaporte"})
        busquedas.append({orb::SqlDocumento(c), docs});
    busquedas.append({orb::SqlEmail("Email"), {orb::EmailComparable(p.email)}});
    QList<qint64> ids;
    for (const auto& [expr, valores] : busquedas) {
        const QByteArray sql = QString("SELECT rowid FROM %1 WHERE Alquiler = 0 AND %2 IN (%3)")
                                   .arg(tabla, expr, QString("?,").repeated(valores.size()).chopped(1))
                                   .toUtf8();
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr);
        QList<QByteArray> textos;
        for (const QString& v : valores)
            textos << v.toUtf8();
        for (int i = 0; i < textos.size(); ++i)
            sqlite3_bind_text(s, i + 1, textos[i].constData(), -1, SQLITE_STATIC);
        while (sqlite3_step(s) == SQLITE_ROW)
            if (!ids.contains(sqlite3_column_int64(s, 0)))
                ids << sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    }
    // Each candidate's row read once.
    int filas = 0;
    for (qint64 id : ids) {
        {
            sqlite3_stmt* f = nullptr;
            sqlite3_prepare_v2(db,
                               QString("SELECT Cod, Nombre, Telefono, Movil, Fax, Email, Agencia, Dni, Nie, "
                                       "Pasaporte FROM %1 WHERE rowid = ?")
                                   .arg(tabla)
                                   .toUtf8()
                                   .constData(),
                               -1, &f, nullptr);
            sqlite3_bind_int64(f, 1, id);
            if (sqlite3_step(f) == SQLITE_ROW)
                bench::readColumns(f);
            sqlite3_finalize(f);
            ++filas;
        }
    }
    return filas;
}

int BytesCmp(void*, int la, const void* a, int lb, const void* b) {
    const int r = memcmp(a, b, std::size_t(std::min(la, lb)));
    return r != 0 ? r : la - lb;
}

double Percentil(QList<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.at(std::min<qsizetype>(v.size() - 1, qsizetype(p * double(v.size()))));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(10, atoi(argv[1])) : 100000;
    const int clientes = n / 2;
    const int propietarios = n * 3 / 10;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) * 20 : 201;

    QTemporaryDir dir;
    const QString carpeta = dir.path() + "/";
    bench::createDemo(carpeta, 10);
    orb::AppContext ctx;
    bench::openContext(ctx, carpeta);
    QRandomGenerator r(25);
    ctx.db().execute("DELETE FROM Clientes");
    ctx.db().execute("DELETE FROM Propietarios");
    Llenar(ctx.db(), "Clientes", clientes, r);
    Llenar(ctx.db(), "Propietarios", propietarios, r);
    ctx.db().execute("ANALYZE");

    sqlite3* plano = nullptr;
    sqlite3_open_v2(ctx.RutaBaseDatos.toUtf8().constData(), &plano, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_create_collation(plano, "es", SQLITE_UTF8, nullptr, BytesCmp);

    // Each run a new person: its phones, e-mail and DNI those of a stored one typed another way.
    for (const QString& tabla : {QStringLiteral("Clientes"), QStringLiteral("Propietarios")}) {
        const int filas = tabla == u"Clientes" ? clientes : propietarios;
        QList<orb::PersonaComparada> personas;
        for (int i = 0; personas.size() < runs; ++i) {
            // Sales records only: every third one is a rental.
            const QList<db::Row> f = ctx.db().query(
                QString("SELECT Nombre, Movil, Email, Dni FROM %1 WHERE Cod = ? AND Alquiler = 0").arg(tabla),
                {QString("01%1").arg(1 + (i * 7919 + 1) % filas, 6, 10, QChar('0'))});
            if (f.isEmpty())
                continue;
            const db::Row& row = f.first();
            personas.append({tabla,
                             false,
                             {},
                             row.value(0).toString(),
                             {orb::TelefonoComparable(row.value(1).toString()), "952 00 00 00"},
                             row.value(2).toString().toUpper(),
                             {orb::DocumentoLimpio(row.value(3).toString()), "", ""}});
        }
        int encontrados = 0, filasPlano = 0;
        // The shared loop, one person a round: through the floor, then through the program.
        qsizetype suelo = 0, programa = 0;
        const bench::Pair t = bench::compare(
            int(personas.size()),
            [&] { filasPlano += Plano(plano, tabla, personas[suelo++ % personas.size()]); },
            [&] {
                encontrados += int(
                    orb::BuscarPersonasDuplicadas(ctx.db(), personas[programa++ % personas.size()]).size());
            });
        std::printf("%s: %d candidates found by the program, %d rows by the floor\n", qPrintable(tabla),
                    encontrados, filasPlano);
        const QByteArray nombre = "duplicate check, " + tabla.toLatin1();
        bench::figure((nombre + " median").constData(), t.program.median(), "ms", t.floor.median());
        bench::figure((nombre + " p95").constData(), Percentil(t.program.ms, 0.95), "ms",
                      Percentil(t.floor.ms, 0.95));
    }
    sqlite3_close(plano);
    return 0;
}
