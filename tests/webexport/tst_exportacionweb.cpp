#include "Accessibility.h"
#include "Capturas.h"
#include "WebExportFixture.h"
#include "shell/Installation.h"
#include "webexport/ExportacionWeb.h"
#include "webexport/frmExportacionWeb.h"

#include <QDirIterator>
#include <QImageReader>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace orb;
using webtest::texts;

using webtest::filesUnder;
using webtest::rows;
using webtest::Run;

class tst_ExportacionWeb : public QObject {
    Q_OBJECT

    std::unique_ptr<mysql::Connection> admin_;

    // A sale and a rental with every published field, plus what must stay out.
    static void publishedPair(webtest::Fixture& f) {
        f.catalogues();
        // clang-format off
        f.property(false, 37,
                   {{"CodTipo", 901}, {"CodLocalidad", 901}, {"CodArea", 901}, {"Precio", 250000.5}, {"PrecioAlquiler", 5},
                    {"Metros", 120}, {"MetrosParcela", 300}, {"Dormitorios", 3}, {"Banos", 2},
                    {"Piscina", "S"}, {"Jardin", "N"}, {"Garaje", "S"}, {"CocinaAmueblada", true},
                    {"Amueblado", true}, {"AireAcondicionado", true}, {"DiversionesCerca", true},
                    {"AnoConstruccion", 1998}, {"Orientacion", "SO"}, {"Salon", true}, {"PlazasGaraje", 2},
                    {"ExportacionWebDestacada", true}, {"WebDescripcion", "Ático con vistas al mar"},
                    {"WebDescripcionIdioma1", "Penthouse with sea views"},
                    {"WebDescripcionIdioma2", "Attique avec vue sur la mer"}});
        // clang-format on
        // Six digits, no catalogue rows: nulls where the catalogues would be.
        // A rental publishes its rent, not the (sale) Precio it may also hold.
        f.property(true, 123456,
                   {{"Precio", 900},
                    {"PrecioAlquiler", 1200},
                    {"Dormitorios", 1},
                    {"Calefaccion", true},
                    {"Trastero", true}});
        // Never published: sold, let, not marked, another office, the other side's state.
        f.property(false, 38, {{"Estado", "Vendida"}});
        f.property(true, 39, {{"Estado", "Alquilada"}});
        f.property(false, 40, {{"ExportacionWeb", false}});
        f.property(false, 41, {{"Agencia", "C"}});
        f.property(true, 42, {{"Estado", "En Venta"}});
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        QString why;
        auto s = testservers::mysqlServer(&why);
        if (s) {
            admin_ = mysql::Connection::connect(s->options);
            webtest::createWebTables(*admin_);
        }
    }

