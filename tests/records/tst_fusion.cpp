// Merging two records of the same person: the values chosen field by field,
// every reference moved to the kept code in one transaction, the removed
// record deleted, and nothing changed at all when any step fails.

#include "Capturas.h"
#include "FallosProvocados.h"
#include "ModalUser.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "records/CamposPersona.h"
#include "records/FichaPersona.h"
#include "records/Fusion.h"
#include "records/dlgFusion.h"
#include "search/DialogoConsulta.h"
#include "search/Lookups.h"

#include <QButtonGroup>
#include <QTableView>
#include <QtTest>

using namespace orb;

class TestFusion : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    db::Database& base() { return ctx().db(); }

    // Rows of every referring table per code, and both records whole.
    QStringList foto(TablaFusion t) {
        QStringList out;
        for (const Referencia& r : Referencias) {
            if (r.de != t)
                continue;
            for (const db::Row& f : base().query(
                     QString("SELECT %1, count(*) FROM %2 GROUP BY %1 ORDER BY %1").arg(r.columna, r.tabla)))
                out << QString("%1 %2 %3").arg(r.tabla, f.value(0).toString(), f.value(1).toString());
        }
        for (const db::Row& f : base().query("SELECT * FROM " + NombreTabla(t) + " ORDER BY Cod")) {
            QStringList v;
            for (const db::Value& x : f)
                v << x.toString();
            out << v.join('|');
        }
        return out;
    }
    int filas(const QString& tabla, const QString& columna, const QString& cod) {
        return base()
            .scalar(QString("SELECT count(*) FROM %1 WHERE %2 = ?").arg(tabla, columna), {cod})
            .toInt();
    }

    void dosClientes() {
        base().execute(
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre, Movil, Email, FechaAlta, "
            "Comentarios) VALUES "
            "('0100001', '01', 1, FALSE, 'Klaus Müller', '600112233', '', '2024-01-10', 'Quiere vistas'), "
            "('0100002', '01', 2, FALSE, 'K. Muller', '', 'klaus@web.de', '2024-03-01', 'Llamó por el "
            "portal'), "
            "('0100003', '01', 3, FALSE, 'Otra persona', '', '', '2024-01-01', '')");
        // The removed client's history, one pair of each kind shared with the kept one.
        base().execute("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, Actividad) VALUES "
                       "('0100050', '2024-03-02', '0100002', 'K. Muller', 'Visita'), "
                       "('0100051', '2024-03-03', '0100002', 'K. Muller', 'Llamada'), "
                       "('0100050', '2024-01-11', '0100001', 'Klaus Müller', 'Visita'), "
                       "('0100050', '2024-01-12', '0100003', 'Otra persona', 'Visita')");
        base().execute("INSERT INTO ClientesZonas (CodCliente, CodLocalidad, CodArea) VALUES "
                       "('0100001', 3, NULL), ('0100002', 3, NULL), ('0100002', 4, 7), ('0100003', 3, NULL)");
        for (const char* t : {"PropiedadesEnviadas", "PropiedadesDescartadas", "PropiedadesVistas"})
            base().execute(
                QString("INSERT INTO %1 (CodCliente, CodPropiedad, Fecha) VALUES "
                        "('0100001', '0100050', '2024-01-11'), ('0100002', '0100050', '2024-03-02'), "
                        "('0100002', '0100051', '2024-03-03'), ('0100003', '0100051', '2024-03-03')")
                    .arg(QLatin1String(t)));
    }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        for (const char* t : {"Propiedades", "Propietarios", "Clientes", "Actividades", "ClientesZonas",
                              "PropiedadesEnviadas", "PropiedadesDescartadas", "PropiedadesVistas"})
            base().execute(QStringLiteral("DELETE FROM %1").arg(t));
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() {
        ctx().lookups = nullptr;
        inst.reset();
    }

    void defaultsTakeTheNonEmptyValueThenTheMostRecentRecords() {
        dosClientes();
        QHash<QString, bool> delQueSale;
        for (const CampoFusion& c : CamposFusion(base(), TablaFusion::Clientes, "0100001", "0100002"))
            delQueSale.insert(c.campo, c.delQueSale);
        QCOMPARE(delQueSale.value("Movil"), false); // only the kept one has it
        QCOMPARE(delQueSale.value("Email"), true);  // only the removed one has it
        QCOMPARE(delQueSale.value("Nombre"), true); // both: the removed one came in later
        QCOMPARE(delQueSale.value("Dni"), false);   // neither
        // Seen from the other record, the later one is the kept one.
        for (const CampoFusion& c : CamposFusion(base(), TablaFusion::Clientes, "0100002", "0100001"))
            if (c.campo == "Nombre")
                QCOMPARE(c.delQueSale, false);
    }

    void aClientsMergeMovesEveryReferenceAndDeletesTheRemovedOne() {
        dosClientes();
        QList<CampoFusion> campos = CamposFusion(base(), TablaFusion::Clientes, "0100001", "0100002");
        for (CampoFusion& c : campos)
            if (c.campo == "Nombre")
                c.delQueSale = false; // the agent keeps the full name
        Fusionar(base(), TablaFusion::Clientes, "01", "0100001", "0100002", campos);

        QCOMPARE(base().scalar("SELECT count(*) FROM Clientes WHERE Cod = '0100002'").toInt(), 0);
        const db::Row kept =
            base()
                .query("SELECT Nombre, Movil, Email, Comentarios FROM Clientes WHERE Cod = '0100001'")
                .first();
        QCOMPARE(kept.value(0).toString(), QString("Klaus Müller"));
        QCOMPARE(kept.value(1).toString(), QString("600112233"));
        QCOMPARE(kept.value(2).toString(), QString("klaus@web.de"));
        QCOMPARE(kept.value(3).toString().split('\n'),
                 (QStringList{"Quiere vistas", "Llamó por el portal",
                              QDate::currentDate().toString("dd/MM/yyyy") +
                                  ": fusionado con 0100002 (K. Muller), que se ha eliminado."}));
        // Per table: nothing left on the removed code; the kept code has both
        // records' rows, a row both had only once; the other client untouched.
        const QList<std::tuple<const char*, int>> esperado{{"Actividades", 3},
                                                           {"ClientesZonas", 2},
                                                           {"PropiedadesEnviadas", 2},
                                                           {"PropiedadesDescartadas", 2},
                                                           {"PropiedadesVistas", 2}};
        for (const auto& [tabla, n] : esperado) {
            QCOMPARE(filas(tabla, "CodCliente", "0100002"), 0);
            QCOMPARE(filas(tabla, "CodCliente", "0100001"), n);
            QCOMPARE(filas(tabla, "CodCliente", "0100003"), 1);
        }
        QCOMPARE(
            base()
                .scalar("SELECT group_concat(DISTINCT Cliente) FROM Actividades WHERE CodCliente = '0100001'")
                .toString(),
            QString("Klaus Müller"));
    }

    void anOwnersMergeMovesTheirProperties() {
        base().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
                       "('0100001', '01', 1, FALSE, 'Ana'), ('0100002', '01', 2, FALSE, 'Ana Pérez')");
        base().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, CodPropietario) VALUES "
            "('0100010', '01', 10, FALSE, 'En Venta', '0100002'), ('0100011', '01', 11, FALSE, 'En Venta', "
            "'0100002'), "
            "('0100012', '01', 12, FALSE, 'En Venta', '0100001')");
        Fusionar(base(), TablaFusion::Propietarios, "01", "0100001", "0100002",
                 CamposFusion(base(), TablaFusion::Propietarios, "0100001", "0100002"));
        QCOMPARE(filas("Propiedades", "CodPropietario", "0100001"), 3);
        QCOMPARE(filas("Propietarios", "Cod", "0100002"), 0);
    }

    // A failure at any step: the trigger refuses one of the writes.
    void aFailureHalfWayLeavesBothRecordsAsTheyWere_data() {
        QTest::addColumn<QString>("disparador");
        QTest::addColumn<QString>("tabla");
        QTest::newRow("al mover las vistas") << "BEFORE UPDATE"
                                             << "PropiedadesVistas";
        QTest::newRow("al quitar una zona repetida") << "BEFORE DELETE"
                                                     << "ClientesZonas";
        QTest::newRow("al borrar el cliente") << "BEFORE DELETE"
                                              << "Clientes";
    }
    void aFailureHalfWayLeavesBothRecordsAsTheyWere() {
        QFETCH(QString, disparador);
        QFETCH(QString, tabla);
        dosClientes();
        fallos::provocar(base(), "falla", disparador, tabla);
        const QStringList antes = foto(TablaFusion::Clientes);
        QVERIFY(antes.contains("PropiedadesVistas 0100002 2"));
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 Fusionar(base(), TablaFusion::Clientes, "01", "0100001", "0100002",
                                          CamposFusion(base(), TablaFusion::Clientes, "0100001", "0100002")));
        QVERIFY(!base().inTransaction());
        QCOMPARE(foto(TablaFusion::Clientes), antes);
    }

    void onlyRecordsOfThisOfficeMerge() {
        dosClientes();
        base().execute("UPDATE Clientes SET Agencia = '02' WHERE Cod = '0100002'");
        const QStringList antes = foto(TablaFusion::Clientes);
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 Fusionar(base(), TablaFusion::Clientes, "01", "0100001", "0100002",
                                          CamposFusion(base(), TablaFusion::Clientes, "0100001", "0100002")));
        QCOMPARE(foto(TablaFusion::Clientes), antes);
        // From the window the refusal is told before anything is asked.
        int dialogos = 0;
        ModalUser<dlgFusion> usuario([&](dlgFusion* d) {
            ++dialogos;
            d->cmdCancelar->click();
        });
        QVERIFY(!FusionarConDialogo(ctx(), nullptr, TablaFusion::Clientes, "0100001", "0100002"));
        QCOMPARE(dialogos, 0);
        QCOMPARE(inst->dialogs().texts(),
                 QStringList{"No puede manipularse esta información porque no pertenece a esta oficina"});
        QCOMPARE(foto(TablaFusion::Clientes), antes);
    }

    // The whole path a user takes: Fusionar con… in the window, the duplicate
    // picked in the lookup, one value changed in the dialog.
    void fromTheClientsWindowTheAgentPicksAndChooses() {
        dosClientes();
        Lookups lookups(ctx());
        ctx().lookups = &lookups;
        ModalUser<DialogoConsulta> busca([](DialogoConsulta* d) {
            QAbstractItemModel* m = d->grd->model();
            for (int i = 0; i < m->rowCount(); ++i)
                if (m->index(i, 0).data().toString() == "0100002")
                    d->grd->setCurrentIndex(m->index(i, 0));
            d->cmd[DialogoConsulta::Aceptar]->click();
        });
        bool cancelar = true;
        ModalUser<dlgFusion> elige([&](dlgFusion* d) {
            d->resize(680, 560);
            guardarCaptura("fusion", d);
            if (cancelar) {
                d->cmdCancelar->click();
                return;
            }
            // Movil: take the removed record's (empty) value instead of the kept one.
            d->findChild<QAbstractButton*>("optMovil(1)")->click();
            d->cmdAceptar->click();
        });
        frmClientes w(ctx(), false);
        w.show();
        QCOMPARE(w.txt[persona::Cod]->Text(), QString("0100001"));
        const QStringList antes = foto(TablaFusion::Clientes);
        w.butFusionar->click();
        QCOMPARE(elige.vistos(), 1);
        QCOMPARE(foto(TablaFusion::Clientes), antes); // cancelled: nothing changed
        cancelar = false;
        w.butFusionar->click();
        QCOMPARE(filas("Clientes", "Cod", "0100002"), 0);
        QCOMPARE(base().scalar("SELECT Movil FROM Clientes WHERE Cod = '0100001'").toString(), QString());
        QCOMPARE(filas("PropiedadesVistas", "CodCliente", "0100001"), 2);
        // The window shows the kept record as stored now.
        QCOMPARE(w.txt[persona::Cod]->Text(), QString("0100001"));
        QCOMPARE(w.txt[persona::Email]->Text(), QString("klaus@web.de"));
    }
};

QTEST_MAIN(TestFusion)
#include "tst_fusion.moc"
