// kill -9 at random moments of confirms with large photographs, of the
// office export and import and of the web export, all real programs on real
// installations: after each kill the database is sound, every confirm,
// import and export is there entirely or not at all, and the next start-up
// leaves no temporary file behind.
//
// The random moments come from one seed, printed; ORBALIA_SEMILLA=<n> repeats
// a run.

#include "../exchange/IntercambioPrueba.h"
#include "../webexport/WebExportFixture.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "shell/Installation.h"
#include "webexport/ColumnasWeb.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <unistd.h>

using namespace prueba;

namespace {

const QString Hijo = QStringLiteral(ORBALIA_BINARY_DIR "/orbalia-prueba-hijo");
const QString Intercambio = QStringLiteral(ORBALIA_BINARY_DIR "/orbalia-exchange");
const QString ExportacionWebCli = QStringLiteral(ORBALIA_BINARY_DIR "/orbalia-webexport");

// How one run of a child ended.
struct Final {
    bool matado = false; // killed before it ended by itself
    int codigo = 0;      // exit code when it ended by itself
    QString salida;
};

// Starts programa in a process group of its own, waits for the line listo
// (if any), lets it run for espera ms and kills it with SIGKILL, as the
// system would. Children it left running (rsync) may finish as they would
// after a real kill; one still running after 20 s is killed too.
Final correrYMatar(const QString& programa, const QStringList& argumentos, const QByteArray& listo,
                   int espera) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setChildProcessModifier([] { ::setpgid(0, 0); });
    p.start(programa, argumentos);
    Final f;
    if (!p.waitForStarted(10000)) {
        f.salida = QStringLiteral("no arranca: ") + p.errorString();
        f.codigo = -1;
        return f;
    }
    const qint64 grupo = p.processId();
    QByteArray salida;
    if (!listo.isEmpty()) {
        QElapsedTimer t;
        t.start();
        while (!salida.contains(listo) && p.state() == QProcess::Running && t.elapsed() < 20000) {
            p.waitForReadyRead(100);
            salida += p.readAll();
        }
    }
    if (!p.waitForFinished(espera)) {
        ::kill(pid_t(grupo), SIGKILL);
        p.waitForFinished(10000);
        f.matado = true;
    } else {
        f.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    salida += p.readAll();
    f.salida = QString::fromUtf8(salida);
    QElapsedTimer t;
    t.start();
    while (::kill(-pid_t(grupo), 0) == 0 && t.elapsed() < 20000)
        QThread::msleep(20);
    ::kill(-pid_t(grupo), SIGKILL);
    return f;
}

// A full run, timed; its duration bounds the moments a kill is tried at.
Final correr(const QString& programa, const QStringList& argumentos, qint64* ms = nullptr) {
    QElapsedTimer t;
    t.start();
    Final f = correrYMatar(programa, argumentos, {}, 120000);
    if (ms)
        *ms = t.elapsed();
    return f;
}

// rsync skips a file whose size and modification second match: an export
// made within the same second as the last one would never reach the server.
// Dating the copy already there back keeps each run's file going through.
void envejecer(const QString& ruta) {
    QFile f(ruta);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime);
}

QString integridad(const QString& ruta) {
    auto d = db::Database::open(ruta, {.readOnly = true});
    return d->scalar(QStringLiteral("PRAGMA integrity_check")).toString();
}

