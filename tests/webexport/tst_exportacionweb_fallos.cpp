// What goes wrong in a web export must not take anything off the web site nor
// end the tool without a word: broken photographs, a full disk, values the
// web table refuses. Against the tests' MariaDB and rsync daemon.

#include "DiscoPequeno.h"
#include "WebExportFixture.h"
#include "platform/db/Database.h"
#include "shell/Installation.h"
#include "shell/Log.h"

#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace orb;
using webtest::contents;
using webtest::filesUnder;
using webtest::Run;

namespace {

QString webExportTool() {
    return qEnvironmentVariable("ORBALIA_BIN_DIR", ORBALIA_BINARY_DIR) + "/orbalia-webexport";
}

// A valid JPEG whose entropy data carries stray bytes before its end marker:
// it decodes, and libjpeg warns "Corrupt JPEG data: … extraneous bytes".
QByteArray corruptButReadableJpeg(const QString& from) {
    QByteArray bytes = contents(from);
    const qsizetype end = bytes.lastIndexOf(QByteArray("\xFF\xD9", 2));
    bytes.insert(end, QByteArray("\x12\x34\x56", 3));
    return bytes;
}

// A photograph of noise: its pictures are many times larger than those of a
// plain one, so they cannot take the old pictures' place on a full disk.
void writeNoisyJpeg(const QString& path, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    quint32 x = 12345;
    for (int y = 0; y < size.height(); ++y)
        for (int i = 0; i < size.width(); ++i) {
            x = x * 1664525u + 1013904223u;
            img.setPixel(i, y, x >> 8);
        }
    QVERIFY(img.save(path, "JPEG", 95));
}

struct Tool {
    int exitCode = -1;
    QString out, err;
};

Tool runTool(const QString& home, const QStringList& extra = {"--no-upload"}) {
    QProcess p;
    p.start(webExportTool(), QStringList{"--home", home} + extra);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : 128 + p.exitCode(),
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Texts of the engines that must reach neither the run's log nor the output.
const char* const EngineWords[] = {"Unable to read image data",
                                   "File not found",
                                   "qt.gui.imageio",
                                   "Corrupt JPEG",
                                   "Data too long",
                                   "Out of range",
                                   "Error 1",
                                   "HY000",
                                   "22001",
                                   "database or disk is full",
                                   "terminate called"};

} // namespace

class tst_ExportacionWebFallos : public QObject {
    Q_OBJECT

    std::unique_ptr<mysql::Connection> admin_;

    void clearModule(const testservers::Rsync& rsync, const QString& module) {
        const QString dir = rsync.moduleDir(module);
        for (const QString& old : filesUnder(dir))
            QFile::remove(dir + "/" + old);
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        auto s = testservers::mysqlServer();
        if (s) {
            admin_ = mysql::Connection::connect(s->options);
            webtest::createWebTables(*admin_);
        }
    }

    // A photograph damaged after it was published: the site keeps its
    // picture and thumbnail; a killed run's half-written picture never goes.
    void unreadablePhotoKeepsThePublishedPicture() {
        ORB_REQUIRE_MYSQL(server);
        ORB_REQUIRE_RSYNC(rsync);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        IniciarLog(f.inst.path());
        clearModule(rsync, "xwebCSOL");
        const QString module = rsync.moduleDir("xwebCSOL") + "/";
        webtest::writeJpeg(f.foto("B00006-1.jpg"));
        webtest::writeJpeg(f.foto("B00006-2.jpg"), {800, 600});
        f.property(false, 6, {{"Foto1", "B00006-1.jpg"}, {"Foto2", "B00006-2.jpg"}});
        f.property(false, 7, {{"Foto1", "B00006-2.jpg"}});
        Run first(f.ctx);
        QVERIFY2(first.exp.ejecutar(true), qPrintable(first.text()));
        const QByteArray web = contents(module + "RCSOL-00006-1.jpg");
        const QByteArray thumb = contents(module + "thumbs/RCSOL-00006-1.jpg");
        QVERIFY(!web.isEmpty() && !thumb.isEmpty());

        webtest::writeBytes(f.foto("B00006-1.jpg"), QByteArray("\xFF\xD8\xFF\xE0 ya no es una foto", 24));
        webtest::writeBytes(f.ctx.RutaWeb + ".RCSOL-00006-2.jpg.tmp", "a medias");
        // Property 7 is sold: its pictures still leave the site.
        f.ctx.db().execute("UPDATE Propiedades SET Estado = 'Vendida' WHERE QuickID = 7");
        Run second(f.ctx);
        QVERIFY2(second.exp.ejecutar(true), qPrintable(second.text()));
        QCOMPARE(second.log.last(), QString("Subida finalizada."));
        QCOMPARE(second.log.filter("No se ha podido procesar"),
                 QStringList{"- No se ha podido procesar la foto B00006-1.jpg de la propiedad B00006: el "
                             "archivo está dañado o no es una imagen. Se mantiene la foto publicada antes."});
        QCOMPARE(filesUnder(module), QStringList({"RCSOL-00006-1.jpg", "RCSOL-00006-2.jpg",
                                                  "thumbs/RCSOL-00006-1.jpg", "thumbs/RCSOL-00006-2.jpg"}));
        QCOMPARE(contents(module + "RCSOL-00006-1.jpg"), web);
        QCOMPARE(contents(module + "thumbs/RCSOL-00006-1.jpg"), thumb);
        for (const char* motor : EngineWords)
            QVERIFY2(!second.text().contains(QLatin1String(motor)), motor);
        // The decoder's own words are kept for support, beside the photograph's name.
        const QString log = QString::fromUtf8(contents(RutaLog()));
        QVERIFY2(log.contains("foto B00006-1.jpg de la propiedad B00006"), qPrintable(log));
    }

