// Two seats on one agency database: what seat A changes marks seat B's search
// results and matches grid as outdated (they are not run again by themselves);
// Actualizar reads them again and takes the mark away. On the server, a bulk
// change of thousands of rows sends a bounded number of notices.

#include "OtroPuesto.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/db/Database.h"
#include "platform/db/ServerEngine.h"
#include "platform/pg/Connection.h"
#include "search/frmBusPropietarios.h"
#include "search/frmCoincidencias.h"
#include "shell/SchemaAvisos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

using namespace orb;

namespace {

QStringList columna(VentanaBusqueda& b, int col) {
    while (b.grd->model()->canFetchMore({}))
        b.grd->model()->fetchMore({});
    QStringList out;
    for (int i = 0; i < b.grd->model()->rowCount(); ++i)
        out << b.grd->model()->index(i, col).data(Qt::EditRole).toString();
    return out;
}

} // namespace

class TestAvisosRejillas : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst; // seat A
    std::unique_ptr<OtroPuesto> b;
    AppContext& a() { return inst->context(); }
    AppContext& bc() { return b->context(); }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        a().facts.CodigoOficina = "01";
        a().db().executeScript(
            "DELETE FROM Propietarios; DELETE FROM Propiedades; DELETE FROM Clientes;"
            "INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
            "('0100001', '01', 1, FALSE, 'Ana Peña'), ('0100002', '01', 2, FALSE, 'Luis Gil');"
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Precio, Dormitorios) VALUES "
            "('0100001', '01', 1, FALSE, 'En Venta', 200000, 3),"
            "('0100002', '01', 2, FALSE, 'En Venta', 180000, 2);"
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Estado, Nombre, Presupuesto) VALUES "
            "('0100001', '01', 1, FALSE, 'Buscando', 'Marta Núñez', 210000);");
        b = std::make_unique<OtroPuesto>(a());
        if (testservers::onServer())
            QTRY_VERIFY_WITH_TIMEOUT(bc().avisos.escuchando(), 5000);
    }
    void cleanup() {
        b.reset();
        inst.reset();
    }

    // The owners' search: marked, not run again, until Actualizar; the record
    // that was current stays current. Another table's change and an empty
    // result (New search) are not marked.
    void searchResultsAreMarkedAndRefreshClearsTheMark() {
        frmBusPropietarios s(bc(), false);
        QCOMPARE(s.cmdActualizar->accessibleName(), "Actualizar");
        QCOMPARE(s.lblDesactualizado->accessibleName(), "Resultados desactualizados");
        s.cmdFind->click();
        s.cmdNext->click();
        QCOMPARE(columna(s, 1), (QStringList{"Ana Peña", "Luis Gil"}));
        QVERIFY(!s.Desactualizado());

        QSignalSpy oidos(&bc().avisos, &AvisosCambios::cambio);
        a().db().execute("UPDATE Clientes SET Nombre = 'Marta N.' WHERE Cod = '0100001'");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(!oidos.isEmpty(), 1000);
        QCoreApplication::processEvents();
        if (testservers::onServer())
            QVERIFY(!s.Desactualizado()); // the file cannot tell which table changed
        s.cmdActualizar->click();
        QVERIFY(!s.Desactualizado());

        a().db().execute(
            "UPDATE Propietarios SET Nombre = 'Ana Peña Ruiz', Version = coalesce(Version, 0) + 1 "
            "WHERE Cod = '0100001'");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(s.Desactualizado(), 1000);
        QVERIFY(s.lblDesactualizado->isVisibleTo(&s));
        QCOMPARE(columna(s, 1), (QStringList{"Ana Peña", "Luis Gil"}));
        s.cmdActualizar->click();
        QVERIFY(!s.Desactualizado());
        QCOMPARE(columna(s, 1), (QStringList{"Ana Peña Ruiz", "Luis Gil"}));
        QCOMPARE(s.codigoActual(), "0100002");

        s.cmdFindDel->click();
        oidos.clear();
        a().db().execute("UPDATE Propietarios SET Nombre = 'Ana' WHERE Cod = '0100001'");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(!oidos.isEmpty(), 1000);
        QCoreApplication::processEvents();
        QVERIFY(!s.Desactualizado());
        QVERIFY(b->dialogs().boxes().isEmpty());
    }

    // The client's matches: a property priced out of the budget elsewhere
    // marks the grid; Actualizar shows the matches as they are now.
    void matchesGridIsMarkedAndRefreshClearsTheMark() {
        frmCoincidencias g(bc(), frmCoincidencias::Modo::DeCliente, "0100001");
        QCOMPARE(g.grid->rowCount(), 2);
        QCOMPARE(g.cmdActualizar->accessibleName(), "Actualizar");
        QVERIFY(!g.Desactualizado());
        a().db().execute("UPDATE Propiedades SET Precio = 900000, Version = coalesce(Version, 0) + 1 "
                         "WHERE Cod = '0100002'");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(g.Desactualizado(), 1000);
        QCOMPARE(g.lblDesactualizado->text(), "Resultados desactualizados");
        QCOMPARE(g.grid->rowCount(), 2);
        g.cmdActualizar->click();
        QVERIFY(!g.Desactualizado());
        QCOMPARE(g.grid->rowCount(), 1);
        QCOMPARE(g.grid->item(0, 0)->text(), "0100001");
    }

    // Thousands of rows in one transaction (one statement each way, then a
    // loop of single-row statements) send a handful of notices, each under
    // the server's 8000 bytes; the grid is marked all the same.
    void aBulkChangeSendsABoundedNumberOfNotices() {
        if (!testservers::onServer())
            QSKIP("notices are the server's");
        frmBusPropietarios s(bc(), false);
        s.cmdFind->click();
        auto escucha = pg::Connection::connect(bc().db().server()->connection().options());
        escucha->listen(QLatin1String(schema::CanalAvisos));

        db::Database& d = a().db();
        d.beginTransaction();
        d.execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) "
                  "SELECT '02' || lpad(n::text, 5, '0'), '02', n, FALSE, 'Importado ' || n "
                  "FROM generate_series(1, 3000) n");
        d.execute("UPDATE Propietarios SET Nombre = Nombre || ' (revisado)' WHERE Agencia = '02'");
        for (int n = 1; n <= 300; ++n)
            d.execute("UPDATE Propietarios SET Telefono = '600000000' WHERE Cod = ?",
                      {QStringLiteral("02%1").arg(n, 5, 10, QLatin1Char('0'))});
        d.commit();
        // Notices arrive in commit order: the last one here closes the count.
        d.execute("UPDATE Propietarios SET Nombre = 'Fin' WHERE Cod = '0100002'");

        QList<QJsonObject> llegados;
        qsizetype mayor = 0;
        const auto ultimo = [&] {
            for (const pg::Notification& n : escucha->takeNotifications()) {
                mayor = std::max(mayor, n.payload.toUtf8().size());
                llegados << QJsonDocument::fromJson(n.payload.toUtf8()).object();
            }
            return !llegados.isEmpty() && llegados.last().value("filas").toArray().size() == 1 &&
                   llegados.last().value("filas").toArray().at(0).toArray().at(1).toString() == "0100002";
        };
        QTRY_VERIFY_WITH_TIMEOUT(ultimo(), 5000);
        // At most the notices that name rows, the one naming the table alone, and the last one.
        QVERIFY2(llegados.size() <= schema::AvisosConFilasPorTransaccion + 2,
                 qPrintable(QString::number(llegados.size())));
        const qsizetype soloTabla = std::count_if(llegados.begin(), llegados.end(), [](const QJsonObject& o) {
            return o.value("tabla").toString() == "propietarios" && !o.contains("filas");
        });
        QVERIFY(soloTabla >= 1);
        QVERIFY2(mayor < 8000, qPrintable(QString::number(mayor)));
        QTRY_VERIFY_WITH_TIMEOUT(s.Desactualizado(), 1000);
    }
};

QTEST_MAIN(TestAvisosRejillas)
#include "tst_avisosrejillas.moc"