    void saleAndRentalRowsHaveEveryColumn() {
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        publishedPair(f);
        // webrentals given the sale-only columns: the export must leave them alone.
        admin_->execute("ALTER TABLE webrentals ADD oldvalue VARCHAR(20) NULL, ADD newdev SMALLINT NULL, "
                        "ADD featured TINYINT(1) NULL");
        // Rows of another web agency and an old row of this one.
        admin_->execute("INSERT INTO webproperties (ident, agency) VALUES ('ROTRA-00001', 'OTRA'), "
                        "('RCSOL-99999', 'CSOL')");
        admin_->execute("INSERT INTO webrentals (ident, agency) VALUES ('LOTRA-00001', 'OTRA')");

        Run run(f.ctx);
        QVERIFY2(run.exp.Exportar(), qPrintable(run.text()));
        QCOMPARE(run.log, QStringList({"Iniciando exportación ...",
                                       "Borrando antiguas propiedades en venta...", "Propiedades borradas.",
                                       "Exportando propiedad B00037", "Se han exportado 1 propiedades.",
                                       "Borrando antiguas propiedades en alquiler...",
                                       "Propiedades borradas.", "Exportando propiedad B123456",
                                       "Se han exportado 1 propiedades.", "Exportación finalizada."}));

        const QList<QStringList> ventas = rows(*admin_, "webproperties", "CSOL");
        QCOMPARE(ventas.size(), 1);
        // The 48 (sales) and 45 (rentals) values in column order, "|" between them.
        QCOMPARE(
            ventas[0],
            QString("RCSOL-00037|37|CSOL|For Sale|Costa del Sol|Costa del Sol|Costa del Sol|Ático|"
                    "Penthouse|Attique|Ático|Penthouse|Attique|Marbella|Marbella|Marbella|España|Spain|"
                    "Espagne|Málaga|Málaga|Málaga|S|N|S|120|300|250000.5|B00037|0|Puerto Banús|Ático con "
                    "vistas al mar|Penthouse with sea views|Attique avec vue sur la mer|3|2|1|0|1|1|0|1|0|"
                    "1998|SO|1|2|1")
                .split('|'));
        const QList<QStringList> alquileres = rows(*admin_, "webrentals", "CSOL");
        QCOMPARE(alquileres.size(), 1);
        QCOMPARE(
            alquileres[0],
            QString("LCSOL-123456|123456|CSOL|Available|Costa del Sol|Costa del Sol|Costa del Sol|NULL|"
                    "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|España|Spain|Espagne|Málaga|Málaga|Málaga|"
                    "NULL|NULL|NULL|NULL|NULL|1200|NULL|NULL|NULL|NULL|1|NULL|0|1|0|0|1|0|0|NULL|NULL|0|NULL")
                .split('|'));
        QCOMPARE(
            texts(admin_->query("SELECT oldvalue, newdev, featured FROM webrentals WHERE agency = 'CSOL'")
                      .value(0)),
            QStringList({"NULL", "NULL", "NULL"}));
        // The old row of this agency is gone, the other agency's rows are untouched.
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webproperties WHERE ident = 'RCSOL-99999'").toInt(), 0);
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webproperties WHERE agency = 'OTRA'").toInt(), 1);
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webrentals WHERE agency = 'OTRA'").toInt(), 1);
    }

