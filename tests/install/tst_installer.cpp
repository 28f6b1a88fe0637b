// The installation folder as the program, the upgrader and the exchange find it.

#include "TestInstallation.h"
#include "install/Installer.h"
#include "platform/db/Database.h"
#include "shell/Installation.h"

#include <QCryptographicHash>
#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
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

int count(db::Database& d, const QString& sql, const db::Params& params = {}) {
    return d.scalar(sql, params).toInt();
}

QString setting(db::Database& d, const char* grupo, const char* variable) {
    return d
        .scalar(QStringLiteral("SELECT Valor FROM Config WHERE Grupo = ? AND Variable = ?"),
                {QString::fromLatin1(grupo), QString::fromLatin1(variable)})
        .toString();
}

// Every row of a table as text, for comparing two installations.
QStringList dump(db::Database& d, const QString& table) {
    QStringList lines;
    for (const db::Row& r : d.query(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table))) {
        QStringList cells;
        for (const db::Value& v : r)
            cells << (db::isNull(v) ? QStringLiteral("<null>") : v.toString());
        lines << cells.join(u'|');
    }
    return lines;
}

QByteArray sha1Of(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

QString installer() {
    QString dir = qEnvironmentVariable("ORBALIA_BIN_DIR");
    if (dir.isEmpty())
        dir = QStringLiteral(ORBALIA_BINARY_DIR);
    return QDir(dir).filePath(QStringLiteral("orbalia-install"));
}

} // namespace

class TestInstaller : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layoutOfAnEmptyInstallation() {
        TestInstallation inst;
        for (const char* folder : {"Fotos", "Web", "Web/thumbs", "Exchange"}) {
            QVERIFY2(QFileInfo(inst.file(QLatin1String(folder))).isDir(), folder);
            QVERIFY2(QDir(inst.file(QLatin1String(folder)))
                         .entryList(QDir::Files | QDir::NoDotAndDotDot)
                         .isEmpty(),
                     folder);
        }
        for (const char* file :
             {"Orbalia.ini", "Orbalia.db", "ExportSchema.db", "Logo800.jpg", "DossierLogo.jpg"})
            QVERIFY2(QFileInfo(inst.file(QLatin1String(file))).isFile(), file);

