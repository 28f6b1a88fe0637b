#include "IntercambioPrueba.h"
#include "exchange/ExportacionOficina.h"

#include <QImageReader>
#include <QTest>

using namespace prueba;

// The export into the office's exchange folder, read back from the real
// Export.db and the real pictures it leaves there.
class tst_ExportacionOficina : public QObject {
    Q_OBJECT

    static QStringList exportar(TestInstallation& inst, bool* ok = nullptr) {
        Registro r;
        orb::ExportacionOficina e(inst.context(), r.informe());
        const bool hecho = e.Exportar();
        if (ok)
            *ok = hecho;
        return r.lineas;
    }

    static std::unique_ptr<db::Database> exportDb(TestInstallation& inst) {
        return db::Database::open(inst.file("Exchange/" + inst.context().facts.CodigoOficina + "/Export.db"),
                                  {.readOnly = true, .durable = false});
    }

private Q_SLOTS:
    void initTestCase() {
        ORB_MOTOR_DISPONIBLE();
        QVERIFY(registro_.isValid());
        orb::IniciarLog(registro_.path());
    }

    void principalExportsCataloguesAndOwnRowsInOrder() {
        TestInstallation inst(oficina("1", true));
        db::Database& d = inst.context().db();
        catalogo(d, 7, "Chalet");
        fila(d, "Propiedades", "100001", "1");
        fila(d, "Propiedades", "200001", "2"); // another office's: stays home
        fila(d, "Propietarios", "100001", "1");
        fila(d, "Clientes", "100001", "1");
        fila(d, "Clientes", "100002", "1");
        bool ok = false;
        const QStringList log = exportar(inst, &ok);
        QVERIFY(ok);
        QCOMPARE(log,
                 QStringList({"Iniciando exportación ...", "Exportando tipos...", "Se han exportado 1 tipos.",
                              "Exportando localidades...", "Se han exportado 1 localidades.",
                              "Exportando areas ...", "Exportando propiedades...",
                              "Se han exportado 1 propiedades.", "Exportando propietarios...",
                              "Se han exportado 1 propietarios.", "Exportando clientes...",
                              "Se han exportado 2 clientes.", "Exportación finalizada."}));
        auto x = exportDb(inst);
        QCOMPARE(tabla(*x, "Propiedades"), tabla(d, "Propiedades", "WHERE Agencia = '1'"));
        QCOMPARE(tabla(*x, "Clientes"), tabla(d, "Clientes"));
        QCOMPARE(tabla(*x, "Tipos"), tabla(d, "Tipos"));
    }

    void secondaryOfficeLeavesCataloguesOutAndLogsNoEmptyCounts() {
        TestInstallation inst(oficina("2", false));
        db::Database& d = inst.context().db();
        catalogo(d, 7, "Chalet");
        fila(d, "Propiedades", "200001", "2");
        const QStringList log = exportar(inst);
        QVERIFY(!log.contains("Exportando tipos..."));
        // No clients: the start message and no count line.
        QCOMPARE(
            log.mid(log.indexOf("Exportando propietarios...")),
            QStringList({"Exportando propietarios...", "Exportando clientes...", "Exportación finalizada."}));
        auto x = exportDb(inst);
        for (const char* t : {"Tipos", "Localidades", "Areas", "Clientes"})
            QCOMPARE(x->scalar(QStringLiteral("SELECT count(*) FROM %1").arg(t)).toInt(), 0);
        QCOMPARE(x->scalar("SELECT count(*) FROM Propiedades").toInt(), 1);
    }

