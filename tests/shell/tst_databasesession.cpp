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
        ctx.RutaBaseDatos = ctx.RutaAplicacion + QStringLiteral("Orbalia.db");
        ctx.dialogs = &dialogs;
    }
    void createDatabase(int version) {
        auto database = db::Database::open(ctx.RutaBaseDatos, {.create = true});
        database->executeScript(QStringLiteral("CREATE TABLE Config (Grupo VARCHAR(50) COLLATE es NOT NULL, "
                                               "Variable VARCHAR(50) COLLATE es NOT NULL, "
                                               "Valor VARCHAR(255) COLLATE es);"));
        if (version != 0)
            database->setUserVersion(version);
    }
};

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestDatabaseSession : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingFileIsReportedAndNotCreated();
    void emptyPathIsReported();
    void fileThatIsNotADatabase();
    void opensExistingDatabase();
    void versionOfFreshDatabaseIsZero();
    void versionIsReadAndLeftUnchanged();
    void versionWithoutDatabase();

    void factsRoundTripWithAccents();
    void factsFromHandWrittenFile();
    void missingFactsKeepDefaults();
    void installationFolder();
};

void TestDatabaseSession::missingFileIsReportedAndNotCreated() {
    Session s;
    QVERIFY(!AbrirBaseDatos(s.ctx));
    QCOMPARE(s.dialogs.boxes().size(), 1);
    const auto& box = s.dialogs.boxes().first();
    QCOMPARE(box.text, QStringLiteral("Error al abrir la base de datos [") + s.ctx.RutaBaseDatos + u']');
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.icon, ui::DialogService::Icon::Critical);
    QCOMPARE(box.buttons, ui::DialogService::Buttons::Ok);
    QVERIFY(!s.ctx.BaseDatosAgencia);
    QVERIFY(!QFile::exists(s.ctx.RutaBaseDatos));
    QCOMPARE(QDir(s.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestDatabaseSession::emptyPathIsReported() {
    Session s;
    s.ctx.RutaBaseDatos.clear();
    QVERIFY(!AbrirBaseDatos(s.ctx));
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("Error al abrir la base de datos []")});
    QVERIFY(!s.ctx.BaseDatosAgencia);
}

void TestDatabaseSession::fileThatIsNotADatabase() {
    Session s;
    const QByteArray text =
        "Esto no es una base de datos, es un texto bastante largo para ocupar la cabecera.";
    writeFile(s.ctx.RutaBaseDatos, text);
    QVERIFY(!AbrirBaseDatos(s.ctx));
    QCOMPARE(s.dialogs.texts(),
             QStringList{QStringLiteral("Error al abrir la base de datos [") + s.ctx.RutaBaseDatos + u']'});
    QFile f(s.ctx.RutaBaseDatos);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), text);
}

void TestDatabaseSession::opensExistingDatabase() {
    Session s;
    s.createDatabase(10);
    QVERIFY(AbrirBaseDatos(s.ctx));
    QVERIFY(s.dialogs.boxes().isEmpty());
    QVERIFY(s.ctx.BaseDatosAgencia);
    // Open read-write: the handle takes writes.
    s.ctx.db().execute(QStringLiteral("INSERT INTO Config VALUES ('WEB', 'TIPO', '0')"));
    QCOMPARE(s.ctx.db().scalar(QStringLiteral("SELECT count(*) FROM Config")).toInt(), 1);
}

void TestDatabaseSession::versionOfFreshDatabaseIsZero() {
    Session s;
    s.createDatabase(0);
    QVERIFY(AbrirBaseDatos(s.ctx));
    QCOMPARE(LeerVersionBD(s.ctx), 0);
    QVERIFY(LeerVersionBD(s.ctx) < VersionRequerida);
}

void TestDatabaseSession::versionIsReadAndLeftUnchanged() {
    Session s;
    s.createDatabase(10);
    QVERIFY(AbrirBaseDatos(s.ctx));
    QCOMPARE(LeerVersionBD(s.ctx), 10);
    QCOMPARE(LeerVersionBD(s.ctx), VersionRequerida);
    s.ctx.BaseDatosAgencia.reset();
    auto again = db::Database::open(s.ctx.RutaBaseDatos, {.readOnly = true});
    QCOMPARE(again->userVersion(), 10);
}

void TestDatabaseSession::versionWithoutDatabase() {
    Session s;
    QCOMPARE(LeerVersionBD(s.ctx), -1);
}