        auto& ctx = inst.context();
        QCOMPARE(ctx.VersionBD, 10);
        for (const char* t :
             {"Propiedades", "Propietarios", "Clientes", "Tipos", "Localidades", "Areas", "Actividades"})
            QCOMPARE(count(ctx.db(), QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(t))), 0);

        auto exchange = db::Database::open(inst.file(QStringLiteral("ExportSchema.db")), {.durable = false});
        QVERIFY(exchange->tableExists(QStringLiteral("Propiedades")));
        QVERIFY(!exchange->tableExists(QStringLiteral("Config")));
        // The template is copied as a plain file: it must not depend on a journal beside it.
        QCOMPARE(exchange->scalar(QStringLiteral("PRAGMA journal_mode")).toString(),
                 QStringLiteral("delete"));
    }

    void logosAreRealPictures() {
        TestInstallation inst(demo(0));
        QImageReader logo(inst.file(QStringLiteral("Logo800.jpg")));
        QCOMPARE(logo.format(), QByteArray("jpeg"));
        QCOMPARE(logo.size(), QSize(800, 600));
        const QImage background = logo.read();
        QVERIFY(!background.isNull());
        // A gradient, not a flat fill.
        QVERIFY(background.pixel(400, 5) != background.pixel(400, 595));
        QImageReader dossier(inst.file(QStringLiteral("DossierLogo.jpg")));
        QCOMPARE(dossier.format(), QByteArray("jpeg"));
        QVERIFY(!dossier.read().isNull());
    }

    void installationFactsAreWritten() {
        TestInstallation inst(demo(0));
        const orb::InstallationFacts f = orb::LeerDatosInstalacion(inst.path());
        QCOMPARE(f.NombreAgencia, QStringLiteral("Inmobiliaria Costa del Sol"));
        QCOMPARE(f.OficinaPrincipal, true);
        QCOMPARE(f.CodigoOficina, QStringLiteral("01"));
        QCOMPARE(f.CodigoAgenciaWeb, QStringLiteral("CSOL"));
        QCOMPARE(f.RedAgencias, QStringLiteral("12"));
        QCOMPARE(f.ModelosDossier, 1);
        QVERIFY(f.PieDossier.contains(QStringLiteral("Málaga")));
    }

    void sampleExchangeScriptCopiesNothing() {
        TestInstallation inst;
        const QString script = inst.file(QStringLiteral("rsync_ejemplo.sh"));
        QVERIFY(QFileInfo(script).isExecutable());
        QDir(inst.path()).mkpath(QStringLiteral("origen"));
        QFile marker(inst.file(QStringLiteral("origen/Export.db")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        QProcess p;
        p.start(script, {inst.file(QStringLiteral("origen/")), inst.file(QStringLiteral("destino/"))});
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(p.exitCode() != 0); // an unconfigured script must not look like a transfer
        QVERIFY(!p.readAllStandardError().isEmpty());
        QVERIFY(!QFileInfo::exists(inst.file(QStringLiteral("destino"))));
    }

    void withoutDatabase() {
        orb::install::InstallOptions o;
        o.createDatabase = false;
        TestInstallation inst(o);
        QVERIFY(!QFileInfo::exists(inst.file(QStringLiteral("Orbalia.db"))));
        QVERIFY(QFileInfo(inst.file(QStringLiteral("ExportSchema.db"))).isFile());
        QVERIFY(QFileInfo(inst.file(QStringLiteral("Fotos"))).isDir());
    }

    void demoHasBothSidesAndTheCoast() {
        TestInstallation inst(demo(30));
        db::Database& d = inst.context().db();
        QCOMPARE(count(d, QStringLiteral("SELECT count(*) FROM Propiedades")), 30);
        for (const char* t : {"Propiedades", "Propietarios", "Clientes"}) {
            QVERIFY2(
                count(d, QStringLiteral("SELECT count(*) FROM %1 WHERE Alquiler").arg(QLatin1String(t))) > 0,
                t);
            QVERIFY2(
                count(d, QStringLiteral("SELECT count(*) FROM %1 WHERE NOT Alquiler").arg(QLatin1String(t))) >
                    0,
                t);
            // Every record belongs to this office and carries its code.
            QCOMPARE(count(d, QStringLiteral("SELECT count(*) FROM %1 WHERE Agencia <> '01' OR "
                                             "Cod <> Agencia || printf('%05d', QuickID)")
                                  .arg(QLatin1String(t))),
                     0);
        }
        for (const char* name : {"Málaga", "Marbella", "Benalmádena", "Fuengirola", "Torremolinos",
                                 "Estepona", "Mijas", "Nerja", "Ronda", "Manilva"}) {
            QVERIFY2(count(d, QStringLiteral("SELECT count(*) FROM Localidades WHERE Nombre = ?"),
                           {QString::fromUtf8(name)}) == 1,
                     name);
            QVERIFY2(count(d,
                           QStringLiteral(
                               "SELECT count(*) FROM Areas a JOIN Localidades l ON l.Cod = a.CodLocalidad "
                               "WHERE l.Nombre = ?"),
                           {QString::fromUtf8(name)}) >= 2,
                     name);
        }
        QCOMPARE(
            d.query(QStringLiteral("SELECT NombreIdioma1, NombreIdioma2 FROM Tipos WHERE Nombre = 'Ático'"))
                .value(0),
            (db::Row{QStringLiteral("Penthouse"), QStringLiteral("Attique")}));
        QCOMPARE(
            count(d, QStringLiteral(
                         "SELECT count(*) FROM Tipos WHERE NombreIdioma1 IS NULL OR NombreIdioma2 IS NULL")),
            0);
        // Names with apostrophes, on owners and clients.
        QVERIFY(count(d, QStringLiteral("SELECT count(*) FROM Propietarios WHERE Nombre LIKE ?"),
                      {QStringLiteral("%'%")}) > 0);
        QVERIFY(count(d, QStringLiteral("SELECT count(*) FROM Clientes WHERE Nombre LIKE ?"),
                      {QStringLiteral("%'%")}) > 0);
        // Each property has an owner of its own side, and a state of its side.
        QCOMPARE(count(d, QStringLiteral(
                              "SELECT count(*) FROM Propiedades p LEFT JOIN Propietarios o "
                              "ON o.Cod = p.CodPropietario WHERE o.Cod IS NULL OR o.Alquiler <> p.Alquiler")),
                 0);
        QCOMPARE(count(d, QStringLiteral("SELECT count(*) FROM Propiedades WHERE (Alquiler AND Estado NOT IN "
                                         "('Libre', 'Alquilada')) OR (NOT Alquiler AND Estado NOT IN "
                                         "('En Venta', 'Vendida', 'Stand By'))")),
                 0);
        // Areas belong to the property's locality.
        QCOMPARE(
            count(d, QStringLiteral("SELECT count(*) FROM Propiedades p JOIN Areas a ON a.Cod = p.CodArea "
                                    "WHERE a.CodLocalidad <> p.CodLocalidad")),
            0);
        QCOMPARE(count(d, QStringLiteral("SELECT count(*) FROM busquedapropiedades")), 30);
        // Activities refer to demo properties, with dates.
        QVERIFY(count(d, QStringLiteral("SELECT count(*) FROM Actividades")) > 0);
        QCOMPARE(count(d, QStringLiteral("SELECT count(*) FROM Actividades a LEFT JOIN Propiedades p "
                                         "ON p.Cod = a.Propiedad WHERE p.Cod IS NULL OR a.Fecha IS NULL")),
                 0);
    }

    void countersContinueTheSeries() {
        TestInstallation inst(demo(20));
        db::Database& d = inst.context().db();
        const QList<QPair<const char*, const char*>> counters = {
            {"PROPIEDADES", "SELECT max(QuickID) FROM Propiedades"},
            {"PROPIETARIOS", "SELECT max(QuickID) FROM Propietarios"},
            {"CLIENTES", "SELECT max(QuickID) FROM Clientes"},
            {"TIPOS", "SELECT max(Cod) FROM Tipos"},
            {"LOCALIDADES", "SELECT max(Cod) FROM Localidades"},
            {"AREAS", "SELECT max(Cod) FROM Areas"}};
        for (const auto& [variable, sql] : counters)
            QCOMPARE(setting(d, "CONTADORES", variable), d.scalar(QLatin1String(sql)).toString());
        QCOMPARE(setting(d, "CONTADORES", "PROPIEDADES"), QStringLiteral("20"));
        QCOMPARE(setting(d, "CODIGOS", "MASCARA"), QStringLiteral("00000"));
    }

    void demoPhotographsAreRealJpegs() {
        TestInstallation inst(demo(12));
        db::Database& d = inst.context().db();
        QSet<QString> named;
        for (const db::Row& r : d.query(
                 QStringLiteral("SELECT Cod, Foto1, Foto2, Foto3, Foto4, Foto5, Foto6 FROM Propiedades"))) {
            const QString cod = r[0].toString();
            QVERIFY2(!db::isNull(r[1]), qPrintable(cod)); // every demo property has a photograph
            for (int slot = 1; slot <= 6; ++slot) {
                if (db::isNull(r[slot]))
                    continue;
                QVERIFY2(slot <= 3, qPrintable(cod));
                const QString name = r[slot].toString();
                QCOMPARE(name, QStringLiteral("%1-%2.jpg").arg(cod).arg(slot));
                const QString path = inst.file(QStringLiteral("Fotos/") + name);
                QImageReader reader(path);
                QCOMPARE(reader.format(), QByteArray("jpeg"));
                const QImage img = reader.read();
                QVERIFY2(!img.isNull(), qPrintable(path));
                QVERIFY(img.width() >= 200 && img.height() >= 150);
                QVERIFY2(QFileInfo(path).size() < 80 * 1024, qPrintable(path));
                named << name;
            }
        }
        // Nothing in the folder that no property names.
        const QStringList files = QDir(inst.file(QStringLiteral("Fotos"))).entryList(QDir::Files);
        QCOMPARE(QSet<QString>(files.begin(), files.end()), named);
    }

    void demoWithoutPhotographs() {
        TestInstallation inst(demo(10, false));
        db::Database& d = inst.context().db();
        QCOMPARE(count(d, QStringLiteral("SELECT count(*) FROM Propiedades")), 10);
        QCOMPARE(count(d, QStringLiteral("SELECT count(*) FROM Propiedades WHERE Foto1 IS NOT NULL")), 0);
        QVERIFY(QDir(inst.file(QStringLiteral("Fotos"))).entryList(QDir::Files).isEmpty());
    }

    void sameSeedSameInstallation() {
        TestInstallation a(demo(8, true, 99));
        TestInstallation b(demo(8, true, 99));
        TestInstallation c(demo(8, true, 100));
        for (const char* t : {"Propiedades", "Propietarios", "Clientes", "Actividades", "Config"})
            QCOMPARE(dump(a.context().db(), QLatin1String(t)), dump(b.context().db(), QLatin1String(t)));
        QCOMPARE(sha1Of(a.file(QStringLiteral("Fotos/0100001-1.jpg"))),
                 sha1Of(b.file(QStringLiteral("Fotos/0100001-1.jpg"))));
        QVERIFY(dump(a.context().db(), QStringLiteral("Propiedades")) !=
                dump(c.context().db(), QStringLiteral("Propiedades")));
    }

    void installingAgainReplacesTheFiles() {
        QTemporaryDir dir;
        orb::install::createInstallation(dir.path(), demo(5));
        orb::install::createInstallation(dir.path(), demo(0));
        auto d = db::Database::open(dir.filePath(QStringLiteral("Orbalia.db")));
        QCOMPARE(d->userVersion(), 10);
        QCOMPARE(count(*d, QStringLiteral("SELECT count(*) FROM Propiedades")), 0);
    }

    void unusableFolderIsReported() {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("archivo"));
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        bool thrown = false;
        try {
            orb::install::createInstallation(blocker + QStringLiteral("/inst"), demo(1));
        } catch (const std::runtime_error& e) {
            thrown = true;
            QVERIFY(
                QString::fromStdString(e.what()).contains(QStringLiteral("No se puede crear la carpeta")));
        }
        QVERIFY(thrown);
    }

    void commandLineInstaller() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("demo"));
        QProcess p;
        p.start(installer(), {target, QStringLiteral("--demo"), QStringLiteral("6")});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("Instalación creada")));
        QCOMPARE(orb::LeerDatosInstalacion(target).NombreAgencia,
                 QStringLiteral("Inmobiliaria Costa del Sol"));
        auto d = db::Database::open(QDir(target).filePath(QStringLiteral("Orbalia.db")));
        QCOMPARE(count(*d, QStringLiteral("SELECT count(*) FROM Propiedades")), 6);
        QVERIFY(!QDir(QDir(target).filePath(QStringLiteral("Fotos"))).entryList(QDir::Files).isEmpty());

        QProcess bad;
        bad.start(installer(), {target, QStringLiteral("--demo"), QStringLiteral("muchas")});
        QVERIFY(bad.waitForFinished(30000));
        QCOMPARE(bad.exitCode(), 2);
        QVERIFY(QString::fromUtf8(bad.readAllStandardError()).contains(QStringLiteral("Uso:")));
    }
};

QTEST_GUILESS_MAIN(TestInstaller)
#include "tst_installer.moc"
