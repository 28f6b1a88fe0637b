#include "../webexport/WebExportFixture.h"
#include "DiscoPequeno.h"
#include "FeedLeido.h"
#include "install/Installer.h"
#include "portales/ExportacionPortales.h"
#include "shell/Installation.h"
#include "shell/TiposPortales.h"

#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <csignal>

using namespace orb;
using portaltest::leerFeed;

namespace {

const QString Fotos = QStringLiteral("https://www.agencia.example/fotos/");

// The portal run of a context, its log collected.
struct Corrida {
    ExportacionPortales exp;
    QStringList log;
    explicit Corrida(AppContext& ctx) : exp(ctx, AjustesPortales::leer(ctx)) {
        exp.alLog = [this](const QString& l) { log << l; };
    }
    QString text() const { return log.join(u'\n'); }
    QStringList rechazos() const {
        return log.filter(QRegularExpression("^- La propiedad .* no se publica: "));
    }
};

// Office "B" with a type and a locality the portals accept, and two they do not.
void catalogosPortales(webtest::Fixture& f) {
    f.ctx.db().executeScript(
        "INSERT INTO Tipos (Cod, Nombre, NombreIdioma1, NombreIdioma2, TipoPortales) VALUES "
        "(901, 'Piso', 'Apartment', 'Appartement', 'Apartment'), (902, 'Ático', 'Penthouse', 'Attique', "
        "NULL),"
        "(903, 'Cortijo', 'Farmhouse', 'Ferme', 'Casa rústica');"
        "INSERT INTO Localidades (Cod, Nombre, Provincia) VALUES (901, 'Marbella', 'Málaga'), (902, 'Nerja', "
        "NULL);"
        "INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (901, 'Puerto Banús', 901);");
}

QVariantMap publicable(bool alquiler, const QVariantMap& extra = {}) {
    QVariantMap m{
        {"CodTipo", 901}, {"CodLocalidad", 901}, {"CodArea", 901}, {"Dormitorios", 2}, {"Banos", 1}};
    m[alquiler ? "PrecioAlquiler" : "Precio"] = alquiler ? 950 : 245000;
    for (auto it = extra.begin(); it != extra.end(); ++it)
        m[it.key()] = it.value();
    return m;
}

void configurar(webtest::Fixture& f) {
    f.ctx.facts.CodigoOficina = "B";
    f.ctx.facts.CodigoAgenciaWeb = "B12";
    GuardarConfig(f.ctx.db(), "PORTALES", "URLFOTOS", Fotos);
}

} // namespace

