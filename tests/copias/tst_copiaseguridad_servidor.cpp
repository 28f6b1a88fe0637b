// Backups of a seat on a real PostgreSQL server: a backup made, the database
// dropped and created again empty as the README tells the administrator,
// the backup restored, and every table's rows and every object are back.
// A wrong password, a server that is not there, or pg_dump's own refusal
// leave no file, and say why in Spanish.

#include "BaseServidorPrueba.h"
#include "CopiasPrueba.h"
#include "TestInstallation.h"
#include "copias/CopiaSeguridad.h"
#include "install/CopiaServidor.h"
#include "platform/db/Database.h"
#include "platform/pg/Volcado.h"
#include "shell/ConexionServidor.h"
#include "shell/Schema.h"

#include <QMap>
#include <QRandomGenerator>
#include <QTest>

using namespace copiasprueba;

namespace {

// Every table of the database, each row as COPY writes it.
QMap<QString, QStringList> filas(pg::Connection& c) {
    QMap<QString, QStringList> out;
    for (const pg::Row& t : c.query("SELECT tablename FROM pg_tables WHERE schemaname = 'public'")) {
        const QString tabla = t[0].toString();
        QStringList lineas;
        c.copyOut(QString("SELECT * FROM public.%1").arg(tabla),
                  [&](QByteArrayView l) { lineas << QString::fromUtf8(l.data(), l.size()); });
        lineas.sort();
        out.insert(tabla, lineas);
    }
    return out;
}

// What the schema holds besides the rows: relations and their columns with
// their types, collations and comments (the program's spellings), indexes,
// functions, operators, collations, triggers, extensions and where each
// sequence stands.
QStringList objetos(pg::Connection& c) {
    const QVariant v = c.scalar(R"(
        SELECT string_agg(x, E'\n' ORDER BY x) FROM (
          SELECT 'rel ' || c.relname || ' ' || c.relkind::text FROM pg_class c
            WHERE c.relnamespace = 'public'::regnamespace AND c.relkind <> 'i'
          UNION ALL SELECT 'col ' || table_name || '.' || column_name || ' ' || data_type || ' '
            || coalesce(collation_name, '-') || ' ' || is_nullable || ' ' || coalesce(column_default, '-')
            || ' ' || is_identity FROM information_schema.columns WHERE table_schema = 'public'
          UNION ALL SELECT 'com ' || c.relname || '.' || a.attname || ' ' || col_description(c.oid, a.attnum)
            FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid
            WHERE c.relnamespace = 'public'::regnamespace AND col_description(c.oid, a.attnum) IS NOT NULL
          UNION ALL SELECT 'idx ' || indexdef FROM pg_indexes WHERE schemaname = 'public'
          UNION ALL SELECT 'vista ' || viewname || ' ' || definition FROM pg_views WHERE schemaname = 'public'
          UNION ALL SELECT 'fn ' || p.oid::regprocedure::text || ' ' || md5(coalesce(pg_get_functiondef(p.oid), ''))
            FROM pg_proc p WHERE p.pronamespace = 'public'::regnamespace AND p.prokind <> 'a'
          UNION ALL SELECT 'agg ' || p.oid::regprocedure::text FROM pg_proc p
            WHERE p.pronamespace = 'public'::regnamespace AND p.prokind = 'a'
          UNION ALL SELECT 'op ' || o.oid::regoperator::text FROM pg_operator o
            WHERE o.oprnamespace = 'public'::regnamespace
          UNION ALL SELECT 'coll ' || collname || ' ' || coalesce(colliculocale, '-') || ' ' || collisdeterministic::text
            FROM pg_collation WHERE collnamespace = 'public'::regnamespace
          UNION ALL SELECT 'trg ' || tgrelid::regclass::text || ' ' || tgname FROM pg_trigger WHERE NOT tgisinternal
          UNION ALL SELECT 'ext ' || extname FROM pg_extension
          UNION ALL SELECT 'seq ' || sequencename || ' ' || coalesce(last_value::text, '-') FROM pg_sequences
            WHERE schemaname = 'public'
        ) s(x))");
    return v.toString().split('\n');
}

// The seat pointed at the database, as orbalia-install --servidor leaves it.
void apuntarPuesto(const QString& carpeta, const testservers::Postgres& server,
                   const BaseServidorPrueba& base, const QString& clave) {
    orb::ConexionServidor c;
    c.servidor = server.options.host;
    c.puerto = int(server.options.port);
    c.baseDatos = base.nombre();
    c.usuario = server.options.user;
    c.clave = clave;
    QVERIFY(orb::GuardarConexionServidor(carpeta, c));
}

// The office carried onto a database of its own, and the seat pointed there.
void sentarEnServidor(const QString& carpeta, const testservers::Postgres& server,
                      const BaseServidorPrueba& base, const QString& clave) {
    orb::install::copiarOficina(carpeta, *base.conectar());
    apuntarPuesto(carpeta, server, base, clave);
}

// The superuser on its socket, inside the test's database.
std::unique_ptr<pg::Connection> comoAdministrador(const testservers::Postgres& server, const QString& base) {
    pg::ConnectOptions o;
    o.host = server.socket;
    o.port = server.options.port;
    o.user = "postgres";
    o.database = base;
    return pg::Connection::connect(o);
}

// A client program of the server run as its administrator would.
Salida administrar(const testservers::Postgres& server, const QString& programa,
                   const QStringList& argumentos) {
    return ejecutar(programa, QStringList{"-h", server.socket, "-p", QString::number(server.options.port),
                                          "-U", "postgres"} +
                                  argumentos);
}

// A login role of its own on the test cluster, dropped when the object goes
// (after the databases it owns).
struct RolPrueba {
    const testservers::Postgres& server;
    QString nombre = QString("orb_copias_%1").arg(QRandomGenerator::global()->generate(), 8, 16, QChar('0'));
    QString clave = "clave-" + nombre;
    explicit RolPrueba(const testservers::Postgres& s) : server(s) {
        comoAdministrador(server, "postgres")
            ->execute(QString("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(nombre, clave));
    }
    ~RolPrueba() {
        try {
            comoAdministrador(server, "postgres")->execute(QString("DROP ROLE IF EXISTS %1").arg(nombre));
        } catch (...) {
        }
    }
};

} // namespace

class tst_CopiaSeguridadServidor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copiaBorradoYRestauracionDejanCadaFilaIgual() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(300));
        {
            // What COPY and the dump's own format must carry as it is.
            auto d = db::Database::open(inst.file("Orbalia.db"));
            d->execute(
                "UPDATE Propiedades SET Direccion = 'C/ a\\b' || char(9) || 'Ñandú' || char(10) || '\\N', "
                "Observaciones = 'Año ½ 🏠' || char(13) WHERE rowid = 5");
            d->execute("UPDATE Propiedades SET Observaciones = NULL, Precio = 1234.5678 WHERE rowid = 6");
            d->execute("DELETE FROM Propiedades WHERE rowid IN (10, 11)");
        }
        sentarEnServidor(inst.path(), server, base, server.options.password);
        auto c = base.conectar();
        const QMap<QString, QStringList> antes = filas(*c);
        const QStringList objetosAntes = objetos(*c);
        QVERIFY(objetosAntes.size() > 200);
        QVERIFY(antes.size() >= 13);
        QCOMPARE(antes.value("propiedades").size(), 298);
        // As the program reads it: its LIKE, its Spanish order.
        auto comoPrograma = [&] {
            orb::ConexionServidor s = orb::LeerConexionServidor(inst.path());
            auto d = db::Database::openServer(s.direccion());
            QStringList r{
                d->scalar("SELECT count(*) FROM Propiedades WHERE Direccion LIKE ?", {"%ñANDÚ%"}).toString()};
            for (const db::Row& l : d->query("SELECT Nombre FROM Localidades ORDER BY Nombre"))
                r << l[0].toString();
            return r;
        };
        const QStringList programaAntes = comoPrograma();
        QCOMPARE(programaAntes.first(), QString("1"));
        c.reset();