void TestDatabaseSession::factsRoundTripWithAccents() {
    QTemporaryDir dir;
    InstallationFacts facts;
    facts.NombreAgencia = QStringLiteral("Inmobiliaria Peña & Muñoz «Costa del Sol»");
    facts.OficinaPrincipal = false;
    facts.CodigoOficina = QStringLiteral("Ñ");
    facts.CodigoAgenciaWeb = QStringLiteral("agencia-42");
    facts.RedAgencias = QStringLiteral("AÑB");
    facts.ModelosDossier = 3;
    facts.PieDossier = QStringLiteral("C/ Málaga, 5 · Marbella; teléfono 952 000 000 = 100% atención");
    QVERIFY(GuardarDatosInstalacion(dir.path(), facts));

    const InstallationFacts read = LeerDatosInstalacion(dir.path() + u'/');
    QCOMPARE(read.NombreAgencia, facts.NombreAgencia);
    QCOMPARE(read.OficinaPrincipal, false);
    QCOMPARE(read.CodigoOficina, facts.CodigoOficina);
    QCOMPARE(read.CodigoAgenciaWeb, facts.CodigoAgenciaWeb);
    QCOMPARE(read.RedAgencias, facts.RedAgencias);
    QCOMPARE(read.ModelosDossier, 3);
    QCOMPARE(read.PieDossier, facts.PieDossier);

    // Rewriting replaces every fact, the principal flag included.
    facts.OficinaPrincipal = true;
    facts.ModelosDossier = 0;
    QVERIFY(GuardarDatosInstalacion(dir.path(), facts));
    QCOMPARE(LeerDatosInstalacion(dir.path()).OficinaPrincipal, true);
    QCOMPARE(LeerDatosInstalacion(dir.path()).ModelosDossier, 0);
}

// An Orbalia.ini typed by hand in a UTF-8 editor.
void TestDatabaseSession::factsFromHandWrittenFile() {
    QTemporaryDir dir;
    writeFile(QDir(dir.path()).filePath(QLatin1String(IniFileName)),
              "[Instalacion]\n"
              "NombreAgencia=Inmobiliaria Peña Álvarez\n"
              "OficinaPrincipal=false\n"
              "CodigoOficina=B\n"
              "RedAgencias=ABC\n"
              "ModelosDossier=2\n"
              "PieDossier=Avda. de Andalucía, 12, Málaga\n");
    const InstallationFacts read = LeerDatosInstalacion(dir.path());
    QCOMPARE(read.NombreAgencia, QStringLiteral("Inmobiliaria Peña Álvarez"));
    QCOMPARE(read.OficinaPrincipal, false);
    QCOMPARE(read.CodigoOficina, QStringLiteral("B"));
    QCOMPARE(read.CodigoAgenciaWeb, QString());
    QCOMPARE(read.RedAgencias, QStringLiteral("ABC"));
    QCOMPARE(read.ModelosDossier, 2);
    // Unquoted commas do not cut the text.
    QCOMPARE(read.PieDossier, QStringLiteral("Avda. de Andalucía, 12, Málaga"));
}

void TestDatabaseSession::missingFactsKeepDefaults() {
    QTemporaryDir dir;
    InstallationFacts none = LeerDatosInstalacion(dir.path());
    QCOMPARE(none.OficinaPrincipal, true);
    QCOMPARE(none.CodigoOficina, QString());
    QCOMPARE(none.ModelosDossier, 0);
    QVERIFY(!QFile::exists(QDir(dir.path()).filePath(QLatin1String(IniFileName))));

    writeFile(QDir(dir.path()).filePath(QLatin1String(IniFileName)),
              "[Instalacion]\nNombreAgencia=Sur\nOficinaPrincipal=quizá\nModelosDossier=muchos\n");
    const InstallationFacts some = LeerDatosInstalacion(dir.path());
    QCOMPARE(some.NombreAgencia, QStringLiteral("Sur"));
    QCOMPARE(some.OficinaPrincipal, true);
    QCOMPARE(some.ModelosDossier, 0);
    QCOMPARE(some.PieDossier, QString());
}

void TestDatabaseSession::installationFolder() {
    const QByteArray saved = qgetenv("ORBALIA_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("ORBALIA_HOME");
    QTemporaryDir dir;

    qputenv("ORBALIA_HOME", dir.path().toUtf8());
    QCOMPARE(CarpetaInstalacion(), dir.path() + u'/');
    qputenv("ORBALIA_HOME", (dir.path() + u'/').toUtf8());
    QCOMPARE(CarpetaInstalacion(), dir.path() + u'/');

    qunsetenv("ORBALIA_HOME");
    QCOMPARE(CarpetaInstalacion(), QCoreApplication::applicationDirPath() + u'/');

    if (wasSet)
        qputenv("ORBALIA_HOME", saved);
}

QTEST_GUILESS_MAIN(TestDatabaseSession)
#include "tst_databasesession.moc"