QByteArray bytes(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A photograph of random noise, so the JPEG stays large (a few MB).
void fotoGrande(const QString& ruta, quint32 semilla) {
    QImage img(1600, 1200, QImage::Format_RGB32);
    QRandomGenerator g(semilla);
    for (int y = 0; y < img.height(); ++y) {
        auto* fila = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            fila[x] = 0xff000000u | (g.generate() & 0xffffffu);
    }
    QDir().mkpath(QFileInfo(ruta).path());
    if (!img.save(ruta, "JPEG", 95))
        qFatal("cannot write %s", qPrintable(ruta));
}

// Temporary files of the program's own naming left in a folder.
QStringList restos(const QString& carpeta) {
    static const QRegularExpression temporal(QStringLiteral("^(\\..*\\.tmp|.*\\.part|qt_temp\\..*)$"));
    QStringList out;
    for (const QString& n : QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (temporal.match(n).hasMatch())
            out << n;
    return out;
}

// The next start of the program on an installation: its real start-up, in a
// process of its own started after the kill.
void arrancar(const QString& carpeta) {
    const Final f = correr(Hijo, {"arrancar", carpeta});
    QVERIFY2(f.codigo == 0,
             qPrintable(QStringLiteral("el arranque falla (%1): %2").arg(f.codigo).arg(f.salida)));
}

// Every row of a table for the columns of columnas, one text per row, in Cod order.
QStringList filas(db::Database& d, const QString& tabla, const QStringList& columnas,
                  const QString& where = {}, const db::Params& params = {}) {
    QStringList out;
    const QString sql =
        QStringLiteral("SELECT %1 FROM \"%2\" %3 ORDER BY Cod").arg(columnas.join(u','), tabla, where);
    for (const db::Row& r : d.query(sql, params)) {
        QStringList campos;
        for (const db::Value& v : r)
            campos << (db::isNull(v) ? QStringLiteral("<null>") : v.toString());
        out << campos.join(u'|');
    }
    return out;
}

QStringList columnasDe(db::Database& d, const QString& tabla) {
    QStringList out;
    for (const db::Row& r : d.query(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tabla}))
        out << r.value(0).toString();
    return out;
}

const QStringList TablasOficina = {QStringLiteral("Propiedades"), QStringLiteral("Propietarios"),
                                   QStringLiteral("Clientes")};

// Office 02's rows as an installation holds them, table by table.
QStringList estadoOficina(db::Database& d, const QString& oficina) {
    QStringList out;
    for (const QString& t : TablasOficina)
        out << t + u':' + tabla(d, t, QStringLiteral("WHERE Agencia = ?"), {oficina}).join(u'\n');
    return out;
}

QList<QStringList> filasWeb(mysql::Connection& c, const QString& agencia) {
    QList<QStringList> out;
    for (const auto& [t, p] :
         {std::pair{"webproperties", orb::Pasada::Venta}, std::pair{"webrentals", orb::Pasada::Alquiler}}) {
        const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE agency = ? ORDER BY ident")
                                .arg(orb::ColumnasWeb(p).join(u','), QLatin1String(t));
        for (const mysql::Row& r : c.query(sql, {agencia}))
            out << webtest::texts(r);
    }
    return out;
}

} // namespace

class tst_Muertes : public QObject {
    Q_OBJECT

    quint32 semilla_ = 0;
    QRandomGenerator azar_;
    QTemporaryDir fuera_; // the user's pictures

    int alAzar(qint64 hasta) { return int(azar_.bounded(quint32(qMax<qint64>(1, hasta)))); }

