// Backups of an installation on the file: the online copy holds every
// confirmed row and nothing unconfirmed, the newest N are kept and nothing
// else is touched, a bad setting writes nothing, and a backup put back.

#include "CopiasPrueba.h"
#include "TestInstallation.h"
#include "copias/CopiaSeguridad.h"
#include "platform/db/Database.h"

#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTest>

using namespace copiasprueba;
using orb::copias::FalloCopia;
using orb::copias::HacerCopia;

namespace {

// Every table's rows, each as the SQL literals of its values, in order of
// the table's name and then of the rows' text: the same set of rows reads
// the same whatever the order the engine returns them in.
QStringList filas(const QString& archivo) {
    db::OpenOptions lectura;
    lectura.readOnly = true;
    auto d = db::Database::open(archivo, lectura);
    QStringList out;
    for (const db::Row& t : d->query("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                     "'sqlite_%' ORDER BY name")) {
        const QString tabla = t[0].toString();
        QStringList columnas;
        for (const db::Row& c : d->query(QString("SELECT name FROM pragma_table_info('%1')").arg(tabla)))
            columnas << QString("quote(\"%1\")").arg(c[0].toString());
        QStringList lineas;
        for (const db::Row& r :
             d->query(QString("SELECT %1 FROM \"%2\"").arg(columnas.join(" || '|' || "), tabla)))
            lineas << tabla + ": " + r[0].toString();
        lineas.sort();
        out << tabla + QString(": %1 filas").arg(lineas.size()) << lineas;
    }
    return out;
}

void ponerConservar(const QString& instalacion, const QString& valor) {
    QSettings ini(instalacion + "Orbalia.ini", QSettings::IniFormat);
    ini.setValue("Copias/Conservar", valor);
}

void escribir(const QString& ruta, const QByteArray& datos = "x") {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

QDateTime hora(const char* texto) {
    return QDateTime::fromString(QString::fromLatin1(texto), "yyyy-MM-dd HH:mm:ss");
}

} // namespace

class tst_CopiaSeguridad : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Confirmed rows still in the write-ahead log are in the copy; a write
    // another seat has not confirmed is not, and the seat is not made to wait.
    void laCopiaTieneLoConfirmadoYNadaMas() {
        TestInstallation inst(demo(60));
        const QString base = inst.file("Orbalia.db");
        auto escritor = db::Database::open(base);
        // The rows stay in the -wal, not yet in the database file itself.
        escritor->scalar("PRAGMA wal_autocheckpoint = 0");
        escritor->execute("UPDATE Propiedades SET Direccion = 'Calle Ñandú, 7' || char(10) || 'bajo' "
                          "WHERE rowid = 3");
        escritor->execute("DELETE FROM Clientes WHERE rowid = (SELECT max(rowid) FROM Clientes)");
        const QStringList confirmado = filas(base);
        QVERIFY(QFileInfo(base + "-wal").size() > 0);

        auto otroPuesto = db::Database::open(base);
        otroPuesto->execute("BEGIN IMMEDIATE");
        otroPuesto->execute("UPDATE Propietarios SET Nombre = 'Sin confirmar'");

        const Salida s = orbaliaBackup({inst.path()});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        const QStringList hechas = copiasHechas(inst.path());
        QCOMPARE(hechas.size(), 1);
        QVERIFY(hechas.first().endsWith(".db"));
        QCOMPARE(enCopias(inst.path()), hechas);
        const QString copia = inst.file("Copias/" + hechas.first());
        QVERIFY2(s.out.contains(QDir::toNativeSeparators(copia)), qPrintable(s.out));

        // One file, sound, with every table's rows as confirmed.
        db::OpenOptions lectura;
        lectura.readOnly = true;
        {
            auto d = db::Database::open(copia, lectura);
            QCOMPARE(d->scalar("PRAGMA integrity_check").toString(), QString("ok"));
            QCOMPARE(d->scalar("PRAGMA journal_mode").toString(), QString("delete"));
            QCOMPARE(d->userVersion(), escritor->userVersion());
        }
        QCOMPARE(filas(copia), confirmado);
        otroPuesto->execute("ROLLBACK");
        QCOMPARE(filas(base), confirmado);
    }

    // The newest N of the command's own backups are kept, the one just made
    // always among them; no other file of the folder is touched.
    void seConservanLasNMasRecientes() {
        TestInstallation inst(demo(5));
        ponerConservar(inst.path(), "3");
        QVERIFY(QDir().mkpath(inst.file("Copias")));
        const QStringList ajenas{"notas.txt",
                                 "Orbalia.db",
                                 "orbalia-20200101-000000.db",
                                 "Orbalia-20200101-000000.db.bak",
                                 "Orbalia-2020.db",
                                 "Orbalia-20201340-000000.db",
                                 "Orbalia-20200101-000000-1.db",
                                 "Orbalia-20200101-000000-02.db",
                                 "Orbalia-20200101-000000.sql"};
        for (const QString& n : ajenas)
            escribir(inst.file("Copias/" + n));
        // Older backups of the command, one of each engine.
        escribir(inst.file("Copias/Orbalia-20200101-000000.db"));
        escribir(inst.file("Copias/Orbalia-20210101-000000.dump"));

        // The command's backups: the folder less the other files, which stay.
        auto hechas = [&] {
            QStringList h = enCopias(inst.path());
            for (const QString& n : ajenas)
                if (h.removeAll(n) != 1)
                    return QStringList{"falta " + n};
            return h;
        };
        auto c = HacerCopia(inst.path(), hora("2030-05-01 10:00:00"));
        QCOMPARE(c.conservar, 3);
        QCOMPARE(QFileInfo(c.archivo).fileName(), QString("Orbalia-20300501-100000.db"));
        QCOMPARE(c.borradas, QStringList());
        QCOMPARE(hechas().size(), 3);
        c = HacerCopia(inst.path(), hora("2030-05-02 10:00:00"));
        QCOMPARE(c.borradas, QStringList{"Orbalia-20200101-000000.db"});
        c = HacerCopia(inst.path(), hora("2030-05-03 10:00:00"));
        QCOMPARE(c.borradas, QStringList{"Orbalia-20210101-000000.dump"});
        QCOMPARE(hechas(), (QStringList{"Orbalia-20300501-100000.db", "Orbalia-20300502-100000.db",
                                        "Orbalia-20300503-100000.db"}));

        // Two in the same second: neither replaces the other, the later counts as newer.
        HacerCopia(inst.path(), hora("2030-05-04 10:00:00"));
        c = HacerCopia(inst.path(), hora("2030-05-04 10:00:00"));
        QCOMPARE(QFileInfo(c.archivo).fileName(), QString("Orbalia-20300504-100000-2.db"));
        QCOMPARE(c.borradas, QStringList{"Orbalia-20300502-100000.db"});
        QCOMPARE(hechas(), (QStringList{"Orbalia-20300503-100000.db", "Orbalia-20300504-100000-2.db",
                                        "Orbalia-20300504-100000.db"}));
        for (const QString& n : hechas())
            QCOMPARE(filas(inst.file("Copias/" + n)), filas(inst.file("Orbalia.db")));

        // A clock put back: the backup just made is kept all the same.
        c = HacerCopia(inst.path(), hora("2029-01-01 08:00:00"));
        QCOMPARE(hechas(), (QStringList{"Orbalia-20290101-080000.db", "Orbalia-20300504-100000-2.db",
                                        "Orbalia-20300504-100000.db"}));

        // Of two in one second, the later is the newer.
        ponerConservar(inst.path(), "2");
        c = HacerCopia(inst.path(), hora("2030-06-01 00:00:00"));
        QCOMPARE(hechas(), (QStringList{"Orbalia-20300504-100000-2.db", "Orbalia-20300601-000000.db"}));
        ponerConservar(inst.path(), "1");
        c = HacerCopia(inst.path(), hora("2030-06-02 00:00:00"));
        QCOMPARE(c.borradas.size(), 2);
        QCOMPARE(hechas(), QStringList{"Orbalia-20300602-000000.db"});
    }

    void unAjusteMaloNoEscribeNada_data() {
        QTest::addColumn<QString>("valor");
        for (const char* v : {"abc", "0", "-1", "1001", "3.5", "10 copias", "3,5"})
            QTest::newRow(v) << QString::fromUtf8(v);
    }
    void unAjusteMaloNoEscribeNada() {
        QFETCH(QString, valor);
        TestInstallation inst(demo(5));
        ponerConservar(inst.path(), valor);
        const Salida s = orbaliaBackup({inst.path()});
        QCOMPARE(s.codigo, orb::copias::SalidaNoEmpieza);
        QVERIFY2(s.err.contains("Conservar") && s.err.contains("[Copias]") &&
                     s.err.contains("«" + valor + "»"),
                 qPrintable(s.err));
        QVERIFY(!QFileInfo::exists(inst.file("Copias")));
    }

    void losAjustesQueSeAceptan() {
        TestInstallation inst(demo(0));
        QCOMPARE(orb::copias::LeerConservar(inst.path()), orb::copias::ConservarPorOmision);
        for (const auto& [valor, n] :
             {std::pair{"", 10}, std::pair{" 7 ", 7}, std::pair{"1", 1}, std::pair{"1000", 1000}}) {
            ponerConservar(inst.path(), valor);
            QCOMPARE(orb::copias::LeerConservar(inst.path()), n);
        }
    }

    // What cannot be copied is said, and leaves no file behind.
    void loQueNoSePuedeCopiarSeDice() {
        QTemporaryDir vacia;
        Salida s = orbaliaBackup({vacia.path()});
        QCOMPARE(s.codigo, orb::copias::SalidaNoEmpieza);
        QVERIFY2(s.err.contains("no es una instalación de Orbalia"), qPrintable(s.err));
        s = orbaliaBackup({vacia.path() + "/no-existe"});
        QCOMPARE(s.codigo, orb::copias::SalidaNoEmpieza);
        QVERIFY2(s.err.contains("No existe la carpeta"), qPrintable(s.err));
        s = orbaliaBackup({vacia.path(), "otra"});
        QCOMPARE(s.codigo, orb::copias::SalidaNoEmpieza);
        QVERIFY2(s.err.contains("sobran argumentos: otra"), qPrintable(s.err));

        // The folder's Orbalia.db is gone: the seat hears which file.
        TestInstallation inst(demo(5));
        QVERIFY(QFile::remove(inst.file("Orbalia.db")));
        s = orbaliaBackup({inst.path()});
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QVERIFY2(s.err.startsWith("Error: No se ha podido copiar la base de datos [") &&
                     s.err.contains(QDir::toNativeSeparators(inst.file("Orbalia.db"))),
                 qPrintable(s.err));
        QCOMPARE(enCopias(inst.path()), QStringList());

        // A run killed half-way left its partial file: the next one clears it.
        escribir(inst.file("Copias/.Orbalia-parcial-AbCdEf"), "a medias");
        escribir(inst.file("Orbalia.db"), "no es una base de datos");
        s = orbaliaBackup({inst.path()});
        QCOMPARE(s.codigo, orb::copias::SalidaFallo);
        QCOMPARE(enCopias(inst.path()), QStringList());
    }

    // Put back while the program is closed; what was there is kept first.
    void restaurarDevuelveLaCopiaYGuardaLoQueHabia() {
        TestInstallation inst(demo(40));
        const QString base = inst.file("Orbalia.db");
        Salida s = orbaliaBackup({inst.path()});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        const QString copia = copiasHechas(inst.path()).first();
        const QStringList antes = filas(base);
        {
            auto d = db::Database::open(base);
            d->execute("DELETE FROM Actividades");
            d->execute("UPDATE Propiedades SET Precio = 1");
        }
        const QStringList cambiado = filas(base);
        QVERIFY(cambiado != antes);

        {
            // The program open on this folder holds its lock.
            QLockFile programa(inst.file("Orbalia.lock"));
            QVERIFY(programa.tryLock(0));
            s = orbaliaBackup({inst.path(), "--restaurar", copia});
            QCOMPARE(s.codigo, orb::copias::SalidaFallo);
            QVERIFY2(s.err.contains("El programa está abierto"), qPrintable(s.err));
            QCOMPARE(filas(base), cambiado);
            QCOMPARE(copiasHechas(inst.path()).size(), 1);
        }

        // Not a database, none at all, or one that is not the agency's (the
        // exchange's template has the records' tables and a version too).
        escribir(inst.file("hola.db"), "hola");
        for (const QString& mala :
             {inst.file("hola.db"), inst.file("no-existe.db"), inst.file("ExportSchema.db")}) {
            s = orbaliaBackup({inst.path(), "--restaurar", mala});
            QCOMPARE(s.codigo, orb::copias::SalidaNoEmpieza);
            QVERIFY2(s.err.contains(QDir::toNativeSeparators(mala)), qPrintable(s.err));
        }
        QCOMPARE(filas(base), cambiado);

        s = orbaliaBackup({inst.path(), "--restaurar", copia});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        QCOMPARE(filas(base), antes);
        {
            auto d = db::Database::open(base);
            QCOMPARE(d->scalar("PRAGMA integrity_check").toString(), QString("ok"));
        }
        // The database it replaced, as it was, beside the backup.
        const QStringList hechas = copiasHechas(inst.path());
        QCOMPARE(hechas.size(), 2);
        const QString anterior = hechas.at(hechas.first() == copia ? 1 : 0);
        QVERIFY2(s.out.contains(anterior), qPrintable(s.out));
        QCOMPARE(filas(inst.file("Copias/" + anterior)), cambiado);
        QLockFile despues(inst.file("Orbalia.lock"));
        QVERIFY(despues.tryLock(0));
        despues.unlock();

        // A database too damaged to copy is moved aside as it was, never lost.
        escribir(base, "dañada");
        s = orbaliaBackup({inst.path(), "--restaurar", copia});
        QVERIFY2(s.codigo == 0, qPrintable(s.todo()));
        QCOMPARE(filas(base), antes);
        const QStringList apartadas =
            enCopias(inst.path()).filter(QRegularExpression("^Orbalia-anterior-.*\\.db$"));
        QCOMPARE(apartadas.size(), 1);
        QVERIFY2(s.out.contains(apartadas.first()), qPrintable(s.out));
        QFile danada(inst.file("Copias/" + apartadas.first()));
        QVERIFY(danada.open(QIODevice::ReadOnly));
        QCOMPARE(danada.readAll(), QByteArray("dañada"));
        QCOMPARE(copiasHechas(inst.path()).size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_CopiaSeguridad)
#include "tst_copiaseguridad.moc"
