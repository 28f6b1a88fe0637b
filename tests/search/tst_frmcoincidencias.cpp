// The client's tab "Preferencias" and the two match grids, driven as a user
// would, on a real installation: what is stored, what is sent to the mail
// client and what the property logs say afterwards.

#include "Accessibility.h"
#include "Capturas.h"
#include "FakeMail.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "records/FichaPersona.h"
#include "records/PreferenciasCliente.h"
#include "records/frmPropiedades.h"
#include "search/AvisoCoincidencias.h"
#include "search/Coincidencias.h"
#include "search/frmCoincidencias.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThreadPool>
#include <QtTest>

using namespace orb;
namespace co = orb::coincidencias;

class TestFrmCoincidencias : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<TestNavigator> nav;
    AppContext& ctx() { return inst->context(); }
    db::Database& d() { return ctx().db(); }

    frmCoincidencias* ultima() {
        return nav->reports.isEmpty() ? nullptr : qobject_cast<frmCoincidencias*>(nav->reports.last().data());
    }
    void elegirFilas(QTableWidget* g, const QList<int>& filas) {
        g->clearSelection();
        for (int f : filas)
            g->selectionModel()->select(g->model()->index(f, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        g->setCurrentCell(filas.first(), 0, QItemSelectionModel::NoUpdate);
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        nav = std::make_unique<TestNavigator>(ctx());
        ctx().facts.CodigoOficina = "01";
        d().executeScript(
            "INSERT INTO Tipos (Cod, Nombre) VALUES (1, 'Piso');"
            "INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Marbella'), (2, 'Nerja');"
            "INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (1, 'Elviria', 1), (2, 'Maro', 2);"
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, CodTipo, CodLocalidad, "
            "CodArea, "
            "Precio, Dormitorios) VALUES "
            "('0100001', '01', 1, FALSE, 'En Venta', 1, 1, 1, 200000, 3),"
            "('0100002', '01', 2, FALSE, 'En Venta', 1, 2, 2, 180000, 2),"
            "('0100003', '01', 3, FALSE, 'Vendida', 1, 1, 1, 150000, 3);"
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Estado, Nombre, Email, Presupuesto) "
            "VALUES "
            "('0100001', '01', 1, FALSE, 'Buscando', 'Ana Peña', 'ana@example.com', 210000),"
            "('0100002', '01', 2, FALSE, 'Buscando', 'Sin Correo', '', 250000);");
    }
    void cleanup() {
        nav.reset();
        inst.reset();
    }

    void preferencesAreStoredWithTheClient() {
        frmClientes w(ctx(), false);
        QVERIFY2(accessibilityProblems(&w).isEmpty(), qPrintable(accessibilityProblems(&w).join(u'\n')));
        PreferenciasCliente* p = w.preferencias;
        w.cmdEdit->click();
        w.txt[cli::PresupuestoMinimo]->setText("150000");
        w.txt[cli::DormitoriosMinimo]->setText("3");
        p->chkPiscina->click();
        p->cboLocalidad->setCurrentIndex(p->cboLocalidad->findText("Marbella"));
        p->cboZona->setCurrentIndex(p->cboZona->findText("Elviria"));
        p->cmdAñadirZona->click();
        p->cboLocalidad->setCurrentIndex(p->cboLocalidad->findText("Nerja"));
        QCOMPARE(p->cboZona->currentText(), "(toda la localidad)");
        p->cmdAñadirZona->click();
        p->cmdAñadirZona->click(); // the same place once
        QCOMPARE(p->grdZonas->rowCount(), 2);
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().texts().isEmpty(), qPrintable(inst->dialogs().texts().join(u'\n')));
        QCOMPARE(d().query("SELECT PresupuestoMinimo, DormitoriosMinimo, QuierePiscina, "
                           "QuiereGaraje FROM Clientes WHERE Cod = '0100001'")
                     .first(),
                 (db::Row{150000.0, 3, true, false}));
        QCOMPARE(d().query("SELECT CodLocalidad, CodArea FROM ClientesZonas WHERE CodCliente = "
                           "'0100001' ORDER BY Cod"),
                 (QList<db::Row>{{1, 1}, {2, QVariant()}}));

        // Moving away and back shows the stored places; the next client has none.
        w.cmdNext->click();
        QCOMPARE(p->grdZonas->rowCount(), 0);
        w.cmdPrev->click();
        QCOMPARE(p->zonas(), (QList<QPair<qint64, qint64>>{{1, 1}, {2, 0}}));

        // A place removed and a cancel: nothing changes.
        w.cmdEdit->click();
        p->grdZonas->setCurrentCell(0, 0);
        p->cmdQuitarZona->click();
        w.cmdCancel->click();
        QCOMPARE(p->grdZonas->rowCount(), 2);
        QCOMPARE(d().scalar("SELECT count(*) FROM ClientesZonas").toInt(), 2);
    }

    void placesGoInTheConfirmsTransaction() {
        // The places cannot be written: the client's row must not be either.
        if (testservers::onServer())
            d().executeScript("CREATE FUNCTION no_zonas() RETURNS trigger LANGUAGE plpgsql AS "
                              "$$BEGIN RAISE EXCEPTION 'no'; END$$; CREATE TRIGGER NoZonas BEFORE INSERT ON "
                              "ClientesZonas FOR EACH ROW EXECUTE FUNCTION no_zonas()");
        else
            d().execute("CREATE TRIGGER NoZonas BEFORE INSERT ON ClientesZonas "
                        "BEGIN SELECT RAISE(ABORT, 'no'); END");
        frmClientes w(ctx(), false);
        w.cmdEdit->click();
        w.txt[2]->setText("Ana Peña Ruiz");
        w.preferencias->añadirZona(2, 0);
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QCOMPARE(d().scalar("SELECT Nombre FROM Clientes WHERE Cod = '0100001'").toString(), "Ana Peña");
        // A minimum of bedrooms that is not a number is refused naming the box; nothing is written.
        d().execute(testservers::onServer() ? "DROP TRIGGER NoZonas ON ClientesZonas"
                                            : "DROP TRIGGER NoZonas");
        inst->dialogs().clear();
        w.txt[cli::DormitoriosMinimo]->setText("dos");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QVERIFY2(inst->dialogs().texts().first().contains("Dormitorios mínimos"),
                 qPrintable(inst->dialogs().texts().first()));
        QCOMPARE(d().scalar("SELECT count(*) FROM ClientesZonas").toInt(), 0);
    }

    void clientMatchesAreSentWithEveryDossier() {
        FakeMail mail;
        frmClientes w(ctx(), false);
        w.butCoincidencias->click();
        frmCoincidencias* g = ultima();
        QVERIFY(g);
        QCOMPARE(nav->shown.last(), "usrShowReport:Propiedades que encajan con Ana Peña");
        QVERIFY2(accessibilityProblems(g).isEmpty(), qPrintable(accessibilityProblems(g).join(u'\n')));
        QCOMPARE(g->grid->rowCount(), 2);
        QCOMPARE(g->grid->item(0, 0)->text(), "0100002"); // cheaper first at equal score
        QVERIFY(g->grid->item(0, 8)->text().startsWith("Precio 180.000 €"));
        QCOMPARE(g->grid->item(0, 7)->text(), "Nueva");

        elegirFilas(g->grid, {0, 1});
        g->cmdEnviar->click();
        QVERIFY2(inst->dialogs().texts().isEmpty(), qPrintable(inst->dialogs().texts().join(u'\n')));
        QCOMPARE(mail.calls().size(), 1);
        const QStringList args = mail.calls().first();
        QVERIFY(args.contains("\"Ana Peña\" <ana@example.com>") ||
                args.contains("Ana Peña <ana@example.com>"));
        QStringList adjuntos;
        for (qsizetype i = 0; i + 1 < args.size(); ++i)
            if (args[i] == u"--attach")
                adjuntos << args[i + 1];
        QCOMPARE(adjuntos.size(), 2);
        for (const QString& f : adjuntos) {
            QFile pdf(f);
            QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(f));
            QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        }
        QVERIFY(adjuntos[0].endsWith("0100002.pdf"));
        QVERIFY(adjuntos[1].endsWith("0100001.pdf"));
        // One log line per property with the client's code, and both marked sent.
        QCOMPARE(d().query("SELECT Propiedad, CodCliente, Actividad FROM Actividades ORDER BY Propiedad"),
                 (QList<db::Row>{{"0100001", "0100001", "Enviada a Ana Peña"},
                                 {"0100002", "0100001", "Enviada a Ana Peña"}}));
        QCOMPARE(g->grid->item(0, 7)->text(), "Enviada");
        QCOMPARE(g->grid->item(1, 7)->text(), "Enviada");

        // Go to opens the property.
        g->grid->setCurrentCell(1, 0);
        g->cmdIr->click();
        QCOMPARE(nav->irA, QStringList{"Propiedad 0 0100001"});
    }

    void noAddressNoMail() {
        FakeMail mail;
        frmCoincidencias g(ctx(), frmCoincidencias::Modo::DeCliente, "0100002");
        QCOMPARE(g.grid->rowCount(), 2);
        elegirFilas(g.grid, {0});
        g.cmdEnviar->click();
        QVERIFY(mail.calls().isEmpty());
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QVERIFY(inst->dialogs().texts().first().contains("Email"));
        QCOMPARE(d().scalar("SELECT count(*) FROM Actividades").toInt(), 0);
        QCOMPARE(d().scalar("SELECT count(*) FROM PropiedadesEnviadas").toInt(), 0);
    }

    void notInterestedIsHiddenAndCanBeTakenBack() {
        frmCoincidencias g(ctx(), frmCoincidencias::Modo::DeCliente, "0100001");
        elegirFilas(g.grid, {0});
        g.cmdNoInteresa->click();
        QCOMPARE(g.grid->rowCount(), 1);
        QCOMPARE(g.grid->item(0, 0)->text(), "0100001");
        // A new window does not bring it back.
        frmCoincidencias otra(ctx(), frmCoincidencias::Modo::DeCliente, "0100001");
        QCOMPARE(otra.grid->rowCount(), 1);
        // Shown on request, and taken back from the same grid.
        g.chkDescartadas->setChecked(true);
        QCOMPARE(g.grid->rowCount(), 2);
        QCOMPARE(g.grid->item(0, 7)->text(), "No le interesa");
        elegirFilas(g.grid, {0});
        QCOMPARE(g.cmdNoInteresa->text(), "Le vuelve a &interesar");
        g.cmdNoInteresa->click();
        g.chkDescartadas->setChecked(false);
        QCOMPARE(g.grid->rowCount(), 2);
    }

    // The status bar counts in the background on start-up and again when an office
    // import ends; the command in Herramientas lists the clients and goes to one.
    void statusBarTellsWhichWaitingClientsHaveNews() {
        QMainWindow principal;
        QMenu* herramientas = principal.menuBar()->addMenu("&Herramientas");
        auto* aviso = new AvisoCoincidencias(ctx(), principal);
        QVERIFY(herramientas->actions().contains(aviso->accion));
        QTRY_COMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(2));

        // Both have seen what suits them; an import ends and the count follows.
        for (const QString c : {"0100001", "0100002"})
            co::MarcarVistas(d(), c, {"0100001", "0100002"});
        ctx().cambios.avisar("Propiedades", {}); // as an office import tells
        QTRY_COMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(0));
        QVERIFY(aviso->clientes().isEmpty());

        // A property only the second client can afford, then the command.
        d().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Precio) "
                    "VALUES ('0100004', '01', 4, FALSE, 'En Venta', 240000)");
        aviso->accion->trigger();
        QCOMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(1));
        auto* lista = qobject_cast<frmClientesNovedades*>(nav->reports.last().data());
        QVERIFY(lista);
        QVERIFY2(accessibilityProblems(lista).isEmpty(),
                 qPrintable(accessibilityProblems(lista).join(u'\n')));
        QCOMPARE(lista->grid->rowCount(), 1);
        QCOMPARE(lista->grid->item(0, 1)->text(), "Sin Correo");
        lista->cmdIr->click();
        QCOMPARE(nav->irA, QStringList{"Cliente 0 0100002"});

        // A background count that ends after the command's own count is older: it is let pass.
        aviso->actualizar();
        QThreadPool::globalInstance()->waitForDone();
        co::MarcarVistas(d(), "0100002", {"0100004"});
        aviso->accion->trigger();
        QCOMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(0));
        QTest::qWait(50);
        QCOMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(0));
        QVERIFY(aviso->clientes().isEmpty());
    }

    // The demo's clients come with wishes, so the grids have something to show
    // there. ORBALIA_SCREENSHOTS=folder keeps pictures of the tab and both grids.
    void demoClientsHaveWishesThatMatch() {
        nav.reset();
        orb::install::InstallOptions o;
        o.demoProperties = 400;
        o.demoPhotos = false;
        o.facts = orb::install::demoFacts();
        inst = std::make_unique<TestInstallation>(o);
        nav = std::make_unique<TestNavigator>(ctx());
        QVERIFY(d().scalar("SELECT count(*) FROM ClientesZonas").toInt() > 50);
        QVERIFY(d().scalar("SELECT count(*) FROM Clientes WHERE DormitoriosMinimo > 0").toInt() > 50);
        const QString cliente =
            d().scalar("SELECT c.Cod FROM Clientes c WHERE c.Estado = 'Buscando' AND "
                       "c.Alquiler = FALSE AND EXISTS (SELECT 1 FROM ClientesZonas z WHERE "
                       "z.CodCliente = c.Cod) ORDER BY c.Presupuesto DESC LIMIT 1")
                .toString();
        frmCoincidencias g(ctx(), frmCoincidencias::Modo::DeCliente, cliente);
        QVERIFY2(g.grid->rowCount() > 0, qPrintable(cliente));
        const QString propiedad = g.lista().first().codPropiedad;
        frmCoincidencias p(ctx(), frmCoincidencias::Modo::DePropiedad, propiedad);
        QVERIFY(p.grid->rowCount() > 0);
        frmClientes w(ctx(), false);
        w.IrRegistro(cliente);
        w.preferencias->tabs->setCurrentIndex(1);
        QVERIFY(w.preferencias->grdZonas->rowCount() > 0);
        if (qEnvironmentVariableIsSet("ORBALIA_SCREENSHOTS")) {
            for (QWidget* v : std::initializer_list<QWidget*>{&w, &g, &p}) {
                v->resize(v == &w ? QSize(700, 540) : QSize(900, 420));
                v->show();
                QVERIFY(QTest::qWaitForWindowExposed(v));
            }
            guardarCaptura(QStringLiteral("preferencias"), &w);
            guardarCaptura(QStringLiteral("propiedades_que_encajan"), &g);
            guardarCaptura(QStringLiteral("clientes_interesados"), &p);
        }
    }

    // One match reads in the singular, several in the plural, in the titles
    // and in the mail; the grid names the area as the rest of the program.
    void titlesAndMailAgreeWithTheirCount() {
        d().execute("UPDATE Clientes SET Presupuesto = 100000 WHERE Cod = '0100001'");
        d().execute("UPDATE Propiedades SET Precio = 90000 WHERE Cod = '0100002'");
        frmCoincidencias uno(ctx(), frmCoincidencias::Modo::DePropiedad, "0100001");
        QCOMPARE(uno.lblTitulo->text(), "1 cliente busca una propiedad como la 0100001.");
        frmCoincidencias dos(ctx(), frmCoincidencias::Modo::DePropiedad, "0100002");
        QCOMPARE(dos.lblTitulo->text(), "2 clientes buscan una propiedad como la 0100002.");
        frmCoincidencias sinCorreo(ctx(), frmCoincidencias::Modo::DeCliente, "0100002");
        QCOMPARE(sinCorreo.lblTitulo->text(), "2 propiedades encajan con el cliente 0100002 (Sin Correo).");
        frmCoincidencias ana(ctx(), frmCoincidencias::Modo::DeCliente, "0100001");
        QCOMPARE(ana.lblTitulo->text(), "1 propiedad encaja con el cliente 0100001 (Ana Peña).");
        QCOMPARE(ana.grid->horizontalHeaderItem(3)->text(), "Area");
        FakeMail mail;
        elegirFilas(ana.grid, {0});
        ana.cmdEnviar->click();
        QCOMPARE(mail.calls().size(), 1);
        QVERIFY2(mail.calls().first().contains(
                     "Le adjuntamos el dossier de la propiedad 0100002, que encaja con lo que busca."),
                 qPrintable(mail.calls().first().join(u'|')));
    }

    void propertyListsItsInterestedClients() {
        frmPropiedades w(ctx(), false);
        w.butInteresados->click();
        frmCoincidencias* g = ultima();
        QVERIFY(g);
        QCOMPARE(g->windowTitle(), "Clientes interesados en 0100001");
        QCOMPARE(g->grid->rowCount(), 2);
        QCOMPARE(g->grid->item(0, 1)->text(), "Ana Peña");
        QVERIFY(!g->cmdEnviar);
        g->grid->setCurrentCell(1, 0);
        g->cmdIr->click();
        QCOMPARE(nav->irA, QStringList{"Cliente 0 0100002"});
        // A sold property has no one to offer it to.
        frmCoincidencias vendida(ctx(), frmCoincidencias::Modo::DePropiedad, "0100003");
        QCOMPARE(vendida.grid->rowCount(), 0);
    }
};

QTEST_MAIN(TestFrmCoincidencias)
#include "tst_frmcoincidencias.moc"