class tst_ExportacionPortales : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    // Every rule a portal applies, on every property of a demo installation;
    // ids stable, dates moved only by a change.
    void demoFeedFollowsEveryRule() {
        install::InstallOptions o;
        o.facts = install::demoFacts();
        o.demoProperties = 60;
        TestInstallation inst(o);
        AppContext& ctx = inst.context();
        GuardarConfig(ctx.db(), "PORTALES", "URLFOTOS", Fotos);
        // One property kept off the portals by its agent.
        const QString fuera = ctx.db()
                                  .scalar("SELECT Cod FROM Propiedades WHERE ExportacionWeb = TRUE AND "
                                          "Alquiler = FALSE AND Estado = 'En "
                                          "Venta' ORDER BY Cod LIMIT 1")
                                  .toString();
        ctx.db().execute("UPDATE Propiedades SET Portales = FALSE WHERE Cod = ?", {fuera});
        const int esperadas =
            ctx.db()
                .scalar("SELECT count(*) FROM Propiedades WHERE Agencia = ? AND ExportacionWeb = "
                        "TRUE AND Portales = TRUE AND ((Alquiler = FALSE AND Estado = 'En Venta') OR "
                        "(Alquiler = TRUE AND Estado = 'Libre'))",
                        {ctx.facts.CodigoOficina})
                .toInt();
        QVERIFY(esperadas > 10);

        Corrida primera(ctx);
        QVERIFY2(primera.exp.ejecutar(false), qPrintable(primera.text()));
        QCOMPARE(primera.rechazos(), QStringList());
        const portaltest::Feed feed = leerFeed(FicheroFeed(ctx));
        QCOMPARE(feed.error, QString());
        QCOMPARE(feed.declaracion, QString(R"(<?xml version="1.0" encoding="UTF-8"?>)"));
        QCOMPARE(feed.version, QString("3"));
        QCOMPARE(feed.propiedades.size(), esperadas);

        const QRegularExpression fecha("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$");
        const QRegularExpression tipo("^[A-Za-z &()/-]{3,}$");
        const QRegularExpression html("<[A-Za-z/!]");
        QSet<QString> ids;
        int ventas = 0, alquileres = 0, conFotos = 0;
        for (const portaltest::Propiedad& p : feed.propiedades) {
            const QString id = p.campos.value("id");
            const QString donde = id + ": ";
            QVERIFY2(!id.isEmpty() && id.size() <= 50, qPrintable(donde));
            QVERIFY2(!ids.contains(id), qPrintable(donde + "repetido"));
            ids.insert(id);
            QVERIFY2(fecha.match(p.campos.value("date")).hasMatch(),
                     qPrintable(donde + p.campos.value("date")));
            const QString ref = p.campos.value("ref");
            QVERIFY2(ref != fuera, qPrintable(donde + "marcada fuera de portales"));
            const QList<db::Row> fila =
                ctx.db().query("SELECT Alquiler, Precio, PrecioAlquiler FROM Propiedades "
                               "WHERE Cod = ?",
                               {ref});
            QVERIFY2(fila.size() == 1, qPrintable(donde + ref));
            const bool alquiler = fila[0].value(0).toBool();
            (alquiler ? alquileres : ventas)++;
            QCOMPARE(p.campos.value("price_freq"), alquiler ? QString("month") : QString("sale"));
            QCOMPARE(p.campos.value("price"),
                     QString::number(qRound64(fila[0].value(alquiler ? 2 : 1).toDouble())));
            QVERIFY2(QRegularExpression("^\\d+$").match(p.campos.value("price")).hasMatch(),
                     qPrintable(donde));
            QVERIFY2(tipo.match(p.campos.value("type")).hasMatch(),
                     qPrintable(donde + p.campos.value("type")));
            QVERIFY(TiposPortales().contains(p.campos.value("type")));
            QVERIFY2(!p.campos.value("town").isEmpty(), qPrintable(donde));
            QCOMPARE(p.campos.value("province"), QString("Málaga"));
            QVERIFY(p.campos.value("location_detail").size() <= 50);
            QVERIFY2(!p.features.isEmpty(), qPrintable(donde));
            for (const QString& f : p.features)
                QVERIFY2(!f.trimmed().isEmpty(), qPrintable(donde));
            QVERIFY(p.urls.size() <= 50);
            QCOMPARE(p.imageIds.size(), p.urls.size());
            for (int i = 0; i < p.urls.size(); ++i) {
                const QUrl url(p.urls[i]);
                QVERIFY2(url.isValid() && url.scheme() == "https" &&
                             p.urls[i].startsWith(Fotos + "portales/") && p.urls[i].endsWith(".jpg"),
                         qPrintable(donde + p.urls[i]));
                QCOMPARE(p.imageIds[i], QString::number(i + 1));
                // The address names a picture that is there to be uploaded.
                QVERIFY2(QFileInfo::exists(CarpetaPortales(ctx) + url.fileName()), qPrintable(p.urls[i]));
            }
            conFotos += p.urls.isEmpty() ? 0 : 1;
            for (const char* idioma : {"desc/es", "desc/en", "desc/fr"}) {
                const QString d = p.campos.value(idioma);
                QVERIFY2(!d.isEmpty(), qPrintable(donde + idioma));
                QVERIFY2(!html.match(d).hasMatch(), qPrintable(donde + d));
            }
            for (const char* medida : {"surface_area/built", "surface_area/plot"})
                if (p.campos.contains(medida))
                    QVERIFY2(QRegularExpression("^[1-9]\\d*$").match(p.campos.value(medida)).hasMatch(),
                             qPrintable(donde + medida));
            if (p.campos.value("pool") == "1")
                QVERIFY2(p.features.contains("Private pool") || p.features.contains("Communal pool"),
                         qPrintable(donde));
        }
        QVERIFY(ventas > 0 && alquileres > 0);
        QVERIFY(conFotos > 0);

        // A second run changes nothing: the same ids with the same dates.
        Corrida segunda(ctx);
        QVERIFY2(segunda.exp.ejecutar(false), qPrintable(segunda.text()));
        const portaltest::Feed otra = leerFeed(FicheroFeed(ctx));
        QCOMPARE(otra.fechas(), feed.fechas());

        // An edited property and one whose photograph was replaced get a later
        // date; the others keep theirs.
        const portaltest::Propiedad& editada = feed.propiedades[1];
        const portaltest::Propiedad* conFoto = nullptr;
        for (const portaltest::Propiedad& p : feed.propiedades)
            if (!p.urls.isEmpty() && &p != &editada)
                conFoto = &p;
        QVERIFY(conFoto);
        // Edited later than the feed's date (its pictures may have been written this very second).
        QTRY_VERIFY_WITH_TIMEOUT(QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd HH:mm:ss") >
                                     editada.campos.value("date"),
                                 3000);
        ctx.db().execute("UPDATE Propiedades SET Dormitorios = Dormitorios + 1 WHERE Cod = ?",
                         {editada.campos.value("ref")});
        const QString foto =
            ctx.db()
                .scalar("SELECT Foto1 FROM Propiedades WHERE Cod = ?", {conFoto->campos.value("ref")})
                .toString();
        QVERIFY(!foto.isEmpty());
        // Replaced later than the feed's date, as a user would, a second or more after it.
        QTRY_VERIFY_WITH_TIMEOUT(QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd HH:mm:ss") >
                                     conFoto->campos.value("date"),
                                 3000);
        webtest::writeJpeg(ctx.RutaFotos + foto, {900, 700});
        Corrida tercera(ctx);
        QVERIFY2(tercera.exp.ejecutar(false), qPrintable(tercera.text()));
        QMap<QString, QString> despues = leerFeed(FicheroFeed(ctx)).fechas();
        QMap<QString, QString> antes = feed.fechas();
        for (const QString& id : {editada.campos.value("id"), conFoto->campos.value("id")}) {
            QVERIFY2(despues.value(id) > antes.value(id),
                     qPrintable(id + " " + antes.value(id) + " -> " + despues.value(id)));
            despues.remove(id);
            antes.remove(id);
        }
        QCOMPARE(despues, antes);
        // The replaced photograph's portal picture was made again from it.
        QCOMPARE(QImageReader(CarpetaPortales(ctx) + QUrl(conFoto->urls.first()).fileName()).size(),
                 QSize(900, 700));
        QCOMPARE(tercera.log.last(),
                 QString("Exportación a portales finalizada: %1 publicadas, 0 rechazadas.").arg(esperadas));
    }

    // Each rule a property can break leaves it out with a line naming it and
    // the field; one in five refused (the default limit) still publishes the rest.
    void refusedPropertyIsNamedAndTheRestPublished_data() {
        QTest::addColumn<bool>("alquiler");
        QTest::addColumn<QVariantMap>("campos");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("sin precio") << false << QVariantMap{{"Precio", QVariant()}}
                                    << "Precio: la propiedad no tiene precio.";
        QTest::newRow("alquiler sin renta") << true << QVariantMap{{"PrecioAlquiler", 0}, {"Precio", 100000}}
                                            << "Precio alquiler: la propiedad no tiene precio.";
        QTest::newRow("tipo sin tipo en portales")
            << false << QVariantMap{{"CodTipo", 902}}
            << "Tipo en portales: el tipo «Ático» no tiene tipo en portales.";
        QTest::newRow("tipo en portales con acentos")
            << false << QVariantMap{{"CodTipo", 903}}
            << "Tipo en portales: «Casa rústica» no es un tipo que acepten los portales (letras inglesas, "
               "espacios y &()/-, al menos 3).";
        QTest::newRow("sin tipo") << false << QVariantMap{{"CodTipo", QVariant()}}
                                  << "Tipo: la propiedad no tiene tipo.";
        QTest::newRow("sin localidad") << true << QVariantMap{{"CodLocalidad", QVariant()}}
                                       << "Localidad: la propiedad no tiene localidad.";
        QTest::newRow("localidad sin provincia") << false << QVariantMap{{"CodLocalidad", 902}}
                                                 << "Provincia: la localidad «Nerja» no tiene provincia.";
    }
    void refusedPropertyIsNamedAndTheRestPublished() {
        QFETCH(bool, alquiler);
        QFETCH(QVariantMap, campos);
        QFETCH(QString, motivo);
        webtest::Fixture f;
        configurar(f);
        catalogosPortales(f);
        f.property(false, 1, publicable(false));
        f.property(true, 2, publicable(true));
        f.property(alquiler, 3, publicable(alquiler, campos));
        f.property(false, 4, publicable(false));
        f.property(true, 5, publicable(true));
        // Never in the feed and never counted: kept off the portals, sold, another office.
        f.property(false, 6, publicable(false, {{"Portales", false}}));
        f.property(false, 7, publicable(false, {{"Estado", "Vendida"}}));
        f.property(false, 8, publicable(false, {{"Agencia", "C"}}));

        Corrida r(f.ctx);
        QVERIFY2(r.exp.Exportar(), qPrintable(r.text()));
        QCOMPARE(r.rechazos(), QStringList{"- La propiedad B00003 no se publica: " + motivo});
        QCOMPARE(r.exp.progreso().publicadas, 4);
        QCOMPARE(r.exp.progreso().rechazadas, 1);
        const portaltest::Feed feed = leerFeed(FicheroFeed(f.ctx));
        QCOMPARE(feed.error, QString());
        QStringList ids;
        for (const portaltest::Propiedad& p : feed.propiedades)
            ids << p.campos.value("id");
        QCOMPARE(ids, (QStringList{"RB12-00001", "RB12-00004", "LB12-00002", "LB12-00005"}));
        QCOMPARE(feed.porId("LB12-00002")->campos.value("price"), QString("950"));
        QCOMPARE(feed.porId("RB12-00001")->campos.value("location_detail"), QString("Puerto Banús"));
    }

    // Above the limit nothing is published: the previous feed stays byte for
    // byte, the command line fails; the limit is a setting.
    void tooManyRefusedKeepsThePreviousFeed() {
        webtest::Fixture f;
        configurar(f);
        catalogosPortales(f);
        for (int i = 1; i <= 5; ++i)
            f.property(i % 2 == 0, i, publicable(i % 2 == 0));
        Corrida buena(f.ctx);
        QVERIFY2(buena.exp.Exportar(), qPrintable(buena.text()));
        const QByteArray anterior = portaltest::bytes(FicheroFeed(f.ctx));
        QCOMPARE(leerFeed(FicheroFeed(f.ctx)).propiedades.size(), 5);

        f.ctx.db().execute("UPDATE Propiedades SET CodTipo = 902 WHERE QuickID IN (2, 3)");
        Corrida mala(f.ctx);
        QVERIFY(!mala.exp.Exportar());
        QCOMPARE(mala.rechazos().size(), 2);
        QCOMPARE(mala.log.last(),
                 QString("Se rechazan 2 de 5 propiedades, más del 20 %: no se ha publicado nada y "
                         "los portales siguen leyendo el fichero anterior."));
        QCOMPARE(mala.exp.progreso().publicadas, 0);
        QCOMPARE(portaltest::bytes(FicheroFeed(f.ctx)), anterior);
        QCOMPARE(QDir(CarpetaPortales(f.ctx)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"kyero.xml"});

        // The same from the command line, for a scheduled task: a non-zero exit.
        QVERIFY(GuardarDatosInstalacion(f.inst.path(), f.ctx.facts));
        const QString exe = qEnvironmentVariable("ORBALIA_BIN_DIR", ORBALIA_BINARY_DIR) + "/orbalia-portales";
        QProcess p;
        p.start(exe, {"--home", f.inst.path(), "--no-upload"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains("Se rechazan 2 de 5 propiedades"));
        QCOMPARE(portaltest::bytes(FicheroFeed(f.ctx)), anterior);

        // An agency that accepts more refusals publishes the three that are right.
        GuardarConfig(f.ctx.db(), "PORTALES", "RECHAZOMAXIMO", "40");
        p.start(exe, {"--home", f.inst.path(), "--no-upload"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(leerFeed(FicheroFeed(f.ctx)).propiedades.size(), 3);

        // Nothing left to publish: an empty feed would delete every listing.
        const QByteArray tres = portaltest::bytes(FicheroFeed(f.ctx));
        f.ctx.db().execute("UPDATE Propiedades SET Estado = 'Vendida'");
        Corrida vacia(f.ctx);
        QVERIFY(!vacia.exp.Exportar());
        QCOMPARE(portaltest::bytes(FicheroFeed(f.ctx)), tres);
    }

    // A run killed while it writes leaves the previous feed; the next run
    // clears what the killed one left.
    void killedMidWriteKeepsThePreviousFeed() {
        webtest::Fixture f;
        configurar(f);
        catalogosPortales(f);
        // Enough properties for the writing to take a while.
        f.ctx.db().execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, ExportacionWeb, CodTipo, "
            "CodLocalidad, Precio, WebDescripcion) SELECT 'B' || (100000 + i), 'B', i, FALSE, 'En Venta', "
            "TRUE, 901, "
            "901, "
            "100000 + i, 'Piso luminoso con vistas al mar, cerca de la playa y de todos los servicios.' FROM "
            "n");
        Corrida primera(f.ctx);
        QVERIFY2(primera.exp.Exportar(), qPrintable(primera.text()));
        const QByteArray anterior = portaltest::bytes(FicheroFeed(f.ctx));
        f.ctx.db().execute("UPDATE Propiedades SET Precio = Precio + 1");
        QVERIFY(GuardarDatosInstalacion(f.inst.path(), f.ctx.facts));

        const QString exe = qEnvironmentVariable("ORBALIA_BIN_DIR", ORBALIA_BINARY_DIR) + "/orbalia-portales";
        const QDir carpeta(CarpetaPortales(f.ctx));
        bool cazado = false;
        for (int intento = 0; intento < 5 && !cazado; ++intento) {
            QProcess p;
            p.start(exe, {"--home", f.inst.path(), "--no-upload"});
            QVERIFY(p.waitForStarted());
            // Killed as soon as it starts writing: a temporary feed exists, or the feed itself changed.
            while (!cazado && !p.waitForFinished(1)) {
                cazado = !carpeta.entryList({".kyero.xml.*"}, QDir::Files | QDir::Hidden).isEmpty() ||
                         QFileInfo(FicheroFeed(f.ctx)).size() != anterior.size();
                if (cazado)
                    ::kill(pid_t(p.processId()), SIGKILL);
            }
            p.waitForFinished();
            if (!cazado) // it ended first: put the old feed back and try again
                portaltest::bytes(FicheroFeed(f.ctx)) == anterior
                    ? void()
                    : webtest::writeBytes(FicheroFeed(f.ctx), anterior);
        }
        QVERIFY(cazado);
        QCOMPARE(portaltest::bytes(FicheroFeed(f.ctx)), anterior);

        Corrida siguiente(f.ctx);
        QVERIFY2(siguiente.exp.Exportar(), qPrintable(siguiente.text()));
        QCOMPARE(carpeta.entryList(QDir::Files | QDir::Hidden), QStringList{"kyero.xml"});
        QCOMPARE(leerFeed(FicheroFeed(f.ctx)).porId("RB12-20000")->campos.value("price"), QString("120001"));
    }

    // A disk that fills while the feed is written: the run names the cause,
    // the previous feed stays byte for byte and no temporary file is left.
    void fullDiskKeepsThePreviousFeed() {
        webtest::Fixture f;
        configurar(f);
        catalogosPortales(f);
        for (int i = 1; i <= 5; ++i)
            f.property(i % 2 == 0, i, publicable(i % 2 == 0));
        QVERIFY(QDir().mkpath(CarpetaPortales(f.ctx)));
        ORB_REQUIRE_SMALL_DISK(disco, CarpetaPortales(f.ctx), 256 * 1024);
        Corrida primera(f.ctx);
        QVERIFY2(primera.exp.Exportar(), qPrintable(primera.text()));
        const QByteArray anterior = portaltest::bytes(FicheroFeed(f.ctx));
        f.ctx.db().execute("UPDATE Propiedades SET Precio = Precio + 1");
        disco.llenar();
        Corrida llena(f.ctx);
        QVERIFY(!llena.exp.Exportar());
        QVERIFY2(llena.log.last().startsWith("No se ha podido escribir el fichero para portales " +
                                             QDir::toNativeSeparators(FicheroFeed(f.ctx)) +
                                             ": No space left on device"),
                 qPrintable(llena.text()));
        QVERIFY(llena.log.last().endsWith("Se mantiene el fichero anterior."));
        QCOMPARE(portaltest::bytes(FicheroFeed(f.ctx)), anterior);
        QCOMPARE(QDir(CarpetaPortales(f.ctx)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"kyero.xml"});
    }

    // Whatever an agent types in a description reaches the portal as typed,
    // inside a well-formed file; what XML cannot carry is dropped.
    void hostileTextReadsBackTheSame() {
        webtest::Fixture f;
        configurar(f);
        catalogosPortales(f);
        QString hostil = QString::fromUtf8(
            "Precio < 300.000 € & vistas ]]> al mar 🏖️🇪🇸 \"comillas\" 'simples' > "
            "<3 & &amp;c");
        QString control;
        for (char16_t c : {u'\x01', u'\x08', u'\x0b', u'\x0c', u'\x1f', u'\x7f', u'\x85', u'\xfffe'})
            control += QChar(c);
        QString larga;
        int veces = 0;
        for (; veces < 150; ++veces) // over 10 kB
            larga += hostil + control + QStringLiteral("\n");
        const QString es = hostil + control + " fin";
        f.property(false, 1,
                   publicable(false, {{"WebDescripcion", es},
                                      {"WebDescripcionIdioma1", larga},
                                      {"WebDescripcionIdioma2",
                                       "<p>Belle <b>vue</b><br>sur la mer</p><!-- x -->"}}));
        Corrida r(f.ctx);
        QVERIFY2(r.exp.Exportar(), qPrintable(r.text()));
        const portaltest::Feed feed = leerFeed(FicheroFeed(f.ctx));
        QCOMPARE(feed.error, QString());
        const portaltest::Propiedad* p = feed.porId("RB12-00001");
        QVERIFY(p);
        // "&amp;" is the web's way of writing "&": the portal gets the character.
        QString esperado = hostil;
        esperado.replace("&amp;c", "&c");
        QCOMPARE(p->campos.value("desc/es"), esperado + " fin");
        QString esperadaLarga;
        for (int i = 0; i < veces; ++i)
            esperadaLarga += esperado + "\n";
        QCOMPARE(p->campos.value("desc/en"), esperadaLarga.trimmed());
        QCOMPARE(p->campos.value("desc/fr"), QString("Belle vue\nsur la mer"));
        QVERIFY(p->campos.value("desc/en").size() > 10000);
    }

    // The feed and the portal pictures go up with the web folder, through the
    // same rsync module; pictures are reduced to the portal size, never enlarged.
    void uploadThroughTheRsyncDaemon() {
        ORB_REQUIRE_RSYNC(rsync);
        QVERIFY(rsync.webModules.contains("xwebB12"));
        webtest::Fixture f;
        configurar(f);
        GuardarConfig(f.ctx.db(), "WEB", "SERVIDOR", rsync.host);
        GuardarConfig(f.ctx.db(), "WEB", "PUERTORSYNC", QString::number(rsync.port));
        catalogosPortales(f);
        const QString modulo = rsync.moduleDir("xwebB12");
        for (const QString& viejo : webtest::filesUnder(modulo))
            QFile::remove(modulo + "/" + viejo);
        webtest::writeJpeg(f.foto("grande.jpg"), {4000, 3000});
        webtest::writeJpeg(f.foto("pequena.jpg"), {800, 600});
        f.property(false, 1, publicable(false, {{"Foto1", "grande.jpg"}, {"Foto3", "pequena.jpg"}}));
        f.property(true, 2, publicable(true, {{"Foto2", "no-existe.jpg"}}));

        Corrida r(f.ctx);
        QVERIFY2(r.exp.ejecutar(true), qPrintable(r.text()));
        QCOMPARE(r.log.last(), QString("Subida finalizada."));
        QCOMPARE(
            webtest::filesUnder(modulo),
            (QStringList{"portales/RB12-00001-1.jpg", "portales/RB12-00001-3.jpg", "portales/kyero.xml"}));
        QCOMPARE(portaltest::bytes(modulo + "/portales/kyero.xml"), portaltest::bytes(FicheroFeed(f.ctx)));
        QCOMPARE(QImageReader(modulo + "/portales/RB12-00001-1.jpg").size(), QSize(1280, 960));
        QCOMPARE(QImageReader(modulo + "/portales/RB12-00001-3.jpg").size(), QSize(800, 600));
        const portaltest::Feed feed = leerFeed(modulo + "/portales/kyero.xml");
        QCOMPARE(feed.porId("RB12-00001")->urls,
                 (QStringList{Fotos + "portales/RB12-00001-1.jpg", Fotos + "portales/RB12-00001-3.jpg"}));
        QVERIFY(feed.porId("LB12-00002")->urls.isEmpty());

        // A photograph taken out of the property leaves the server with the next run.
        f.ctx.db().execute("UPDATE Propiedades SET Foto3 = NULL WHERE QuickID = 1");
        Corrida segunda(f.ctx);
        QVERIFY2(segunda.exp.ejecutar(true), qPrintable(segunda.text()));
        QCOMPARE(webtest::filesUnder(modulo),
                 (QStringList{"portales/RB12-00001-1.jpg", "portales/kyero.xml"}));
    }

    // Without a web server the upload is off: the feed is written and the run
    // says where it stays, instead of asking rsync for a host of no name.
    void withoutAWebServerTheFeedStaysLocal() {
        webtest::Fixture f;
        configurar(f);
        catalogosPortales(f);
        GuardarConfig(f.ctx.db(), "WEB", "SERVIDOR", " ");
        f.property(false, 1, publicable(false));
        Corrida r(f.ctx);
        QVERIFY2(r.exp.ejecutar(true), qPrintable(r.text()));
        QCOMPARE(r.log.last(),
                 "No hay servidor web en Herramientas > Configuración > Exportación Web: el fichero "
                 "para portales queda en " +
                     QDir::toNativeSeparators(FicheroFeed(f.ctx)) + " sin subir.");
        QVERIFY(!r.text().contains("rsync"));
        QCOMPARE(leerFeed(FicheroFeed(f.ctx)).propiedades.size(), 1);
    }
};

QTEST_MAIN(tst_ExportacionPortales)
#include "tst_exportacionportales.moc"
