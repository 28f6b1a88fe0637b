// Visits travel between offices with the office that booked them: replaced
// whole on each import, kept when the file has none, and stored in the
// office's one transaction.

#include "ImportacionPrueba.h"
#include "exchange/ImportacionOficina.h"

#include <QTest>

using namespace prueba;

namespace {

void visita(db::Database& d, const QString& agencia, const QString& propiedad, const QString& fecha,
            const QString& hora, const QVariant& oferta = {}) {
    d.execute(
        "INSERT INTO Visitas (Agencia, CodPropiedad, Alquiler, CodCliente, Fecha, Hora, Duracion, Agente, "
        "Estado, Valoracion, Opinion, Oferta, Anotada) VALUES (?, ?, FALSE, '200001', ?, ?, 45, 'Lucía', "
        "'Realizada', 4, 'Le gusta la terraza', ?, TRUE)",
        {agencia, propiedad, fecha, hora, oferta});
}

// Every field but the row number, which is each database's own.
QStringList visitas(db::Database& d, const QString& agencia) {
    QStringList out;
    for (const db::Row& r :
         d.query("SELECT Agencia, CodPropiedad, Alquiler, CodCliente, Fecha, Hora, Duracion, "
                 "Agente, Estado, Valoracion, Opinion, Oferta, Anotada "
                 "FROM Visitas WHERE Agencia = ? ORDER BY Fecha, Hora",
                 {agencia})) {
        QStringList c;
        for (const db::Value& v : r)
            c << (db::isNull(v) ? QStringLiteral("-") : v.toString());
        out << c.join(u'|');
    }
    return out;
}

} // namespace

class tst_VisitasIntercambio : public QObject, private RegistroImportacion {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ORB_MOTOR_DISPONIBLE();
        iniciarRegistro();
    }
    void init() { vaciarRegistro(); }

    void visitsTravelWithTheOfficeThatBookedThem() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& o = otra.context().db();
        db::Database& d = aqui.context().db();
        visita(o, "2", "200001", "2026-03-02", "10:00", 185000.0);
        visita(o, "2", "200002", "2026-03-02", "11:30");
        // Office 1's own visit in office 2's copy: not office 2's to send.
        visita(o, "1", "100001", "2026-03-03", "09:00");
        // Here: our own visit, and an old one of office 2 that is gone from its file.
        visita(d, "1", "100001", "2026-03-01", "12:00");
        visita(d, "2", "200009", "2026-02-27", "17:00");
        exportarOficina(otra, aqui);
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(visitas(d, "2"), visitas(o, "2"));
        QCOMPARE(visitas(d, "2").size(), 2);
        QCOMPARE(visitas(d, "2").first(), QString("2|200001|false|200001|2026-03-02|10:00|45|Lucía|Realizada|"
                                                  "4|Le gusta la terraza|185000|true"));
        QCOMPARE(visitas(d, "1"),
                 QStringList({"1|100001|false|200001|2026-03-01|12:00|45|Lucía|Realizada|4|Le "
                              "gusta la terraza|-|true"}));
        QVERIFY(r.lineas.contains("Se han importado 2 visitas."));
        // Imported again: the same visits, not twice.
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(visitas(d, "2"), visitas(o, "2"));
    }

    // A file made before visits existed says nothing about them: the office's
    // visits here are kept, not wiped.
    void fileWithoutVisitsKeepsThem() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& d = aqui.context().db();
        visita(d, "2", "200001", "2026-02-27", "17:00");
        exportarOficina(otra, aqui);
        {
            auto x = db::Database::open(aqui.file("Exchange/2/Export.db"), {.durable = false});
            x->execute("DROP TABLE Visitas");
        }
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(visitas(d, "2").size(), 1);
    }

    // The visits are part of the office's transaction: when the import fails
    // after them, the office's old visits are all still there.
    void failedImportLeavesTheVisitsAsTheyWere() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& o = otra.context().db();
        db::Database& d = aqui.context().db();
        visita(o, "2", "200001", "2026-03-02", "10:00");
        visita(d, "2", "200009", "2026-02-27", "17:00");
        const QStringList antes = visitas(d, "2");
        exportarOficina(otra, aqui);
        // The import's last write, the stamp of the file imported, fails.
        disparadorQueFalla(d, "Config", "substr(NEW.Variable, 1, 9) = 'IMPORTADO'", "disco");
        Registro r;
        QVERIFY(!orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(visitas(d, "2"), antes);
    }

    // A visit that breaks a rule of its fields is left out and counted; the others arrive.
    void brokenVisitIsCountedNotImported() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& o = otra.context().db();
        visita(o, "2", "200001", "2026-03-02", "10:00");
        exportarOficina(otra, aqui);
        {
            auto x = db::Database::open(aqui.file("Exchange/2/Export.db"), {.durable = false});
            x->execute(
                "INSERT INTO Visitas (Agencia, CodPropiedad, Fecha, Hora, Duracion) VALUES ('2', '200002', "
                "'2026-03-02', '10:00', 'larga')");
        }
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(visitas(aqui.context().db(), "2").size(), 1);
        QVERIFY2(r.lineas.contains("1 registro de visitas no importado."), qPrintable(r.lineas.join('\n')));
    }
};

QTEST_GUILESS_MAIN(tst_VisitasIntercambio)
#include "tst_visitasintercambio.moc"