    // After a kill and the next start-up: the database is sound, each
    // property is one whole confirm (its photographs those of its "Vuelta k",
    // its last activity line "Vuelta k"), no photograph or line lacks its row,
    // and no temporary file is left.
    void comprobarConfirmaciones(TestInstallation& inst, const QStringList& fotos, int kill) {
        const QString donde = QStringLiteral(" (muerte %1, semilla %2)").arg(kill).arg(semilla_);
        QCOMPARE(integridad(inst.file("Orbalia.db")), QString("ok"));
        auto d = db::Database::open(inst.file("Orbalia.db"));
        const QString rutaFotos = inst.file("Fotos/");
        static const QRegularExpression vuelta(QStringLiteral("^Vuelta (\\d+)$"));
        QSet<QString> nombradas;
        for (const db::Row& r : d->query(
                 "SELECT Cod, Observaciones, Foto1, Foto2, Foto3, Foto4, Foto5, Foto6 FROM Propiedades")) {
            const QString cod = r[0].toString();
            const auto m = vuelta.match(r[1].toString());
            QVERIFY2(m.hasMatch(), qPrintable(cod + ": " + r[1].toString() + donde));
            const quint32 k = m.captured(1).toUInt();
            for (int n = 0; n < 3; ++n) {
                const QString nombre = QStringLiteral("%1-%2.jpg").arg(cod).arg(n + 1);
                QCOMPARE(r[2 + n].toString(), nombre);
                const QString esperada = fotos[int((k + quint32(n)) % quint32(fotos.size()))];
                QVERIFY2(bytes(rutaFotos + nombre) == bytes(esperada),
                         qPrintable(nombre + " no es la foto de la vuelta " + m.captured(1) + donde));
                nombradas << nombre;
            }
            const QList<db::Row> lineas =
                d->query("SELECT Actividad FROM Actividades WHERE Propiedad = ? ORDER BY Cod", {cod});
            QVERIFY2(!lineas.isEmpty() && lineas.last().value(0).toString() == r[1].toString(),
                     qPrintable(cod + ": el registro de actividad no es el de su grabación" + donde));
        }
        QCOMPARE(d->scalar("SELECT count(*) FROM Actividades WHERE Propiedad NOT IN "
                           "(SELECT Cod FROM Propiedades)")
                     .toInt(),
                 0);
        for (const QString& n : QDir(rutaFotos).entryList(QDir::Files | QDir::Hidden | QDir::System))
            QVERIFY2(nombradas.contains(n), qPrintable("foto sin su registro: " + n + donde));
        QCOMPARE(d->scalar("SELECT count(*) FROM Config WHERE Grupo = 'FOTOSPENDIENTES'").toInt(), 0);
    }

private Q_SLOTS:
    void initTestCase() {
        bool ok = false;
        semilla_ = qEnvironmentVariable("ORBALIA_SEMILLA").toUInt(&ok);
        if (!ok)
            semilla_ = QRandomGenerator::global()->generate();
        azar_.seed(semilla_);
        qInfo("semilla: %u (ORBALIA_SEMILLA=%u repite esta prueba)", semilla_, semilla_);
        qunsetenv("ORBALIA_RSYNC_PORT");
    }

    // The property window confirming adds and edits with three photographs
    // of a few MB each, killed eight times.
    void confirmacionesConFotos() {
        orb::install::InstallOptions o;
        o.facts = orb::install::demoFacts();
        TestInstallation inst(o);
        {
            db::Database& d = inst.context().db();
            d.execute("DELETE FROM Propiedades");
            d.execute("DELETE FROM Actividades");
        }
        QDir(inst.file("Fotos")).removeRecursively();
        QDir().mkpath(inst.file("Fotos"));
        QStringList fotos;
        for (int i = 0; i < 4; ++i) {
            fotos << fuera_.filePath(QStringLiteral("foto%1.jpg").arg(i));
            fotoGrande(fotos.last(), semilla_ + quint32(i));
        }
        QVERIFY(QFileInfo(fotos.first()).size() > 1000000);

        // The moments span a few confirms as long as this machine takes for
        // one; the first kill comes after a confirm has finished.
        static const QRegularExpression hecho(QStringLiteral("hecho \\d+ (\\d+)"));
        qint64 msConfirmar = 300;
        int hechas = 0, conRestos = 0;
        for (int kill = 1; kill <= 8; ++kill) {
            const Final f = correrYMatar(
                Hijo, QStringList{"confirmar", inst.path(), QString::number(azar_.generate())} + fotos,
                kill == 1 ? "hecho " : "listo\n", alAzar(3 * msConfirmar));
            for (auto it = hecho.globalMatch(f.salida); it.hasNext();)
                msConfirmar = qMax(msConfirmar, qMin<qint64>(it.next().captured(1).toLongLong(), 5000));
            QVERIFY2(f.matado,
                     qPrintable(
                         QStringLiteral("terminó con %1 antes de matarlo: %2").arg(f.codigo).arg(f.salida)));
            hechas += int(f.salida.count(QStringLiteral("hecho ")));
            if (!restos(inst.file("Fotos")).isEmpty())
                ++conRestos;
            arrancar(inst.path());
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(restos(inst.file("Fotos")), QStringList());
            comprobarConfirmaciones(inst, fotos, kill);
            if (QTest::currentTestFailed())
                return;
        }
        qInfo("%d grabaciones completas; %d muertes dejaron archivos temporales", hechas, conRestos);
        QVERIFY(hechas > 0);
    }