    // An empty office code selects the properties without one; a pass with
    // nothing to publish still deletes this agency's old rows.
    void emptyOfficeCodeSelectsNullAgencyAndEmptyPassDeletes() {
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "", "CSOL");
        f.property(false, 1, {{"Agencia", QVariant()}});
        f.property(false, 2, {{"Agencia", ""}});
        f.property(false, 3, {{"Agencia", "B"}});
        f.property(true, 5, {{"Agencia", QVariant()}, {"ExportacionWeb", false}});
        admin_->execute("INSERT INTO webproperties (ident, agency) VALUES ('RCSOL-00005', 'CSOL')");
        admin_->execute("INSERT INTO webrentals (ident, agency) VALUES ('LCSOL-00005', 'CSOL')");
        Run run(f.ctx);
        QVERIFY2(run.exp.Exportar(), qPrintable(run.text()));
        QCOMPARE(admin_->scalar("SELECT GROUP_CONCAT(ident) FROM webproperties").toString(),
                 QString("RCSOL-00001"));
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webrentals").toInt(), 0);
        QCOMPARE(run.log.filter("Se han exportado"), QStringList{"Se han exportado 1 propiedades."});
    }

    void photosInTheirSlotsThumbnailFromWebPicture() {
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        // A thumbnail box larger than the web picture: made from the web
        // picture it cannot grow past it; made from the photograph it would.
        GuardarConfig(f.ctx.db(), "WEB", "FOTOANCHURA", "200");
        GuardarConfig(f.ctx.db(), "WEB", "FOTOALTURA", "150");
        GuardarConfig(f.ctx.db(), "WEB", "THUMBANCHURA", "800");
        GuardarConfig(f.ctx.db(), "WEB", "THUMBALTURA", "600");
        webtest::writeJpeg(f.foto("B00037-1.jpg"));
        webtest::writeJpeg(f.foto("B00037-4.jpg"));
        QFile roto(f.foto("B00038-1.jpg"));
        QVERIFY(roto.open(QIODevice::WriteOnly));
        roto.write(QByteArray("\xFF\xD8\xFF\xE0 no es una foto", 24));
        roto.close();
        webtest::writeJpeg(f.foto("B00038-3.jpg"));
        f.property(false, 37,
                   {{"Foto1", "B00037-1.jpg"}, {"Foto2", "noexiste.jpg"}, {"Foto4", "B00037-4.jpg"}});
        f.property(false, 38, {{"Foto1", "B00038-1.jpg"}, {"Foto3", "B00038-3.jpg"}});
        // A picture of an earlier run: the folder is emptied first.
        webtest::writeJpeg(f.ctx.RutaWeb + "RCSOL-00099-1.jpg", {10, 10});

        Run run(f.ctx);
        QVERIFY2(run.exp.Exportar(), qPrintable(run.text()));
        const QStringList fotos = run.log.filter("foto");
        QCOMPARE(fotos.size(), 5);
        QCOMPARE(fotos.mid(0, 4),
                 QStringList({"- Procesando foto B00037-1.jpg", "- Procesando foto B00037-4.jpg",
                              "- Procesando foto B00038-1.jpg", "- Procesando foto B00038-3.jpg"}));
        QVERIFY2(fotos[4].contains("B00038-1.jpg"), qPrintable(fotos[4]));
        QCOMPARE(run.log.last(), QString("Exportación finalizada."));
        QCOMPARE(run.exp.progreso().fotosHechas, 4);
        QCOMPARE(run.exp.progreso().fotosTotal, 4);

        QCOMPARE(filesUnder(f.ctx.RutaWeb),
                 QStringList({"RCSOL-00037-1.jpg", "RCSOL-00037-4.jpg", "RCSOL-00038-3.jpg",
                              "thumbs/RCSOL-00037-1.jpg", "thumbs/RCSOL-00037-4.jpg",
                              "thumbs/RCSOL-00038-3.jpg"}));
        QCOMPARE(QImageReader(f.ctx.RutaWeb + "RCSOL-00037-4.jpg").size(), QSize(200, 150));
        QCOMPARE(QImageReader(f.ctx.RutaWeb + "thumbs/RCSOL-00037-4.jpg").size(), QSize(200, 150));
    }

    void uploadMirrorsTheWebFolder() {
        ORB_REQUIRE_MYSQL(server);
        ORB_REQUIRE_RSYNC(rsync);
        webtest::Fixture f;
        f.configure(server, "B", "B12");
        const QString module = rsync.moduleDir("xwebB12");
        for (const QString& old : filesUnder(module))
            QFile::remove(module + "/" + old);
        webtest::writeJpeg(f.foto("a.jpg"), {800, 600});
        webtest::writeJpeg(f.foto("b.jpg"), {800, 600});
        f.property(false, 1, {{"Foto1", "a.jpg"}});
        f.property(true, 2, {{"Foto2", "b.jpg"}});

        Run first(f.ctx);
        QVERIFY2(first.exp.ejecutar(true), qPrintable(first.text()));
        QVERIFY(first.log.contains("Iniciando subida ..."));
        QCOMPARE(first.log.last(), QString("Subida finalizada."));
        const QString command = first.log[first.log.indexOf("Iniciando subida ...") + 1];
        QCOMPARE(command,
                 QString("rsync --port=%1 -r --size-only --verbose --delete --progress --stats \"%2\" "
                         "127.0.0.1::xwebB12")
                     .arg(rsync.port)
                     .arg(f.ctx.RutaWeb));
        QCOMPARE(filesUnder(module), QStringList({"LB12-00002-2.jpg", "RB12-00001-1.jpg",
                                                  "thumbs/LB12-00002-2.jpg", "thumbs/RB12-00001-1.jpg"}));

        // The rental is let: its pictures leave the server with the second run.
        f.ctx.db().execute("UPDATE Propiedades SET Estado = 'Alquilada' WHERE QuickID = 2");
        Run second(f.ctx);
        QVERIFY2(second.exp.ejecutar(true), qPrintable(second.text()));
        QCOMPARE(filesUnder(module), QStringList({"RB12-00001-1.jpg", "thumbs/RB12-00001-1.jpg"}));
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webrentals WHERE agency = 'B12'").toInt(), 0);
    }

    // More rows than one batch holds: each goes to the server once, none twice,
    // none left out, the last partial batch included.
    void listingLargerThanOneBatchArrivesWhole() {
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        constexpr int ventas = 2010; // a full batch and part of a second
        f.ctx.db().beginTransaction();
        for (int i = 1; i <= ventas; ++i)
            f.property(false, i);
        for (int i = 1; i <= 3; ++i)
            f.property(true, ventas + i);
        f.ctx.db().commit();
        Run run(f.ctx);
        QVERIFY2(run.exp.Exportar(), qPrintable(run.log.mid(run.log.size() - 5).join('\n')));
        QVERIFY(run.log.contains(QStringLiteral("Se han exportado %1 propiedades.").arg(ventas)));
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webproperties WHERE agency = 'CSOL'").toInt(), ventas);
        QCOMPARE(admin_->scalar("SELECT COUNT(DISTINCT ident) FROM webproperties").toInt(), ventas);
        QCOMPARE(admin_->scalar("SELECT MIN(ident) FROM webproperties").toString(), QString("RCSOL-00001"));
        QCOMPARE(admin_->scalar("SELECT MAX(ident) FROM webproperties").toString(), QString("RCSOL-02010"));
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webrentals WHERE agency = 'CSOL'").toInt(), 3);
    }

    // Values stored in another kind than their field declares (SQLite keeps
    // what it is given) reach the web as the data layer reads them: the rows
    // equal those sent from LeerFilasWeb's values, field by field.
    void valuesOfAnotherKindArriveAsTheDataLayerReadsThem() {
        ORB_SOLO_ARCHIVO("the server's typed columns refuse a value of another kind");
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        f.catalogues();
        f.property(false, 51, {{"CodTipo", 901}, {"Dormitorios", 2}, {"Piscina", "S"}});
        f.property(false, 52);
        f.property(true, 53, {{"PrecioAlquiler", 700}});
        f.ctx.db().execute("UPDATE Propiedades SET Dormitorios = 3.5, Piscina = TRUE, Orientacion = 5, "
                           "Precio = 'caro', Metros = NULL WHERE QuickID = 51");
        f.ctx.db().execute(
            "UPDATE Propiedades SET PrecioAlquiler = '1250.5', Banos = 'dos' WHERE QuickID = 53");
        Run run(f.ctx);
        QVERIFY2(run.exp.Exportar(), qPrintable(run.log.join('\n')));
        const QList<QStringList> ventas = rows(*admin_, "webproperties", "CSOL");
        const QList<QStringList> alquileres = rows(*admin_, "webrentals", "CSOL");
        QCOMPARE(ventas.size(), 2);
        QCOMPARE(alquileres.size(), 1);
        const QStringList columnas = ColumnasWeb(Pasada::Venta);
        const QStringList& v = ventas.first();
        QCOMPARE(v[columnas.indexOf("bedrooms")], QString("4"));
        QCOMPARE(v[columnas.indexOf("pool")], QString("1"));
        QCOMPARE(v[columnas.indexOf("orientation")], QString("5"));
        QCOMPARE(v[columnas.indexOf("mtsbuilt")], QString("NULL"));
        QCOMPARE(v[columnas.indexOf("priceeur")].toDouble(), 0.0);
        QCOMPARE(alquileres.first()[ColumnasWeb(Pasada::Alquiler).indexOf("priceeur")].toDouble(), 1250.5);

        // The same rows through the values the data layer converts, one by one.
        for (Pasada p : {Pasada::Venta, Pasada::Alquiler}) {
            admin_->execute(QStringLiteral("DELETE FROM %1").arg(TablaWeb(p)));
            QStringList marcas;
            marcas.fill("?", ColumnasWeb(p).size());
            auto insertar =
                admin_->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(TablaWeb(p), ColumnasWeb(p).join(','), marcas.join(',')));
            for (const FilaWeb& fila : LeerFilasWeb(f.ctx.db(), p, "B", "CSOL"))
                insertar->execute(fila.valores);
        }
        QCOMPARE(rows(*admin_, "webproperties", "CSOL"), ventas);
        QCOMPARE(rows(*admin_, "webrentals", "CSOL"), alquileres);
    }

    // Failures and cancellation: the server keeps the complete old listing.
    void connectionKilledDuringRentalsKeepsOldListing() {
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        for (int i = 1; i <= 3; ++i) {
            f.property(false, i);
            f.property(true, 10 + i);
        }
        Run first(f.ctx);
        QVERIFY2(first.exp.Exportar(), qPrintable(first.text()));
        const auto ventas = rows(*admin_, "webproperties", "CSOL");
        const auto alquileres = rows(*admin_, "webrentals", "CSOL");
        QCOMPARE(ventas.size(), 3);
        QCOMPARE(alquileres.size(), 3);

        f.property(false, 4);
        f.ctx.db().execute("UPDATE Propiedades SET Precio = 1");
        Run second(f.ctx);
        bool killed = false;
        // The second rental's turn: the server drops the run's connection.
        second.alVer = [&](const QString& linea) {
            if (linea != "Exportando propiedad B00012")
                return;
            const auto ids = admin_->query("SELECT ID FROM information_schema.PROCESSLIST "
                                           "WHERE ID <> CONNECTION_ID() AND DB = DATABASE()");
            for (const auto& r : ids)
                admin_->execute(QStringLiteral("KILL %1").arg(r.value(0).toLongLong()));
            killed = !ids.isEmpty();
        };
        QVERIFY(!second.exp.ejecutar(true));
        QVERIFY(killed);
        QVERIFY2(second.text().contains("Se ha perdido la conexión con el servidor web."),
                 qPrintable(second.text()));
        // The server's own words are for Orbalia.log, not for the user's log.
        for (const char* motor : {"2013", "Lost connection", "HY000"})
            QVERIFY2(!second.text().contains(QLatin1String(motor)), qPrintable(second.text()));
        QVERIFY(
            second.log.contains("La exportación no se ha completado: el web conserva el listado anterior."));
        QVERIFY(!second.text().contains("Iniciando subida"));
        auto fresh = mysql::Connection::connect(server.options);
        QCOMPARE(rows(*fresh, "webproperties", "CSOL"), ventas);
        QCOMPARE(rows(*fresh, "webrentals", "CSOL"), alquileres);
    }

    void cancelledOrRefusedRunChangesNothing_data() {
        QTest::addColumn<bool>("cancelar"); // else webrentals is a MyISAM table
        QTest::addColumn<QString>("ultima");
        QTest::newRow("cancelled") << true << "Exportación cancelada: el web no ha cambiado.";
        QTest::newRow("MyISAM") << false << "La tabla webrentals del web usa el motor MyISAM";
    }
    void cancelledOrRefusedRunChangesNothing() {
        QFETCH(bool, cancelar);
        QFETCH(QString, ultima);
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        f.property(false, 1);
        f.property(true, 2);
        if (!cancelar)
            admin_->execute("ALTER TABLE webrentals ENGINE=MyISAM");
        admin_->execute("INSERT INTO webproperties (ident, agency) VALUES ('RCSOL-00077', 'CSOL')");
        Run run(f.ctx);
        // The user cancels as the rental's turn comes.
        run.alVer = [&](const QString& linea) {
            if (cancelar && linea == "Exportando propiedad B00002")
                run.exp.cancelar();
        };
        QVERIFY(!run.exp.ejecutar(true));
        QVERIFY2(run.log.last().startsWith(ultima), qPrintable(run.text()));
        QCOMPARE(admin_->scalar("SELECT GROUP_CONCAT(ident) FROM webproperties").toString(),
                 QString("RCSOL-00077"));
        QCOMPARE(admin_->scalar("SELECT COUNT(*) FROM webrentals").toInt(), 0);
    }

    void missingSettingNamed() {
        webtest::Fixture f;
        f.ctx.facts.CodigoAgenciaWeb = "CSOL";
        Run run(f.ctx);
        QVERIFY(!run.exp.ejecutar(true));
        QVERIFY(run.log.last().contains("WEB / SERVIDOR"));
        // Where the user puts it right, by the menus and labels they see.
        QVERIFY(run.log.last().contains("Herramientas > Configuración > Exportación Web > Servidor"));
    }

    // The window and the command-line twin over the same run.
    void windowShowsLogAndProgress() {
        ORB_REQUIRE_MYSQL(server);
        ORB_REQUIRE_RSYNC(rsync);
        QVERIFY(rsync.webModules.contains("xwebCSOL"));
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        webtest::writeJpeg(f.foto("a.jpg"), {800, 600});
        f.property(false, 1, {{"Foto1", "a.jpg"}});
        f.property(true, 2);
        frmExportacionWeb w(f.ctx);
        w.show();
        guardarCaptura(QStringLiteral("exportacion-web"), &w);
        QCOMPARE(accessibilityProblems(&w), QStringList());
        QVERIFY(!w.cmd(frmExportacionWeb::CmdCancelar)->isEnabled());

        bool cancelEnabledDuringRun = false;
        connect(w.prgPropiedades(), &QProgressBar::valueChanged, &w, [&](int hechas) {
            if (hechas == 1)
                cancelEnabledDuringRun = w.cmd(frmExportacionWeb::CmdCancelar)->isEnabled() &&
                                         !w.cmd(frmExportacionWeb::CmdCerrar)->isEnabled();
        });
        QTest::mouseClick(w.cmd(frmExportacionWeb::CmdExportar), Qt::LeftButton);
        QVERIFY(cancelEnabledDuringRun);
        QVERIFY2(w.ultimaCorrecta(), qPrintable(w.txtLog()->toPlainText()));
        const QStringList log = w.txtLog()->toPlainText().split('\n');
        QCOMPARE(log.first(), QString("Iniciando exportación ..."));
        QCOMPARE(log.last(), QString("Subida finalizada."));
        QCOMPARE(w.prgPropiedades()->value(), 2);
        QCOMPARE(w.prgPropiedades()->maximum(), 2);
        QCOMPARE(w.prgFotos()->value(), 1);
        QVERIFY(w.cmd(frmExportacionWeb::CmdCerrar)->isEnabled());
        QVERIFY(!w.cmd(frmExportacionWeb::CmdCancelar)->isEnabled());
    }

    void commandLineExportsAndFailsLoudly() {
        ORB_REQUIRE_MYSQL(server);
        webtest::Fixture f;
        f.configure(server, "B", "CSOL");
        f.ctx.facts.CodigoOficina = "B";
        f.property(false, 1);
        // The command line reads the facts from Orbalia.ini, as installed:
        // make them this test's.
        QVERIFY(GuardarDatosInstalacion(f.inst.path(), f.ctx.facts));
        const QString exe =
            qEnvironmentVariable("ORBALIA_BIN_DIR", ORBALIA_BINARY_DIR) + "/orbalia-webexport";
        QProcess p;
        p.start(exe, {"--home", f.inst.path(), "--no-upload"});
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(out.contains("Exportando propiedad B00001"), qPrintable(out));
        QVERIFY(!out.contains("Iniciando subida"));
        QCOMPARE(admin_->scalar("SELECT ident FROM webproperties WHERE agency = 'CSOL'").toString(),
                 QString("RCSOL-00001"));

        // A wrong password: the user is named, the password never; nothing deleted, nothing uploaded.
        GuardarConfig(f.ctx.db(), "WEB", "PASSWORD", "otra-clave-123");
        p.start(exe, {"--home", f.inst.path()});
        QVERIFY(p.waitForFinished(60000));
        const QString fail = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(p.exitCode(), 1);
        QVERIFY2(fail.contains("El servidor web ha rechazado el usuario «" + server.options.user + "»"),
                 qPrintable(fail));
        for (const char* fuera :
             {"otra-clave-123", "Borrando", "Iniciando subida", "Access denied", "1045", "28000"})
            QVERIFY2(!fail.contains(QLatin1String(fuera)), fuera);
    }
};

QTEST_MAIN(tst_ExportacionWeb)
#include "tst_exportacionweb.moc"