        Salida s = orbaliaBackup({inst.path()});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        const QStringList hechas = copiasHechas(inst.path());
        QCOMPARE(hechas.size(), 1);
        QVERIFY(hechas.first().endsWith(".dump"));
        QCOMPARE(enCopias(inst.path()), hechas);
        QVERIFY2(s.out.contains(base.nombre()) && s.out.contains(hechas.first()), qPrintable(s.out));
        QVERIFY(!s.todo().contains(server.options.password));

        // Over a database that holds the agency, nothing is restored.
        s = orbaliaBackup({inst.path(), "--restaurar", hechas.first()});
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QVERIFY2(s.err.contains("no está vacía") && s.err.contains("dropdb"), qPrintable(s.err));
        c = base.conectar();
        QCOMPARE(filas(*c), antes);
        c.reset();

        // The administrator's steps, as the README gives them.
        Salida a = administrar(server, "dropdb", {"--force", base.nombre()});
        QVERIFY2(a.codigo == 0, qPrintable(a.todo()));
        a = administrar(server, "createdb",
                        {"-O", server.options.user, "-T", "template0", "-E", "UTF8", base.nombre()});
        QVERIFY2(a.codigo == 0, qPrintable(a.todo()));
        c = base.conectar();
        QVERIFY(filas(*c).isEmpty());
        c.reset();