    // orbalia-exchange export at office 02 and import at office 01 through the
    // tests' rsync daemon, each killed four times: the server holds the old
    // file or a complete new one, office 01 holds all of 02's old rows or all
    // of its new ones.
    void exportacionEImportacionDeOficina() {
        ORB_REQUIRE_RSYNC(s);
        const auto instalacion = [&](const QString& codigo, bool principal, int propiedades) {
            orb::install::InstallOptions o;
            o.facts = orb::install::demoFacts();
            o.facts.CodigoOficina = codigo;
            o.facts.OficinaPrincipal = principal;
            o.demoProperties = propiedades;
            o.seed = semilla_ + quint32(propiedades);
            o.exchangeUser = s.users.contains("oficina1") ? "oficina1" : s.users.first();
            o.exchangeServer = s.host;
            o.exchangePort = s.port;
            o.exchangePassword = s.password;
            return o;
        };
        TestInstallation uno(instalacion("01", true, 3));
        TestInstallation dos(instalacion("02", false, 8));
        db::Database& d1 = uno.context().db();
        db::Database& d2 = dos.context().db();
        const QString servidor = s.moduleDir(instalacion("02", false, 0).exchangeUser) + "/02/Export.db";

        qint64 msExportar = 0, msImportar = 0;
        int exportViejo = 0, exportNuevo = 0, importViejo = 0, importNuevo = 0, conRestos = 0;
        Final f = correr(Intercambio, {"export", "--home", dos.path()}, &msExportar);
        QVERIFY2(f.codigo == 0, qPrintable(f.salida));
        f = correr(Intercambio, {"import", "--home", uno.path()}, &msImportar);
        QVERIFY2(f.codigo == 0, qPrintable(f.salida));
        QCOMPARE(estadoOficina(d1, "02"), estadoOficina(d2, "02"));

        for (int vuelta = 1; vuelta <= 4; ++vuelta) {
            const QString donde = QStringLiteral(" (vuelta %1, semilla %2)").arg(vuelta).arg(semilla_);
            // Office 02 changes: prices, one client fewer, one property more.
            d2.execute("UPDATE Propiedades SET Precio = Precio + 1000 WHERE Agencia = '02'");
            d2.execute(
                "DELETE FROM Clientes WHERE Cod = (SELECT min(Cod) FROM Clientes WHERE Agencia = '02')");
            fila(d2, "Propiedades", QStringLiteral("02%1").arg(90000 + vuelta), "02");

            // The export, killed.
            const QByteArray antes = bytes(servidor);
            envejecer(servidor);
            f = correrYMatar(Intercambio, {"export", "--home", dos.path()}, {}, alAzar(msExportar * 11 / 10));
            QCOMPARE(integridad(dos.file("Orbalia.db")), QString("ok"));
            const auto completo = [&] {
                auto x = db::Database::open(servidor, {.readOnly = true});
                if (x->scalar("PRAGMA integrity_check").toString() != u"ok")
                    return false;
                for (const QString& t : TablasOficina) {
                    const QStringList columnas = columnasDe(*x, t);
                    if (filas(*x, t, columnas) != filas(d2, t, columnas, "WHERE Agencia = '02'")) {
                        qInfo() << "Tabla" << t << "distinta en el servidor";
                        return false;
                    }
                }
                return true;
            };
            const bool nuevo = bytes(servidor) != antes;
            QVERIFY2(!nuevo || completo(), qPrintable("fichero de intercambio a medias" + donde));
            ++(nuevo ? exportNuevo : exportViejo);
            if (!nuevo) {
                envejecer(servidor);
                f = correr(Intercambio, {"export", "--home", dos.path()}, &msExportar);
                QVERIFY2(f.codigo == 0, qPrintable(f.salida));
                QVERIFY(completo());
            }

            // The import, killed.
            const QStringList viejo = estadoOficina(d1, "02");
            const QStringList esperado = estadoOficina(d2, "02");
            QVERIFY(viejo != esperado);
            envejecer(uno.file("Exchange/02/Export.db"));
            f = correrYMatar(Intercambio, {"import", "--home", uno.path()}, {}, alAzar(msImportar * 11 / 10));
            QCOMPARE(integridad(uno.file("Orbalia.db")), QString("ok"));
            const QStringList ahora = estadoOficina(d1, "02");
            QVERIFY2(ahora == viejo || ahora == esperado, qPrintable("importación a medias" + donde));
            ++(ahora == viejo ? importViejo : importNuevo);
            if (!restos(uno.file("Fotos")).isEmpty())
                ++conRestos;
            arrancar(uno.path());
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(restos(uno.file("Fotos")), QStringList());
            if (ahora == viejo) {
                envejecer(uno.file("Exchange/02/Export.db"));
                f = correr(Intercambio, {"import", "--home", uno.path()}, &msImportar);
                QVERIFY2(f.codigo == 0, qPrintable(f.salida));
            }
            QCOMPARE(estadoOficina(d1, "02"), esperado);
        }
        qInfo(
            "exportación: %d muertes antes de subir el fichero, %d después; importación: %d muertes antes de "
            "confirmar, %d después, %d dejaron archivos temporales",
            exportViejo, exportNuevo, importViejo, importNuevo, conRestos);
    }