    // The web folder on a disk that fills up before the new pictures are
    // written: the old ones stay, locally and on the site, with no leftovers.
    void fullDiskKeepsThePublishedPictures() {
        ORB_REQUIRE_MYSQL(server);
        ORB_REQUIRE_RSYNC(rsync);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        ORB_REQUIRE_SMALL_DISK(disco, f.ctx.RutaWeb, 1024 * 1024);
        clearModule(rsync, "xwebCSOL");
        const QString module = rsync.moduleDir("xwebCSOL") + "/";
        webtest::writeJpeg(f.foto("a.jpg"), {800, 600});
        f.property(false, 6, {{"Foto1", "a.jpg"}});
        f.property(true, 8, {{"Foto3", "a.jpg"}});
        Run first(f.ctx);
        QVERIFY2(first.exp.ejecutar(true), qPrintable(first.text()));
        const QStringList published = filesUnder(module);
        QCOMPARE(published.size(), 4);
        QHash<QString, QByteArray> before;
        for (const QString& p : published)
            before[p] = contents(module + p);

        // A new photograph: its pictures differ in size, so rsync would send them.
        writeNoisyJpeg(f.foto("a.jpg"), {800, 600});
        disco.llenar();
        Run second(f.ctx);
        QVERIFY2(second.exp.ejecutar(true), qPrintable(second.text()));
        QCOMPARE(
            second.log.filter("No se ha podido procesar"),
            QStringList({"- No se ha podido procesar la foto a.jpg de la propiedad B00006: el disco está "
                         "lleno. Se mantiene la foto publicada antes.",
                         "- No se ha podido procesar la foto a.jpg de la propiedad B00008: el disco está "
                         "lleno. Se mantiene la foto publicada antes."}));
        QCOMPARE(filesUnder(f.ctx.RutaWeb), published);
        QCOMPARE(filesUnder(module), published);
        for (const QString& p : published)
            QCOMPARE(contents(module + p), before[p]);
    }

    // orbalia-webexport on a disk with no room left, settings never stored
    // yet: it reads their defaults without writing, publishes, and says why
    // the picture could not be made.
    void commandLineOnAFullDiskReadsWithoutWriting() {
        ORB_REQUIRE_MYSQL(server);
        QTemporaryDir base;
        const QString home = base.filePath("disco") + "/";
        ORB_REQUIRE_SMALL_DISK(disco, home, 4 * 1024 * 1024);
        install::createInstallation(home, {});
        // Held open, as the program would be: the database's shared-memory
        // file is there already, so only a write needs space.
        AppContext ctx;
        ctx.PonerCarpeta(home);
        ctx.facts = LeerDatosInstalacion(home);
        ctx.BaseDatosAgencia = db::Database::open(ctx.RutaBaseDatos);
        ctx.facts.CodigoOficina = "B";
        ctx.facts.CodigoAgenciaWeb = "CSOL";
        QVERIFY(GuardarDatosInstalacion(home, ctx.facts));
        ctx.db().execute("DELETE FROM Config WHERE Grupo = 'WEB'");
        GuardarConfig(ctx.db(), "WEB", "SERVIDOR",
                      QString("%1:%2").arg(server.options.host).arg(server.options.port));
        GuardarConfig(ctx.db(), "WEB", "BASEDATOS", server.options.database);
        GuardarConfig(ctx.db(), "WEB", "USUARIO", server.options.user);
        GuardarConfig(ctx.db(), "WEB", "PASSWORD", server.options.password);
        webtest::writeJpeg(ctx.RutaFotos + "a.jpg", {800, 600});
        ctx.db().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, ExportacionWeb, Foto1) "
            "VALUES ('B00001', 'B', 1, 0, 'En Venta', 1, 'a.jpg')");
        const int settings = ctx.db().scalar("SELECT COUNT(*) FROM Config").toInt();
        disco.llenar();