        s = orbaliaBackup({inst.path(), "--restaurar", inst.file("Copias/" + hechas.first())});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        QVERIFY2(s.out.contains(QString("versión %1").arg(orb::schema::CurrentVersion)), qPrintable(s.out));
        c = base.conectar();
        QCOMPARE(filas(*c), antes);
        QCOMPARE(objetos(*c), objetosAntes);
        QCOMPARE(comoPrograma(), programaAntes);
        // The planner knows the tables at once, and new rows follow the old.
        QVERIFY(
            c->scalar(
                 "SELECT count(*) FROM pg_stats WHERE schemaname = 'public' AND tablename = 'propiedades'")
                .toInt() > 0);
        const qint64 ultima = c->scalar("SELECT max(rowid) FROM Propiedades").toLongLong();
        QCOMPARE(c->scalar("INSERT INTO Propiedades (Cod) VALUES ('ZZ1') RETURNING rowid").toLongLong(),
                 ultima + 1);
    }

    // pg_restore refuses part-way: the database stays as empty as it was.
    void unaRestauracionQueFallaNoDejaNada() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(20));
        sentarEnServidor(inst.path(), server, base, server.options.password);
        Salida s = orbaliaBackup({inst.path()});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        const QString copia = copiasHechas(inst.path()).first();

        BaseServidorPrueba otra(server);
        apuntarPuesto(inst.path(), server, otra, server.options.password);
        auto c = otra.conectar();
        // No table yet, but a function the dump makes after its collation,
        // extension, domain and other functions.
        c->execute("CREATE FUNCTION replace(t text, desde text, hasta text) RETURNS text "
                   "LANGUAGE sql AS 'SELECT t'");
        const QStringList sinRestaurar = objetos(*c);
        s = orbaliaBackup({inst.path(), "--restaurar", copia});
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QVERIFY2(s.err.contains("pg_restore no ha podido restaurar la copia en [") &&
                     s.err.contains("replace"),
                 qPrintable(s.err));
        QCOMPARE(objetos(*c), sinRestaurar);

        // What is not a dump of an agency's database is not restored at all.
        c->execute("DROP FUNCTION public.replace(text, text, text)");
        const QStringList vacia = objetos(*c);
        BaseServidorPrueba ajena(server);
        ajena.conectar()->execute("CREATE TABLE pedidos (id integer)");
        pg::ConnectOptions o = ajena.options();
        const QString otroVolcado = inst.file("pedidos.dump");
        QVERIFY(pg::volcar(o, otroVolcado).ok());
        for (const QString& mala : {inst.file("Orbalia.db"), otroVolcado}) {
            s = orbaliaBackup({inst.path(), "--restaurar", mala});
            QCOMPARE(s.codigo, orb::copias::SalidaNoEmpieza);
            QVERIFY2(s.err.contains("no es una copia de la base de datos de la agencia en un servidor"),
                     qPrintable(s.err));
        }
        QCOMPARE(objetos(*c), vacia);
    }

    // Onto a server whose seats sign in as another user (a new server, a
    // user renamed): everything restored belongs to that user, who can work.
    void otroUsuarioSeQuedaConTodo() {
        ORB_REQUIRE_PG(server);
        RolPrueba rol(server);
        BaseServidorPrueba base(server);
        BaseServidorPrueba nueva(server);
        comoAdministrador(server, "postgres")
            ->execute(QString("ALTER DATABASE %1 OWNER TO %2").arg(nueva.nombre(), rol.nombre));
        TestInstallation inst(demo(20));
        sentarEnServidor(inst.path(), server, base, server.options.password);
        Salida s = orbaliaBackup({inst.path()});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        const QMap<QString, QStringList> antes = filas(*base.conectar());

        orb::ConexionServidor c = orb::LeerConexionServidor(inst.path());
        c.baseDatos = nueva.nombre();
        c.usuario = rol.nombre;
        c.clave = rol.clave;
        QVERIFY(orb::GuardarConexionServidor(inst.path(), c));
        s = orbaliaBackup({inst.path(), "--restaurar", copiasHechas(inst.path()).first()});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        pg::ConnectOptions o = nueva.options();
        o.user = rol.nombre;
        o.password = rol.clave;
        auto comoPuesto = pg::Connection::connect(o);
        QCOMPARE(filas(*comoPuesto), antes);
        QCOMPARE(comoPuesto
                     ->scalar("SELECT count(*) FROM pg_class WHERE relnamespace = 'public'::regnamespace "
                              "AND relowner <> current_user::regrole")
                     .toInt(),
                 0);
        QCOMPARE(comoPuesto->execute("UPDATE Propiedades SET Precio = Precio + 1"), quint64(20));
    }

    // The seat cannot sign in, or nothing answers: said as the program says
    // it, no password in the output, no file in Copias/.
    void sinConexionNoQuedaArchivo() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(5));
        sentarEnServidor(inst.path(), server, base, "no-es-la-clave");
        Salida s = orbaliaBackup({inst.path()});
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QVERIFY2(s.err.contains("El servidor ha rechazado el usuario " + server.options.user),
                 qPrintable(s.err));
        QVERIFY(!s.todo().contains("no-es-la-clave"));
        QCOMPARE(enCopias(inst.path()), QStringList());

        const int libre = 1; // nothing listens there
        orb::ConexionServidor c = orb::LeerConexionServidor(inst.path());
        c.puerto = libre;
        c.clave = server.options.password;
        QVERIFY(orb::GuardarConexionServidor(inst.path(), c));
        s = orbaliaBackup({inst.path()});
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QVERIFY2(s.err.contains(QString("No se puede conectar con el servidor %1 en el puerto %2")
                                    .arg(server.options.host)
                                    .arg(libre)),
                 qPrintable(s.err));
        QCOMPARE(enCopias(inst.path()), QStringList());
    }

    // What pg_dump itself says reaches the user; a missing pg_dump is named
    // with its package. No file either way.
    void loQueDicePgDumpLlegaAlMensaje() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        TestInstallation inst(demo(5));
        sentarEnServidor(inst.path(), server, base, server.options.password);
        {
            auto admin = comoAdministrador(server, base.nombre());
            admin->execute("CREATE TABLE ajena_del_administrador (x integer)");
            admin->execute("REVOKE ALL ON ajena_del_administrador FROM PUBLIC");
        }
        Salida s = orbaliaBackup({inst.path()});
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QVERIFY2(
            s.err.contains("pg_dump no ha podido copiar la base de datos [" + server.options.user + "@") &&
                s.err.contains("ajena_del_administrador"),
            qPrintable(s.err));
        QCOMPARE(enCopias(inst.path()), QStringList());

        QProcessEnvironment sinPgDump = QProcessEnvironment::systemEnvironment();
        QTemporaryDir vacia;
        sinPgDump.insert("PATH", vacia.path());
        s = orbaliaBackup({inst.path()}, sinPgDump);
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QVERIFY2(s.err.contains("No se encuentra el programa pg_dump") && s.err.contains("postgresql-client"),
                 qPrintable(s.err));
        QCOMPARE(enCopias(inst.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_CopiaSeguridadServidor)
#include "tst_copiaseguridad_servidor.moc"
