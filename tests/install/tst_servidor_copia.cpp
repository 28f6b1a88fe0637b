// An office carried onto a real PostgreSQL server: every row kept, a second
// run a no-op, a failure half-way undone, another agency's database refused,
// and the command's own messages and files.

#include "BaseServidorPrueba.h"
#include "TestInstallation.h"
#include "install/CopiaServidor.h"
#include "install/OrdenServidor.h"
#include "platform/db/Database.h"
#include "shell/ConexionServidor.h"
#include "shell/Schema.h"
#include "shell/SchemaServidor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using orb::install::CopiaRechazada;
using orb::install::copiarOficina;
using orb::install::OpcionesCopia;

namespace {

orb::install::InstallOptions demo(int propiedades) {
    orb::install::InstallOptions o;
    o.facts = orb::install::demoFacts();
    o.demoProperties = propiedades;
    o.demoPhotos = false;
    return o;
}

// What each table holds, told by each engine in its own SQL: rows, rowids,
// non-null values per column and the total of numbers and of text lengths.
// Dates by their day. Independent of the copy's own checksum.
QStringList huellas(const std::function<QVariant(const QString&)>& valor, bool servidor) {
    QStringList out;
    for (const orb::schema::TablaServidor& t : orb::schema::tablasServidor()) {
        QStringList partes{"count(*)", QString("coalesce(sum(%1), 0)").arg(t.numeroFila),
                           QString("coalesce(max(%1), 0)").arg(t.numeroFila)};
        for (const orb::schema::CampoServidor& c : t.campos) {
            partes << QString("count(%1)").arg(c.nombre);
            switch (c.tipo) {
            case orb::schema::TipoCampo::Texto:
                partes << QString("coalesce(sum(length(%1)), 0)").arg(c.nombre);
                break;
            case orb::schema::TipoCampo::Entero:
            case orb::schema::TipoCampo::Moneda:
            case orb::schema::TipoCampo::Doble:
                partes << QString("round(coalesce(sum(%1), 0) * 100)").arg(c.nombre);
                break;
            case orb::schema::TipoCampo::SiNo:
                partes << QString(servidor ? "count(*) FILTER (WHERE %1)" : "total(%1)").arg(c.nombre);
                break;
            case orb::schema::TipoCampo::Fecha:
                partes << QString(servidor ? "max(to_char(%1, 'YYYY-MM-DD'))" : "max(substr(%1, 1, 10))")
                              .arg(c.nombre);
                break;
            }
        }
        QStringList valores;
        for (const QString& p : partes)
            valores << valor(QString("SELECT %1 FROM %2").arg(p, t.nombre)).toString();
        // Numbers as the same text on both sides ("12.0" and "12").
        for (QString& v : valores) {
            bool ok = false;
            const double d = v.toDouble(&ok);
            if (ok)
                v = QString::number(d, 'f', 0);
        }
        out << t.nombre + ": " + valores.join(' ');
    }
    return out;
}

QStringList huellasArchivo(const QString& carpeta) {
    auto d = db::Database::open(carpeta + "Orbalia.db");
    return huellas([&](const QString& sql) { return d->scalar(sql); }, false);
}

QStringList huellasServidor(pg::Connection& c) {
    return huellas([&](const QString& sql) { return c.scalar(sql); }, true);
}

// Where every row of the server sits: a rewrite of the same values moves them.
QString sitios(pg::Connection& c) {
    QString s;
    for (const orb::schema::TablaServidor& t : orb::schema::tablasServidor())
        s += c.scalar(QString("SELECT string_agg(ctid::text, ',' ORDER BY %1) FROM %2")
                          .arg(t.numeroFila, t.nombre))
                 .toString() +
             '|';
    return s;
}

QString mensaje(const std::function<void()>& f) {
    try {
        f();
    } catch (const CopiaRechazada& e) {
        return e.texto();
    }
    return {};
}

QString installer() {
    QString dir = qEnvironmentVariable("ORBALIA_BIN_DIR");
    if (dir.isEmpty())
        dir = ORBALIA_BINARY_DIR;
    return QDir(dir).filePath("orbalia-install");
}

} // namespace

