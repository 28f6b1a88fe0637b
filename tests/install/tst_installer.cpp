// The installation folder as the program, the upgrader and the exchange find it.

#include "TestInstallation.h"
#include "install/Installer.h"
#include "platform/db/Database.h"
#include "shell/Installation.h"
#include "shell/Schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QSettings>
#include <QtTest>

namespace {

orb::install::InstallOptions demo(int properties, bool photos = true, quint32 seed = 7) {
    orb::install::InstallOptions o;
    o.facts = orb::install::demoFacts();
    o.demoProperties = properties;
    o.demoPhotos = photos;
    o.seed = seed;
    return o;
}

int count(db::Database& d, const QString& sql) {
    return d.scalar(sql).toInt();
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files);
}

QByteArray sha1Of(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                                       : QByteArray();
}

QString installer() {
    QString dir = qEnvironmentVariable("ORBALIA_BIN_DIR");
    if (dir.isEmpty())
        dir = ORBALIA_BINARY_DIR;
    return QDir(dir).filePath("orbalia-install");
}

} // namespace

class TestInstaller : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layoutOfAnEmptyInstallation_data() {
        QTest::addColumn<bool>("withDatabase");
        QTest::newRow("with database") << true;
        QTest::newRow("without database") << false;
    }
    void layoutOfAnEmptyInstallation() {
        QFETCH(bool, withDatabase);
        orb::install::InstallOptions o;
        o.createDatabase = withDatabase;
        TestInstallation inst(o);
        for (const char* folder : {"Fotos", "Web", "Web/thumbs", "Exchange"})
            QVERIFY2(QFileInfo(inst.file(QLatin1String(folder))).isDir() &&
                         filesIn(inst.file(QLatin1String(folder))).isEmpty(),
                     folder);
        for (const char* file : {"Orbalia.ini", "ExportSchema.db", "Logo800.jpg", "DossierLogo.jpg"})
            QVERIFY2(QFileInfo(inst.file(QLatin1String(file))).isFile(), file);
        QCOMPARE(QFileInfo::exists(inst.file("Orbalia.db")), withDatabase);

        auto exchange = db::Database::open(inst.file("ExportSchema.db"), {.durable = false});
        QVERIFY(exchange->tableExists("Propiedades"));
        QVERIFY(!exchange->tableExists("Config"));
        // The template is copied as a plain file: it must not depend on a journal beside it.
        QCOMPARE(exchange->scalar("PRAGMA journal_mode").toString(), "delete");
        if (!withDatabase)
            return;
        auto& ctx = inst.context();
        QCOMPARE(ctx.VersionBD, orb::schema::CurrentVersion);
        for (const char* t :
             {"Propiedades", "Propietarios", "Clientes", "Tipos", "Localidades", "Areas", "Actividades"})
            QCOMPARE(count(ctx.db(), QString("SELECT count(*) FROM %1").arg(QLatin1String(t))), 0);
    }

    void logosAndFacts() {
        TestInstallation inst(demo(0));
        // Accented text survives the installation file.
        QVERIFY(orb::LeerDatosInstalacion(inst.path()).PieDossier.contains("Málaga"));
        QImageReader logo(inst.file("Logo800.jpg"));
        QCOMPARE(logo.format(), QByteArray("jpeg"));
        QCOMPARE(logo.size(), QSize(800, 600));
        const QImage background = logo.read();
        QVERIFY(background.pixel(400, 5) != background.pixel(400, 595)); // a gradient, not a flat fill
        QImageReader dossier(inst.file("DossierLogo.jpg"));
        QCOMPARE(dossier.format(), QByteArray("jpeg"));
        QVERIFY(!dossier.read().isNull());
    }

    void exchangePasswordIsPrivateAndNeverInTheScript() {
        orb::install::InstallOptions o;
        o.exchangeUser = "oficina1";
        o.exchangePassword = "s3creto";
        TestInstallation inst(o);
        const QString secret = inst.file("rsync_oficina1.secret");
        QCOMPARE(QFileInfo(secret).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile script(inst.file("rsync_oficina1.sh"));
        QVERIFY(script.open(QIODevice::ReadOnly));
        const QByteArray text = script.readAll();
        QVERIFY(!text.contains("s3creto") && text.contains("--password-file"));
    }

    void exchangeScriptWithoutPasswordCopiesNothing() {
        TestInstallation inst;
        const QString script = inst.file("rsync_ejemplo.sh");
        QVERIFY(QFileInfo(script).isExecutable());
        QDir(inst.path()).mkpath("origen");
        QFile marker(inst.file("origen/Export.db"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        QProcess p;
        p.start(script, {inst.file("origen/"), inst.file("destino/")});
        QVERIFY(p.waitForFinished(10000));
        // An unconfigured script must not look like a transfer.
        QVERIFY(p.exitCode() != 0 && !p.readAllStandardError().isEmpty());
        QVERIFY(!QFileInfo::exists(inst.file("destino")));
    }

    void demoDataHangTogether() {
        TestInstallation inst(demo(30));
        db::Database& d = inst.context().db();
        QCOMPARE(count(d, "SELECT count(*) FROM Propiedades"), 30);
        QCOMPARE(count(d, "SELECT count(*) FROM busquedapropiedades"), 30);
        // Each counter stands at the last number given.
        const QString counterIsLast =
            "SELECT (SELECT Valor FROM Config WHERE Grupo = 'CONTADORES' AND Variable = upper('%1')) = "
            "(SELECT max(%2) FROM %1)";
        for (const char* t : {"Tipos", "Localidades", "Areas"})
            QVERIFY2(count(d, counterIsLast.arg(QLatin1String(t), "Cod")) == 1, t);
        for (const char* t : {"Propiedades", "Propietarios", "Clientes"}) {
            const QString from = QString("SELECT count(*) FROM %1 WHERE ").arg(QLatin1String(t));
            QVERIFY2(count(d, from + "Alquiler") > 0, t);
            QVERIFY2(count(d, from + "NOT Alquiler") > 0, t);
            // Every record belongs to this office and carries its code.
            QVERIFY2(count(d, from + "Agencia <> '01' OR Cod <> Agencia || printf('%05d', QuickID)") == 0, t);
            QVERIFY2(count(d, counterIsLast.arg(QLatin1String(t), "QuickID")) == 1, t);
        }
        QCOMPARE(d.scalar("SELECT Valor FROM Config WHERE Variable = 'MASCARA'").toString(), "00000");
        QCOMPARE(
            count(d,

                  "SELECT count(*) FROM Localidades WHERE Nombre IN ('Marbella', 'Nerja', 'Benalmádena')"),
            3);
        QVERIFY(count(d, "SELECT count(*) FROM Actividades") > 0);
        // Names with apostrophes, on owners and clients.
        QVERIFY(count(d, "SELECT count(*) FROM Propietarios WHERE Nombre LIKE '%''%'") > 0);
        QVERIFY(count(d, "SELECT count(*) FROM Clientes WHERE Nombre LIKE '%''%'") > 0);

        // Rows that would break the program's own rules: none.
        const char* const faults[] = {
            "SELECT count(*) FROM Tipos WHERE NombreIdioma1 IS NULL OR NombreIdioma2 IS NULL",
            "SELECT count(*) FROM Localidades l WHERE (SELECT count(*) FROM Areas WHERE CodLocalidad = "
            "l.Cod) < 2",
            // Each property has an owner and a state of its own side, an area of its locality.
            "SELECT count(*) FROM Propiedades p LEFT JOIN Propietarios o ON o.Cod = p.CodPropietario "
            "WHERE o.Cod IS NULL OR o.Alquiler <> p.Alquiler",
            "SELECT count(*) FROM Propiedades WHERE (Alquiler AND Estado NOT IN ('Libre', 'Alquilada')) OR "
            "(NOT Alquiler AND Estado NOT IN ('En Venta', 'Vendida', 'Stand By'))",
            "SELECT count(*) FROM Propiedades p JOIN Areas a ON a.Cod = p.CodArea "
            "WHERE a.CodLocalidad <> p.CodLocalidad",
            "SELECT count(*) FROM Actividades a LEFT JOIN Propiedades p ON p.Cod = a.Propiedad "
            "WHERE p.Cod IS NULL OR a.Fecha IS NULL"};
        for (const char* sql : faults)
            QVERIFY2(count(d, QString::fromUtf8(sql)) == 0, sql);
    }

    void demoPhotographs_data() {
        QTest::addColumn<bool>("photos");
        QTest::newRow("with photographs") << true;
        QTest::newRow("without photographs") << false;
    }
    void demoPhotographs() {
        QFETCH(bool, photos);
        TestInstallation inst(demo(12, photos));
        QSet<QString> named;
        for (const db::Row& r : inst.context().db().query(
                 "SELECT Cod, Foto1, Foto2, Foto3, Foto4, Foto5, Foto6 FROM Propiedades")) {
            const QString cod = r[0].toString();
            QVERIFY2(db::isNull(r[1]) != photos, qPrintable(cod)); // every demo property has a photograph
            for (int slot = 1; slot <= 6; ++slot) {
                if (db::isNull(r[slot]))
                    continue;
                QVERIFY2(slot <= 3, qPrintable(cod));
                const QString name = r[slot].toString();
                QCOMPARE(name, QString("%1-%2.jpg").arg(cod).arg(slot));
                const QString path = inst.file(QString("Fotos/") + name);
                QImageReader reader(path);
                QCOMPARE(reader.format(), QByteArray("jpeg"));
                const QImage img = reader.read();
                QVERIFY2(img.width() >= 200 && img.height() >= 150, qPrintable(path));
                QVERIFY2(QFileInfo(path).size() < 80 * 1024, qPrintable(path));
                named << name;
            }
        }
        // Nothing in the folder that no property names.
        const QStringList files = filesIn(inst.file("Fotos"));
        QCOMPARE(QSet<QString>(files.begin(), files.end()), named);
    }

    void sameSeedSameInstallation() {
        TestInstallation a(demo(8, true, 99));
        TestInstallation b(demo(8, true, 99));
        TestInstallation c(demo(8, true, 100));
        for (const char* file : {"Orbalia.db", "Fotos/0100001-1.jpg"}) {
            const QByteArray hash = sha1Of(a.file(QLatin1String(file)));
            QVERIFY2(!hash.isEmpty() && hash == sha1Of(b.file(QLatin1String(file))), file);
        }
        QVERIFY(sha1Of(a.file("Orbalia.db")) != sha1Of(c.file("Orbalia.db")));
    }

    // The codes name folders the exchange empties: the installer lays out nothing with one the program
    // would refuse, and says which key is wrong.
    void officeCodesOtherThanLettersAndDigitsAreRefused() {
        const QList<std::pair<QString, QString>> casos = {{"..", "01,02"}, {"01", "01,.."}, {"1", "12/"}};
        for (const auto& [codigo, red] : casos) {
            QTemporaryDir dir;
            auto o = demo(0);
            o.facts.CodigoOficina = codigo;
            o.facts.RedAgencias = red;
            const QString destino = dir.filePath("inst");
            QString error;
            try {
                orb::install::createInstallation(destino, o);
            } catch (const std::runtime_error& e) {
                error = QString::fromStdString(e.what());
            }
            const QString clave = codigo == ".." ? "CodigoOficina: " : "RedAgencias: ";
            QVERIFY2(error.startsWith(clave) && error.endsWith("solo puede tener letras y cifras."),
                     qPrintable(error));
            QVERIFY(!QFileInfo::exists(destino));
        }
        // Letters beyond ASCII are letters.
        QTemporaryDir dir;
        auto o = demo(0);
        o.facts.CodigoOficina = "Ñ1";
        o.facts.RedAgencias = "Ñ1,02";
        orb::install::createInstallation(dir.path(), o);
        QCOMPARE(orb::LeerDatosInstalacion(dir.path()).CodigoOficina, "Ñ1");
    }

    void installingAgainOrWhereItCannot() {
        QTemporaryDir dir;
        orb::install::createInstallation(dir.path(), demo(5));
        orb::install::createInstallation(dir.path(), demo(0));
        auto d = db::Database::open(dir.filePath("Orbalia.db"));
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        QCOMPARE(count(*d, "SELECT count(*) FROM Propiedades"), 0);

        // A file where a folder should be.
        QString error;
        try {
            orb::install::createInstallation(dir.filePath("Orbalia.db/inst"), demo(1));
        } catch (const std::runtime_error& e) {
            error = QString::fromStdString(e.what());
        }
        QVERIFY2(error.contains("No se puede crear la carpeta"), qPrintable(error));
    }

    // The file the program starts from holds every fact, and arguments the program
    // would refuse are refused here first.
    void commandLineInstaller() {
        QTemporaryDir dir;
        QProcess p;
        auto run = [&p](const QStringList& args) {
            p.start(installer(), args);
            return p.waitForFinished(120000) ? p.exitCode() : -1;
        };
        const QString demoDir = dir.filePath("demo"), oficina2 = dir.filePath("oficina2");
        QCOMPARE(run({demoDir, "--demo", "6"}), 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains("Instalación creada"));
        QCOMPARE(orb::LeerDatosInstalacion(demoDir).NombreAgencia, "Inmobiliaria Costa del Sol");
        auto d = db::Database::open(QDir(demoDir).filePath("Orbalia.db"));
        QCOMPARE(count(*d, "SELECT count(*) FROM Propiedades"), 6);
        QVERIFY(!filesIn(QDir(demoDir).filePath("Fotos")).isEmpty());

        QCOMPARE(run({oficina2, "--agencia", "Pisos Ana", "--oficina", "02", "--secundaria"}), 0);
        QSettings ini(QDir(oficina2).filePath("Orbalia.ini"), QSettings::IniFormat);
        QCOMPARE(ini.status(), QSettings::NoError);
        QStringList keys = ini.allKeys();
        keys.sort();
        QCOMPARE(keys, (QStringList{"Instalacion/CodigoAgenciaWeb", "Instalacion/CodigoOficina",
                                    "Instalacion/ModelosDossier", "Instalacion/NombreAgencia",
                                    "Instalacion/OficinaPrincipal", "Instalacion/PieDossier",
                                    "Instalacion/RedAgencias"}));
        const orb::InstallationFacts f = orb::LeerDatosInstalacion(oficina2);
        QCOMPARE(f.CodigoOficina, "02");
        QCOMPARE(f.OficinaPrincipal, false);
        QCOMPARE(f.NombreAgencia, "Pisos Ana");
        QCOMPARE(orb::ProblemaInstalacion(oficina2, f), QString());

        const QString refused = dir.filePath("rechazada");
        const QList<std::pair<QStringList, QString>> wrong = {
            {{"--demo", "muchas"}, "Uso:"},
            {{"--oficina", ""}, "--oficina: Falta el código"},
            {{"--oficina", "ABCDEFGHIJK"}, "admite 10 como máximo"},
            {{"--oficina", ".."}, "--oficina: El código de oficina \"..\" solo puede tener letras y cifras."},
            {{"--oficina", "01/02"}, "solo puede tener letras y cifras"}};
        for (const auto& [args, why] : wrong) {
            QCOMPARE(run(QStringList{refused} + args), 2);
            const QString err = QString::fromUtf8(p.readAllStandardError());
            QVERIFY2(err.contains(why), qPrintable(err));
            QVERIFY(!QFileInfo::exists(refused));
        }
    }

    // A real agency's installation holds its own facts, or none: never the demo agency's.
    void withoutDemoNoDemoFactIsWritten() {
        QTemporaryDir dir;
        QProcess p;
        const QString vacia = dir.filePath("vacia"), propia = dir.filePath("propia");
        p.start(installer(), {vacia, "--oficina", "07"});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        const orb::InstallationFacts demo = orb::install::demoFacts();
        QStringList ini;
        {
            QFile f(QDir(vacia).filePath("Orbalia.ini"));
            QVERIFY(f.open(QIODevice::ReadOnly));
            ini = QString::fromUtf8(f.readAll()).split('\n');
        }
        for (const QString& demoFact :
             {demo.NombreAgencia, demo.CodigoAgenciaWeb, demo.RedAgencias, QString("Fuengirola")})
            for (const QString& line : ini)
                QVERIFY2(!line.contains(demoFact), qPrintable(line));
        const orb::InstallationFacts f = orb::LeerDatosInstalacion(vacia);
        QCOMPARE(f.CodigoOficina, "07");
        QCOMPARE(f.NombreAgencia, QString());
        QCOMPARE(f.CodigoAgenciaWeb, QString());
        QCOMPARE(f.RedAgencias, QString());
        QCOMPARE(f.PieDossier, QString());
        // No exchange account of the demo either.
        QCOMPARE(QDir(vacia).entryList({"rsync_*"}), QStringList());
        auto d = db::Database::open(QDir(vacia).filePath("Orbalia.db"));
        QCOMPARE(count(*d, "SELECT count(*) FROM Config WHERE Grupo = 'SINC' AND Variable = 'FTPUSUARIO' "
                           "AND Valor <> ''"),
                 0);
        QCOMPARE(count(*d, "SELECT count(*) FROM Propiedades"), 0);

        // Given on the command line, they are written as typed; a chosen logo is the file's picture.
        QImage rojo(320, 200, QImage::Format_RGB32);
        rojo.fill(Qt::red);
        const QString png = dir.filePath("logo.png");
        QVERIFY(rojo.save(png));
        p.start(installer(), {propia, "--agencia", "Pisos Ana", "--oficina", "A1", "--web", "PANA", "--red",
                              "A1,B2", "--pie", "Calle Mayor, 3 · Soria", "--logo", png});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        const orb::InstallationFacts g = orb::LeerDatosInstalacion(propia);
        QCOMPARE(g.NombreAgencia, "Pisos Ana");
        QCOMPARE(g.CodigoAgenciaWeb, "PANA");
        QCOMPARE(g.RedAgencias, "A1,B2");
        QCOMPARE(g.PieDossier, "Calle Mayor, 3 · Soria");
        QImageReader logo(QDir(propia).filePath("Logo800.jpg"));
        QCOMPARE(logo.format(), QByteArray("jpeg"));
        const QImage leido = logo.read();
        QCOMPARE(leido.size(), QSize(320, 200));
        QVERIFY(qRed(leido.pixel(160, 100)) > 240 && qGreen(leido.pixel(160, 100)) < 20);
    }

    // A new folder appears whole or not at all.
    void aFailedNewInstallationLeavesNothing() {
        QTemporaryDir dir;
        auto o = demo(2);
        o.dossierLogo = dir.filePath("no-existe.jpg"); // the last thing laid out
        const QString destino = dir.filePath("nueva");
        QString error;
        try {
            orb::install::createNewInstallation(destino, o);
        } catch (const std::runtime_error& e) {
            error = QString::fromStdString(e.what());
        }
        QVERIFY2(error.startsWith("No se puede leer la imagen"), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestInstaller)
#include "tst_installer.moc"
