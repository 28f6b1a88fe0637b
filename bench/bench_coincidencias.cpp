// Matching on a large agency: one client against every property (100,000 in
// the demo) to the scored list, and one property against every client (the
// demo makes 50,004). The floor is the same statement with the same values
// on a plain SQLite connection (a byte-order collation standing in for ours),
// stepped to its end reading every column. Not part of the test run.
//
//   build/bench_coincidencias [N] [runs]

#include "BenchSupport.h"
#include "platform/db/Database.h"
#include "search/Coincidencias.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace co = orb::coincidencias;

namespace {

int bytesCmp(void*, int la, const void* a, int lb, const void* b) {
    const int r = memcmp(a, b, std::size_t(std::min(la, lb)));
    return r != 0 ? r : la - lb;
}

qint64 plain(sqlite3* h, const co::Consulta& c) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, c.sql.toUtf8().constData(), -1, &st, nullptr);
    for (int i = 0; i < c.params.size(); ++i) {
        const QVariant& v = c.params[i];
        if (v.isNull())
            sqlite3_bind_null(st, i + 1);
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(st, i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::QString) {
            const QByteArray b = v.toString().toUtf8();
            sqlite3_bind_text(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        } else
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
    }
    qint64 n = 0;
    const int cols = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < cols; ++i)
            sqlite3_column_text(st, i);
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    QTemporaryDir dir;
    const QString carpeta = dir.path() + u'/';
    bench::createDemo(carpeta, n);
    auto base = db::Database::open(carpeta + QStringLiteral("Orbalia.db"));
    sqlite3* h = nullptr;
    sqlite3_open_v2((carpeta + QStringLiteral("Orbalia.db")).toUtf8().constData(), &h, SQLITE_OPEN_READONLY,
                    nullptr);
    sqlite3_create_collation(h, "es", SQLITE_UTF8, nullptr, bytesCmp);
    const double tolerancia = co::LeerTolerancia(*base);
    std::printf("properties: %d, clients: %d\n",
                base->scalar(QStringLiteral("SELECT count(*) FROM Propiedades")).toInt(),
                base->scalar(QStringLiteral("SELECT count(*) FROM Clientes")).toInt());

    // A typical waiting sales client: a budget, a place and bedrooms wished.
    const QString cliente =
        base
            ->scalar(QStringLiteral(
                "SELECT c.Cod FROM Clientes c WHERE c.Estado = 'Buscando' AND c.Alquiler = 0 "
                "AND c.Presupuesto > 0 AND c.DormitoriosMinimo > 0 AND EXISTS "
                "(SELECT 1 FROM ClientesZonas z WHERE z.CodCliente = c.Cod) ORDER BY c.Presupuesto DESC "
                "LIMIT 1"))
            .toString();
    co::Deseos deseos;
    co::LeerDeseos(*base, cliente, &deseos);
    const co::Consulta qc = co::SqlPropiedadesParaCliente(deseos, tolerancia, false);
    qsizetype encajan = 0;
    const double msCliente =
        bench::medianMs(runs, [&] { encajan = co::PropiedadesParaCliente(*base, cliente).size(); });
    qint64 filas = 0;
    const double sueloCliente = bench::medianMs(runs, [&] { filas = plain(h, qc); });
    std::printf("client %s: %lld rows read, %lld matches\n", qPrintable(cliente), qint64(filas),
                qint64(encajan));
    bench::printPlan(h, qc.sql);
    bench::figure("one client against every property", msCliente, "ms", sueloCliente);

    // A property for sale on offer, in the middle of the price range.
    const QString propiedad =
        base->scalar(
                QStringLiteral("SELECT Cod FROM Propiedades WHERE Estado = 'En Venta' AND Alquiler = 0 AND "
                               "Precio BETWEEN 250000 AND 400000 ORDER BY Cod LIMIT 1"))
            .toString();
    const auto fila =
        base->query(QStringLiteral("SELECT Cod, Alquiler, Estado, Precio, CodTipo, CodLocalidad, "
                                   "CodArea, Dormitorios, Piscina, Garaje, PlazasGaraje, Ascensor, "
                                   "Terrazas FROM Propiedades WHERE Cod = ?"),
                    {propiedad});
    co::Oferta o;
    o.cod = propiedad;
    o.alquiler = fila[0][1].toBool();
    o.estado = fila[0][2].toString();
    o.tienePrecio = true;
    o.precio = fila[0][3].toDouble();
    o.codTipo = fila[0][4].toLongLong();
    o.codLocalidad = fila[0][5].toLongLong();
    o.codArea = fila[0][6].toLongLong();
    o.dormitorios = fila[0][7].toInt();
    o.piscina = fila[0][8].toString() == u"P" || fila[0][8].toString() == u"C";
    o.garaje = fila[0][9].toString() == u"P" || fila[0][9].toString() == u"C" || fila[0][10].toInt() > 0;
    o.ascensor = fila[0][11].toBool();
    const QString t = fila[0][12].toString().trimmed().toLower();
    o.terraza = !t.isEmpty() && t != u"0" && t != u"no" && t != u"n";
    const co::Consulta qp = co::SqlClientesParaPropiedad(o, tolerancia);
    const double msPropiedad =
        bench::medianMs(runs, [&] { encajan = co::ClientesParaPropiedad(*base, propiedad).size(); });
    const double sueloPropiedad = bench::medianMs(runs, [&] { filas = plain(h, qp); });
    std::printf("property %s: %lld rows read, %lld matches\n", qPrintable(propiedad), qint64(filas),
                qint64(encajan));
    bench::printPlan(h, qp.sql);
    bench::figure("one property against every client", msPropiedad, "ms", sueloPropiedad);
    sqlite3_close(h);
    return 0;
}