        const Tool run = runTool(home);
        disco.vaciar();
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(
            run.out.contains("- No se ha podido procesar la foto a.jpg de la propiedad B00001: el disco está "
                             "lleno. La propiedad se publica sin ella."),
            qPrintable(run.out));
        QVERIFY2(run.out.endsWith("Exportación finalizada.\n"), qPrintable(run.out));
        QCOMPARE(admin_->scalar("SELECT ident FROM webproperties WHERE agency = 'CSOL'").toString(),
                 QString("RCSOL-00001"));
        // The missing sizes were read as their defaults, and not stored.
        QCOMPARE(ctx.db().scalar("SELECT COUNT(*) FROM Config").toInt(), settings);
        for (const char* motor : EngineWords)
            QVERIFY2(!run.out.contains(QLatin1String(motor)), motor);
    }

    // An error nobody expected (no Config table at all) ends the tool with
    // one plain line and the engine's words in Orbalia.log, never an abort.
    void commandLineEndsWithAPlainLineOnAnUnexpectedError() {
        webtest::Fixture f;
        const bool servidor = f.ctx.db().onServer();
        f.ctx.db().execute("DROP TABLE Config");
        f.ctx.BaseDatosAgencia.reset();
        const Tool run = runTool(f.inst.path());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err.trimmed(),
                 QString("Error: Error interno; los detalles se han guardado en Orbalia.log."));
        QVERIFY(contents(f.inst.file("Orbalia.log"))
                    .contains(servidor ? "relation \"config\" does not exist" : "no such table: Config"));
    }

    // A web table narrower than the agency's fields refuses one property of
    // a batch: the log names it and the field, the site keeps its listing.
    void refusedValueNamesThePropertyAndField_data() {
        QTest::addColumn<QString>("alter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("too long")
            << "MODIFY typees VARCHAR(5)"
            << "La propiedad B00002 no se puede publicar: el dato Tipos.Nombre (columna "
               "typees) es más largo de lo que admite la tabla webproperties del web.";
        QTest::newRow("out of range")
            << "MODIFY bedrooms TINYINT"
            << "La propiedad B00002 no se puede publicar: el dato "
               "Propiedades.Dormitorios (columna bedrooms) es mayor de lo que admite "
               "la tabla webproperties del web.";
    }
    void refusedValueNamesThePropertyAndField() {
        QFETCH(QString, alter);
        QFETCH(QString, expected);
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        IniciarLog(f.inst.path());
        f.catalogues();
        f.ctx.db().execute("INSERT INTO Tipos (Cod, Nombre) VALUES (902, 'Casa adosada')");
        f.property(false, 1, {{"CodTipo", 901}, {"Dormitorios", 2}});
        f.property(false, 2, {{"CodTipo", 902}, {"Dormitorios", 300}});
        f.property(false, 3, {{"CodTipo", 901}, {"Dormitorios", 4}});
        admin_->execute("ALTER TABLE webproperties " + alter);
        admin_->execute("INSERT INTO webproperties (ident, agency) VALUES ('RCSOL-00099', 'CSOL')");
        Run run(f.ctx);
        QVERIFY(!run.exp.ejecutar(true));
        QVERIFY2(run.log.contains(expected), qPrintable(run.text()));
        QVERIFY(run.log.contains("La exportación no se ha completado: el web conserva el listado anterior."));
        for (const char* motor : EngineWords)
            QVERIFY2(!run.text().contains(QLatin1String(motor)), motor);
        QCOMPARE(admin_->scalar("SELECT GROUP_CONCAT(ident) FROM webproperties").toString(),
                 QString("RCSOL-00099"));
        QVERIFY(contents(RutaLog()).contains("for column"));
    }

    // Qt's decoder warnings about a damaged but readable JPEG go to Orbalia.log.
    void decoderWarningsStayOutOfTheOutput() {
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        QVERIFY(GuardarDatosInstalacion(f.inst.path(), f.ctx.facts));
        webtest::writeJpeg(f.foto("sana.jpg"), {800, 600});
        webtest::writeBytes(f.foto("rara.jpg"), corruptButReadableJpeg(f.foto("sana.jpg")));
        f.property(false, 1, {{"Foto1", "rara.jpg"}});
        const Tool run = runTool(f.inst.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("- Procesando foto rara.jpg"), qPrintable(run.out));
        for (const char* motor : EngineWords) {
            QVERIFY2(!run.out.contains(QLatin1String(motor)), motor);
            QVERIFY2(!run.err.contains(QLatin1String(motor)), qPrintable(run.err));
        }
        QVERIFY(contents(f.inst.file("Orbalia.log")).contains("Corrupt JPEG data"));
    }
};

QTEST_MAIN(tst_ExportacionWebFallos)
#include "tst_exportacionweb_fallos.moc"
