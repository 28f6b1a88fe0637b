#include "platform/db/Database.h"
#include "platform/widgets/DialogService.h"
#include "shell/AppContext.h"
#include "shell/DatabaseSession.h"
#include "shell/Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orb;

namespace {

// A context on a temporary folder, database not yet opened.
struct Session {
    QTemporaryDir dir;
    ui::ScriptedDialogService dialogs;
    AppContext ctx;

    Session() {
        ctx.RutaAplicacion = dir.path() + u'/';
        ctx.RutaBaseDatos = ctx.RutaAplicacion + "Orbalia.db";
        ctx.dialogs = &dialogs;
    }
};

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// Every fact, for one comparison with a readable failure.
QStringList all(const InstallationFacts& f) {
    return {f.NombreAgencia, f.OficinaPrincipal ? "principal" : "secundaria",
            f.CodigoOficina, f.CodigoAgenciaWeb,
            f.RedAgencias,   QString::number(f.ModelosDossier),
            f.PieDossier};
}

} // namespace

class TestDatabaseSession : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unopenableDatabaseIsReported_data() {
        QTest::addColumn<bool>("emptyPath");
        QTest::addColumn<QByteArray>("content"); // of the file there; none when empty
        QTest::addColumn<QString>("cause");      // second line; %1 is the path
        QTest::newRow("missing file") << false << QByteArray() << "No se encuentra el archivo %1.";
        QTest::newRow("empty path") << true << QByteArray() << "No se ha indicado la base de datos.";
        QTest::newRow("not a database")
            << false
            << QByteArray("Esto no es una base de datos, es un texto bastante largo para ocupar la cabecera.")
            << "El archivo no es una base de datos de Orbalia o está dañado.";
    }
    void unopenableDatabaseIsReported() {
        QFETCH(bool, emptyPath);
        QFETCH(QByteArray, content);
        QFETCH(QString, cause);
        Session s;
        if (emptyPath)
            s.ctx.RutaBaseDatos.clear();
        if (!content.isEmpty())
            writeFile(s.ctx.RutaBaseDatos, content);
        QVERIFY(!AbrirBaseDatos(s.ctx));
        QVERIFY(!s.ctx.BaseDatosAgencia);
        QCOMPARE(s.dialogs.boxes().size(), 1);
        const auto& box = s.dialogs.boxes().first();
        // The fixed first line, then the cause in plain words; never the engine's text.
        QCOMPARE(box.text, "Error al abrir la base de datos [" + s.ctx.RutaBaseDatos + "]\n" +
                               cause.arg(s.ctx.RutaBaseDatos));
        QCOMPARE(box.title, "Error");
        QCOMPARE(box.icon, ui::DialogService::Icon::Critical);
        // Nothing created, nothing overwritten.
        QCOMPARE(QDir(s.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 content.isEmpty() ? QStringList() : QStringList{"Orbalia.db"});
        if (!content.isEmpty()) {
            QFile f(s.ctx.RutaBaseDatos);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);
        }
    }

    void versionIsReadAndLeftUnchanged_data() {
        QTest::addColumn<int>("version");
        QTest::newRow("fresh") << 0;
        QTest::newRow("current") << 10;
    }
    void versionIsReadAndLeftUnchanged() {
        QFETCH(int, version);
        Session s;
        QCOMPARE(LeerVersionBD(s.ctx), -1); // nothing open yet
        {
            auto database = db::Database::open(s.ctx.RutaBaseDatos, {.create = true});
            database->execute("CREATE TABLE Config (Grupo TEXT, Variable TEXT, Valor TEXT)");
            database->setUserVersion(version);
        }
        QVERIFY(AbrirBaseDatos(s.ctx));
        QVERIFY(s.dialogs.boxes().isEmpty());
        QCOMPARE(LeerVersionBD(s.ctx), version);
        s.ctx.db().execute("INSERT INTO Config VALUES ('WEB', 'TIPO', '0')"); // open for writing
        s.ctx.BaseDatosAgencia.reset();
        QCOMPARE(db::Database::open(s.ctx.RutaBaseDatos, {.readOnly = true})->userVersion(), version);
    }

    // The record windows' controllers open the file by its path
    // (Database::shared): they get the context's own connection, so what a
    // window writes on either falls inside the confirm's transaction, and is
    // rolled back with it.
    void controllersShareTheContextsConnection() {
        Session s;
        {
            auto database = db::Database::open(s.ctx.RutaBaseDatos, {.create = true});
            database->execute("CREATE TABLE Config (Grupo TEXT, Variable TEXT, Valor TEXT)");
        }
        QVERIFY(AbrirBaseDatos(s.ctx));
        const QString otroNombre = s.dir.path() + "/./Orbalia.db";
        const std::shared_ptr<db::Database> delControlador = db::Database::shared(otroNombre);
        QCOMPARE(delControlador.get(), s.ctx.BaseDatosAgencia.get());
        {
            db::Transaction confirmacion(*delControlador);
            s.ctx.db().execute("INSERT INTO Config VALUES ('WEB', 'TIPO', '1')");
            QVERIFY(s.ctx.db().inTransaction());
            // The confirm fails: its rollback takes the context's write too.
        }
        QCOMPARE(s.ctx.db().scalar("SELECT count(*) FROM Config").toInt(), 0);
        // Closed when the last holder lets it go; opened again afterwards.
        s.ctx.BaseDatosAgencia.reset();
        QVERIFY(AbrirBaseDatos(s.ctx));
        QCOMPARE(s.ctx.BaseDatosAgencia.get(), delControlador.get());
    }

    // Written and read back, or typed by hand in a UTF-8 editor; what is missing or unreadable
    // keeps its default.
    void factsWrittenOrTypedByHand() {
        QTemporaryDir dir;
        const QString ini = QDir(dir.path()).filePath(IniFileName);
        QCOMPARE(all(LeerDatosInstalacion(dir.path())), all(InstallationFacts{}));
        QVERIFY(!QFile::exists(ini));

        InstallationFacts facts;
        facts.NombreAgencia = "Inmobiliaria Peña & Muñoz «Costa del Sol»";
        facts.OficinaPrincipal = false;
        facts.CodigoOficina = "Ñ";
        facts.CodigoAgenciaWeb = "agencia-42";
        facts.RedAgencias = "AÑB";
        facts.ModelosDossier = 3;
        facts.PieDossier = "C/ Málaga, 5 · Marbella; teléfono 952 000 000 = 100% atención";
        QVERIFY(GuardarDatosInstalacion(dir.path(), facts));
        QCOMPARE(all(LeerDatosInstalacion(dir.path() + u'/')), all(facts));

        // Rewriting replaces every fact, the principal flag included.
        facts.OficinaPrincipal = true;
        facts.ModelosDossier = 0;
        QVERIFY(GuardarDatosInstalacion(dir.path(), facts));
        QCOMPARE(all(LeerDatosInstalacion(dir.path())), all(facts));

        writeFile(ini, "[Instalacion]\n"
                       "NombreAgencia=Inmobiliaria Peña Álvarez\n"
                       "OficinaPrincipal=false\n"
                       "CodigoOficina=B\n"
                       "ModelosDossier=2\n"
                       "PieDossier=Avda. de Andalucía, 12, Málaga\n");
        InstallationFacts expected;
        expected.NombreAgencia = "Inmobiliaria Peña Álvarez";
        expected.OficinaPrincipal = false;
        expected.CodigoOficina = "B";
        expected.ModelosDossier = 2;
        expected.PieDossier = "Avda. de Andalucía, 12, Málaga"; // unquoted commas do not cut the text
        QCOMPARE(all(LeerDatosInstalacion(dir.path())), all(expected));

        writeFile(ini, "[Instalacion]\nOficinaPrincipal=quizá\nModelosDossier=muchos\n");
        QCOMPARE(all(LeerDatosInstalacion(dir.path())), all(InstallationFacts{}));
    }

    void installationFolder() {
        const QByteArray saved = qgetenv("ORBALIA_HOME");
        const bool wasSet = qEnvironmentVariableIsSet("ORBALIA_HOME");
        QTemporaryDir dir;
        for (const QString& home : {dir.path(), dir.path() + u'/'}) {
            qputenv("ORBALIA_HOME", home.toUtf8());
            QCOMPARE(CarpetaInstalacion(), dir.path() + u'/');
        }
        qunsetenv("ORBALIA_HOME");
        // Nothing beside the test executable: the seat's own folder.
        QCOMPARE(CarpetaInstalacion(), CarpetaDelPuesto());
        if (wasSet)
            qputenv("ORBALIA_HOME", saved);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseSession)
#include "tst_databasesession.moc"