    // orbalia-webexport --no-upload against the tests' MariaDB, killed four
    // times: the site lists the old properties or all the new ones.
    void exportacionWeb() {
        ORB_REQUIRE_MYSQL(server);
        auto admin = mysql::Connection::connect(server.options);
        webtest::createWebTables(*admin);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        f.catalogues();
        for (int i = 1; i <= 12; ++i) {
            const QString nombre = QStringLiteral("B%1-1.jpg").arg(i, 5, 10, QLatin1Char('0'));
            f.property(i % 3 == 0, i, {{"Precio", 1000 * i}, {"Foto1", nombre}});
            webtest::writeJpeg(f.foto(nombre));
        }
        QVERIFY(orb::GuardarDatosInstalacion(f.inst.path(), f.ctx.facts));
        db::Database& d = f.ctx.db();
        const QStringList args = {"--home", f.inst.path(), "--no-upload"};

        qint64 ms = 0;
        int antes = 0, despues = 0;
        Final r = correr(ExportacionWebCli, args, &ms);
        QVERIFY2(r.codigo == 0, qPrintable(r.salida));
        for (int vuelta = 1; vuelta <= 4; ++vuelta) {
            const QString donde = QStringLiteral(" (vuelta %1, semilla %2)").arg(vuelta).arg(semilla_);
            const QList<QStringList> viejo = filasWeb(*admin, "CSOL");
            d.execute("UPDATE Propiedades SET Precio = Precio + 7, ExportacionWeb = NOT ExportacionWeb "
                      "WHERE QuickID = ?",
                      {vuelta});
            r = correrYMatar(ExportacionWebCli, args, {}, alAzar(ms * 11 / 10));
            QCOMPARE(integridad(f.inst.file("Orbalia.db")), QString("ok"));
            const QList<QStringList> ahora = filasWeb(*admin, "CSOL");
            r = correr(ExportacionWebCli, args, &ms);
            QVERIFY2(r.codigo == 0, qPrintable(r.salida));
            const QList<QStringList> nuevo = filasWeb(*admin, "CSOL");
            QVERIFY(nuevo != viejo);
            QVERIFY2(ahora == viejo || ahora == nuevo, qPrintable("listado web a medias" + donde));
            ++(ahora == viejo ? antes : despues);
        }
        qInfo("exportación web: %d muertes antes de confirmar, %d después", antes, despues);
    }
};

QTEST_MAIN(tst_Muertes)
#include "tst_muertes.moc"
