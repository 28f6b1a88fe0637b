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

    void emptyOfficeCodeSelectsEmptyNotNull() {
        TestInstallation inst(oficina("", false));
        db::Database& d = inst.context().db();
        fila(d, "Propiedades", "00001", "");
        fila(d, "Propiedades", "00002", QVariant());
        fila(d, "Propiedades", "X0003", "X");
        exportar(inst);
        auto x = exportDb(inst);
        QCOMPARE(tabla(*x, "Propiedades"), tabla(d, "Propiedades", "WHERE Cod = '00001'"));
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
        // Files of an earlier export do not survive the next one.
        escribir(inst.file("Exchange/1/viejo.jpg"), "x");
        const QStringList log = exportar(inst);
        QCOMPARE(log.filter("Procesando foto"),
                 QStringList({"- Procesando foto grande.jpg", "- Procesando foto pequena.jpg"}));
        const int desde = int(log.indexOf("Exportando propiedades..."));
        QVERIFY(log.indexOf("- Procesando foto grande.jpg") > desde);
        QVERIFY(log.indexOf("- Procesando foto pequena.jpg") <
                log.indexOf("Se han exportado 3 propiedades."));
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
};

QTEST_GUILESS_MAIN(tst_ExportacionOficina)
#include "tst_exportacionoficina.moc"