class tst_ServidorCopia : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // More properties than one block of the copy, so blocks and pages meet.
    void guardaCadaFilaYUnaSegundaVezNoCambiaNada() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(6000));
        {
            // Deleted records leave gaps in the rowids, as in any office that has worked.
            auto d = db::Database::open(inst.path() + "Orbalia.db");
            d->execute("DELETE FROM Propiedades WHERE rowid IN (10, 11, 4000)");
            d->execute("DELETE FROM Actividades WHERE rowid = 2");
            d->execute("DELETE FROM Tipos WHERE rowid = 1");
            // Every character COPY escapes and the sum's own separators travel and compare as they are.
            d->execute("UPDATE Propiedades SET Direccion = 'C/ a\\b' || char(9) || 'c' || char(10) || 'd' || "
                       "char(13) || char(31) || char(30) || char(8) || char(11) || char(12) || '\\N', "
                       "Observaciones = 'Año ½ 🏠' || char(10) || '\\' WHERE rowid = 5");
        }
        auto c = base.conectar();
        const auto r = copiarOficina(inst.path(), *c);
        QVERIFY(!r.yaEstaba);
        QVERIFY(!c->inTransaction());
        QCOMPARE(r.tablas.size(), orb::schema::tablasServidor().size());
        const QStringList archivo = huellasArchivo(inst.path());
        QCOMPARE(huellasServidor(*c), archivo);
        QVERIFY(archivo.filter(QRegularExpression("^Propiedades: 5997 ")).size() == 1);

        // The seats' new rows come after the office's, never on one of its numbers.
        auto d = db::Database::open(inst.path() + "Orbalia.db");
        for (const auto& [tabla, alta] :
             {std::pair{"Propiedades", "INSERT INTO Propiedades (Cod) VALUES ('ZZ1') RETURNING rowid"},
              std::pair{"Actividades", "INSERT INTO Actividades DEFAULT VALUES RETURNING rowid"},
              std::pair{"Tipos", "INSERT INTO Tipos (Cod) VALUES (9999) RETURNING rowid"}}) {
            const qint64 ultima = d->scalar(QString("SELECT max(rowid) FROM %1").arg(tabla)).toLongLong();
            QCOMPARE(c->scalar(alta).toLongLong(), ultima + 1);
        }
        c->execute("DELETE FROM Propiedades WHERE Cod = 'ZZ1'");
        c->execute("DELETE FROM Tipos WHERE Cod = 9999");
        c->execute("DELETE FROM Actividades WHERE rowid = (SELECT max(rowid) FROM Actividades)");

        const QString antes = sitios(*c);
        const auto otra = copiarOficina(inst.path(), *c);
        QVERIFY(otra.yaEstaba);
        QCOMPARE(otra.filas(), r.filas());
        QCOMPARE(sitios(*c), antes);
    }

    // A value the server refuses half-way through: no table is left behind.
    // Rows the server changes on the way: the check finds them and undoes all.
    void unFalloAMitadDejaElServidorComoEstaba() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(200));
        {
            auto d = db::Database::open(inst.path() + "Orbalia.db");
            d->execute(
                "UPDATE Propiedades SET Dormitorios = 5000000000 WHERE rowid = (SELECT max(rowid) FROM "
                "Propiedades)");
        }
        auto c = base.conectar();
        try {
            copiarOficina(inst.path(), *c);
            QFAIL("the server took a number it cannot hold");
        } catch (const pg::PgError& e) {
            QCOMPARE(e.causa(), pg::Causa::DatoNoValido);
            const QString texto = orb::install::ExplicarFalloServidor(e, orb::ConexionServidor{});
            QVERIFY2(texto.contains("«5000000000» del campo Dormitorios de la tabla Propiedades"),
                     qPrintable(texto));
        }
        QVERIFY(orb::schema::isEmptyServerDatabase(*c));

        {
            auto d = db::Database::open(inst.path() + "Orbalia.db");
            d->execute("UPDATE Propiedades SET Dormitorios = 3");
        }
        copiarOficina(inst.path(), *c);
        const QStringList primera = huellasServidor(*c);
        const QString sitiosPrimera = sitios(*c);
        {
            auto d = db::Database::open(inst.path() + "Orbalia.db");
            d->execute("UPDATE Propiedades SET Dormitorios = 4 WHERE rowid = 7");
        }
        // Replacing the rows: the server rewrites one client's name on the way in.
        c->execute("CREATE FUNCTION cambia() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                   "IF NEW.rowid = 5 THEN NEW.nombre := NEW.nombre || '.'; END IF; RETURN NEW; END $$");
        c->execute("CREATE TRIGGER cambia BEFORE INSERT ON clientes FOR EACH ROW EXECUTE FUNCTION cambia()");
        OpcionesCopia reemplazar;
        reemplazar.reemplazar = true;
        const QString texto = mensaje([&] { copiarOficina(inst.path(), *c, reemplazar); });
        QVERIFY2(texto.contains("Clientes") && texto.contains("deshecho"), qPrintable(texto));
        QCOMPARE(huellasServidor(*c), primera);
        QCOMPARE(sitios(*c), sitiosPrimera);

        // A table the server refuses to fill, after others were emptied and filled again.
        c->execute("DROP TRIGGER cambia ON clientes");
        c->execute("CREATE FUNCTION niega() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                   "RAISE EXCEPTION 'no'; END $$");
        c->execute(
            "CREATE TRIGGER niega BEFORE INSERT ON clienteszonas FOR EACH ROW EXECUTE FUNCTION niega()");
        QVERIFY_THROWS_EXCEPTION(pg::PgError, copiarOficina(inst.path(), *c, reemplazar));
        QCOMPARE(huellasServidor(*c), primera);
        QCOMPARE(sitios(*c), sitiosPrimera);

        c->execute("DROP TRIGGER niega ON clienteszonas");
        QVERIFY(!copiarOficina(inst.path(), *c, reemplazar).yaEstaba);
        QCOMPARE(huellasServidor(*c), huellasArchivo(inst.path()));
    }

    // The server is one agency's; the file's office decides nothing on its own.
    void rechazaLoQueNoEsDeEstaOficina() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(50));
        auto c = base.conectar();
        copiarOficina(inst.path(), *c);
        const QStringList copiado = huellasServidor(*c);

        auto otra = demo(50);
        otra.facts.NombreAgencia = "Fincas Levante";
        otra.facts.CodigoAgenciaWeb = "FLEV";
        TestInstallation levante(otra);
        QString texto = mensaje([&] { copiarOficina(levante.path(), *c); });
        QVERIFY2(texto.contains("«Inmobiliaria Costa del Sol»") && texto.contains("«Fincas Levante»") &&
                     texto.contains(base.nombre()),
                 qPrintable(texto));
        OpcionesCopia reemplazar;
        reemplazar.reemplazar = true;
        QVERIFY(!mensaje([&] { copiarOficina(levante.path(), *c, reemplazar); }).isEmpty());

        auto segunda = demo(50);
        segunda.facts.CodigoOficina = "02";
        segunda.facts.OficinaPrincipal = false;
        TestInstallation oficina02(segunda);
        texto = mensaje([&] { copiarOficina(oficina02.path(), *c, reemplazar); });
        QVERIFY2(texto.contains("«01»") && texto.contains("«02»"), qPrintable(texto));

        // The same office with rows of its own since: kept unless replacing is asked for.
        {
            auto d = db::Database::open(inst.path() + "Orbalia.db");
            d->execute("DELETE FROM Actividades WHERE rowid = 1");
        }
        texto = mensaje([&] { copiarOficina(inst.path(), *c); });
        QVERIFY2(texto.contains("Actividades") && texto.contains("--reemplazar"), qPrintable(texto));
        QCOMPARE(huellasServidor(*c), copiado);

        c->execute("UPDATE orbalia_version SET version = ?", {orb::schema::CurrentVersion - 1});
        texto = mensaje([&] { copiarOficina(inst.path(), *c, reemplazar); });
        QVERIFY2(texto.contains(QString("versión %1").arg(orb::schema::CurrentVersion - 1)),
                 qPrintable(texto));
        QCOMPARE(huellasServidor(*c), copiado);

        BaseServidorPrueba ajena(server);
        auto a = ajena.conectar();
        a->execute("CREATE TABLE pedidos (id integer)");
        texto = mensaje([&] { copiarOficina(inst.path(), *a); });
        QVERIFY2(texto.contains("no es de Orbalia"), qPrintable(texto));
        QCOMPARE(a->scalar("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'").toInt(), 1);
    }

    // The command: the password from a file, the seat's connection written
    // only once the rows are there, plain Spanish when the server says no.
    void laOrdenEscribeElPuestoSoloTrasCopiar() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(20));
        const QString clave = inst.file("clave.txt");
        auto escribir = [&](const QString& texto) {
            QFile f(clave);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(texto.toUtf8() + "\n");
        };
        auto orden = [&](const QString& baseDatos, QString* salida) {
            QProcess p;
            p.start(installer(), {inst.path(), "--servidor", server.options.host, "--puerto",
                                  QString::number(server.options.port), "--base", baseDatos, "--usuario",
                                  server.options.user, "--clave-archivo", clave});
            p.closeWriteChannel();
            if (!p.waitForFinished(60000))
                return -1;
            *salida = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
            return p.exitCode();
        };
        QString salida;
        escribir("no-es-la-clave");
        QCOMPARE(orden(base.nombre(), &salida), 1);
        QVERIFY2(salida.contains("no acepta al usuario"), qPrintable(salida));
        QVERIFY(!salida.contains("no-es-la-clave"));
        QVERIFY(!orb::LeerConexionServidor(inst.path()).enServidor());
        QVERIFY(!QFile::exists(inst.file(orb::ClaveFileName)));

        escribir(server.options.password);
        QCOMPARE(orden("t_no_existe", &salida), 1);
        QVERIFY2(salida.contains("no tiene la base de datos «t_no_existe»"), qPrintable(salida));
        QVERIFY(!orb::LeerConexionServidor(inst.path()).enServidor());

        QCOMPARE(orden(base.nombre(), &salida), 0);
        const orb::ConexionServidor puesto = orb::LeerConexionServidor(inst.path());
        QCOMPARE(puesto.baseDatos, base.nombre());
        QCOMPARE(puesto.puerto, int(server.options.port));
        QCOMPARE(puesto.clave, server.options.password);
        QCOMPARE(QFile::permissions(inst.file(orb::ClaveFileName)) & 0x0077, QFileDevice::Permissions());
        QFile ini(inst.file("Orbalia.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(!ini.readAll().contains(server.options.password.toUtf8()));
        QCOMPARE(orden(base.nombre(), &salida), 0);
        QVERIFY2(salida.contains("no se ha cambiado nada"), qPrintable(salida));

        QProcess p;
        p.start(installer(), {inst.path(), "--servidor", "127.0.0.1", "--usuario", "u"});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("falta --base"));
    }
};

QTEST_GUILESS_MAIN(tst_ServidorCopia)
#include "tst_servidor_copia.moc"