    // The office's folder is emptied and mirrored onto the server: a code that
    // is not letters and digits, or a folder that leads out of Exchange/, stops
    // the export before anything is deleted.
    void unusableOfficeFolderDeletesNothing_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("motivo");
        const QString clave = " Corrija la clave CodigoOficina de Orbalia.ini.";
        QTest::newRow("dos puntos") << ".."
                                    << "El código de oficina \"..\" solo puede tener letras y cifras." +
                                           clave;
        QTest::newRow("punto") << "."
                               << "El código de oficina \".\" solo puede tener letras y cifras." + clave;
        QTest::newRow("barra") << "../Fotos"
                               << "solo puede tener letras y cifras";
        QTest::newRow("vacío") << ""
                               << "Falta el código de esta oficina." + clave;
        QTest::newRow("enlace fuera") << "<enlace>"
                                      << "no está dentro de";
    }
    void unusableOfficeFolderDeletesNothing() {
        QFETCH(QString, codigo);
        QFETCH(QString, motivo);
        TestInstallation inst(oficina("1", true));
        fila(inst.context().db(), "Propiedades", "100001", "1", "f.jpg");
        foto(inst.context().RutaFotos + "f.jpg", {640, 480});
        escribir(inst.file("Exchange/otra.txt"), "de otra oficina");
        if (codigo == "<enlace>") {
            codigo = "E1";
            QVERIFY(QFile::link(inst.path(), inst.file("Exchange/E1")));
        }
        const QStringList antes = ficherosInstalacion(inst.path());
        // As if start-up had let it through.
        inst.context().facts.CodigoOficina = codigo;
        bool ok = true;
        const QStringList log = exportar(inst, &ok);
        QVERIFY(!ok);
        QCOMPARE(ficherosInstalacion(inst.path()), antes);
        QVERIFY2(log.last().startsWith("No se exporta: ") && log.last().contains(motivo) &&
                     log.last().endsWith(" No se ha borrado nada."),
                 qPrintable(log.last()));
    }

    // The file records which office made it, when, and how many rows of each table it holds.
    void exportRecordsItsOfficeMomentAndRows() {
        for (const bool plantillaAntigua : {false, true}) {
            TestInstallation inst(oficina("1", true));
            if (plantillaAntigua) // made before the record existed
                db::Database::open(inst.file("ExportSchema.db"), {.durable = false})
                    ->execute("DROP TABLE Intercambio");
            db::Database& d = inst.context().db();
            catalogo(d, 7, "Chalet");
            fila(d, "Propiedades", "100001", "1");
            fila(d, "Propiedades", "200001", "2");
            fila(d, "Clientes", "100001", "1");
            fila(d, "Clientes", "100002", "1");
            const QDateTime desde = QDateTime::currentDateTimeUtc().addMSecs(-1);
            bool ok = false;
            exportar(inst, &ok);
            QVERIFY(ok);
            const QDateTime hasta = QDateTime::currentDateTimeUtc().addMSecs(1);
            auto x = exportDb(inst);
            QCOMPARE(x->scalar("SELECT count(*) FROM Intercambio").toInt(), 1);
            const db::Row r = x->query("SELECT Oficina, Fecha, Tipos, Localidades, Areas, Propiedades, "
                                       "Propietarios, Clientes FROM Intercambio")
                                  .first();
            QCOMPARE(r.value(0).toString(), "1");
            const QDateTime fecha = orb::LeerSello(r.value(1).toString());
            QVERIFY2(fecha >= desde && fecha <= hasta, qPrintable(r.value(1).toString()));
            QStringList filas;
            for (int i = 2; i < 8; ++i)
                filas << r.value(i).toString();
            QCOMPARE(filas, QStringList({"1", "1", "0", "1", "0", "2"}));
        }
    }

    void eachPhotographFileGivesOnePicture() {
        TestInstallation inst(oficina("1", true));
        db::Database& d = inst.context().db();
        const QString fotos = inst.context().RutaFotos;
        foto(fotos + "grande.jpg", {1600, 1200});
        foto(fotos + "pequena.jpg", {400, 300});
        fila(d, "Propiedades", "100001", "1", "grande.jpg", "pequena.jpg");
        fila(d, "Propiedades", "100002", "1", "grande.jpg", "falta.jpg"); // same file; a missing one
        fila(d, "Propiedades", "100003", "1", "../Orbalia.db");           // outside the photo folder
        escribir(fotos + "danada.jpg", QByteArray(5000, '\x33'));         // not a picture
        fila(d, "Propiedades", "100004", "1", "danada.jpg");
        // Files of an earlier export do not survive the next one.
        escribir(inst.file("Exchange/1/viejo.jpg"), "x");
        const QStringList log = exportar(inst);
        QCOMPARE(log.filter("Procesando foto"),
                 QStringList({"- Procesando foto grande.jpg", "- Procesando foto pequena.jpg",
                              "- Procesando foto danada.jpg"}));
        // The image library's words stay out of the user's log.
        QCOMPARE(log.filter("No se ha podido procesar"),
                 QStringList({"No se ha podido procesar la foto danada.jpg: el archivo " +
                              QDir::toNativeSeparators(fotos + "danada.jpg") +
                              " no es una imagen que se pueda leer o está dañado."}));
        QVERIFY(registroTecnico().contains("danada.jpg"));
        const int desde = int(log.indexOf("Exportando propiedades..."));
        QVERIFY(log.indexOf("- Procesando foto grande.jpg") > desde);
        QVERIFY(log.indexOf("- Procesando foto pequena.jpg") <
                log.indexOf("Se han exportado 4 propiedades."));
        QStringList ficheros = QDir(inst.file("Exchange/1")).entryList(QDir::Files, QDir::Name);
        QCOMPARE(ficheros, QStringList({"Export.db", "grande.jpg", "pequena.jpg"}));
        QCOMPARE(QImageReader(inst.file("Exchange/1/grande.jpg")).size(), QSize(800, 600));
        QVERIFY(QImageReader(inst.file("Exchange/1/pequena.jpg")).canRead());
    }

    // A missing template, or one lacking a field, stops the export naming what is wrong.
    void brokenTemplateStopsWithTheReason() {
        for (const bool falta : {true, false}) {
            TestInstallation inst(oficina("1", true));
            if (falta)
                QVERIFY(QFile::remove(inst.file("ExportSchema.db")));
            else
                db::Database::open(inst.file("ExportSchema.db"), {.durable = false})
                    ->execute("ALTER TABLE Clientes DROP COLUMN Email");
            bool ok = true;
            const QStringList log = exportar(inst, &ok);
            QVERIFY(!ok);
            QVERIFY(!log.contains("Exportación finalizada."));
            const QString motivo = falta ? "ExportSchema.db" : "El campo Email de la tabla Clientes";
            QVERIFY2(log.last().contains(motivo), qPrintable(log.last()));
        }
    }

private:
    QTemporaryDir registro_;
};

QTEST_GUILESS_MAIN(tst_ExportacionOficina)
#include "tst_exportacionoficina.moc"
