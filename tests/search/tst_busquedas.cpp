// The three search windows driven as a user would: criteria, Find, moves in
// the result, Go to; and the Herramientas commands that open them.

#include "Accessibility.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/QueryTableModel.h"
#include "records/FichaPersona.h"
#include "records/Registro.h"
#include "search/RegistroBusquedas.h"
#include "search/frmBusClientes.h"
#include "search/frmBusPropiedades.h"
#include "search/frmBusPropietarios.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace orb;

namespace {

void datos(db::Database& d) {
    d.execute("INSERT INTO Tipos (Cod, Nombre) VALUES (1, 'Piso'), (2, 'Chalet')");
    d.execute("INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Marbella'), (2, 'Ronda')");
    d.execute("INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (10, 'Puerto Banús', 1), "
              "(11, 'Nueva Andalucía', 1), (20, 'Centro', 2)");
    d.execute(
        "INSERT INTO Propietarios (Cod, Alquiler, Nombre, Telefono) VALUES ('P01', 0, 'Hélène Lefèvre', "
        "'952000111'), ('R01', 1, 'Jürgen Weiß', '952999888'), ('R02', 1, 'Ana Ruiz', NULL)");
    d.execute(
        "INSERT INTO Propiedades (Cod, Alquiler, Estado, Dormitorios, Direccion, Precio, CodPropietario, "
        "CodLocalidad) VALUES ('V001', 0, 'En Venta', 2, 'Calle Larios, 5', 250000, 'P01', 1), "
        "('V002', 0, 'En Venta', 3, 'Calle Real, 1', 1500000, 'P01', 2), "
        "('V003', 0, 'En Venta', 1, 'Paseo Marítimo, 9', 90000, NULL, 1), "
        "('V004', 0, 'Vendida', 4, 'Calle Málaga, 2', 120000, NULL, 1)");
    d.execute("INSERT INTO Propiedades (Cod, Alquiler, Estado, Dormitorios, PrecioAlquiler) VALUES "
              "('A001', 1, 'Libre', 2, 900), ('A002', 1, 'Alquilada', 2, 700)");
    d.execute("INSERT INTO Clientes (Cod, Alquiler, Nombre, Presupuesto, CodTipo) VALUES "
              "('C001', 0, 'Marta Núñez', 150000, 1), ('C002', 0, 'Bob Smith', 1500000, 0)");
}

int filaActual(const VentanaBusqueda& f) {
    return f.grd->currentIndex().isValid() ? f.grd->currentIndex().row() : -1;
}

QString celda(const VentanaBusqueda& f, int row, int col) {
    return f.grd->model()->index(row, col).data().toString();
}

// A user's pick in a list: the item, then the signal a click gives.
void elegir(QComboBox* c, const QString& texto) {
    const int i = c->findText(texto);
    QVERIFY2(i >= 0, qPrintable(texto));
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
}

} // namespace

class TestBusquedas : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<TestNavigator> nav;

    AppContext& ctx() { return inst->context(); }

private Q_SLOTS:
    void init() {
        inst = std::make_unique<TestInstallation>();
        datos(ctx().db());
        nav = std::make_unique<TestNavigator>(ctx());
    }
    void cleanup() {
        nav.reset();
        inst.reset();
    }

    void propertySearchOpensEmptyAndFindsItsSide() {
        frmBusPropiedades f(ctx(), false);
        QCOMPARE(f.windowTitle(), QStringLiteral("Búsqueda de Propiedades en Venta"));
        QCOMPARE(f.grd->model()->rowCount(), 0);
        QCOMPARE(f.cbo[frmBusPropiedades::Estado]->currentText(), QStringLiteral("En Venta"));
        QCOMPARE(f.cmdGoto->toolTip(), QStringLiteral("Ir a Propiedad"));
        QVERIFY(!f.butPrint->isEnabled());
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 3);
        QCOMPARE(celda(f, 0, 0), QStringLiteral("V001"));
        QCOMPARE(filaActual(f), 0);
        // Amounts with thousands separators; the price column of the side.
        QCOMPARE(celda(f, 1, 7), QStringLiteral("1.500.000"));
        QCOMPARE(f.grd->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("Precio"));

        frmBusPropiedades a(ctx(), true);
        QCOMPARE(a.cbo[frmBusPropiedades::Estado]->currentText(), QStringLiteral("Libre"));
        a.cmdFind->click();
        QCOMPARE(a.grd->model()->rowCount(), 1);
        QCOMPARE(celda(a, 0, 7), QStringLiteral("900"));

        // New search: criteria back to their opening state, empty grid.
        f.txt[frmBusPropiedades::Direccion]->setText("Larios");
        f.cbo[frmBusPropiedades::Estado]->setCurrentIndex(0);
        f.cmdFindDel->click();
        QCOMPARE(f.grd->model()->rowCount(), 0);
        QVERIFY(f.txt[frmBusPropiedades::Direccion]->text().isEmpty());
        QCOMPARE(f.cbo[frmBusPropiedades::Estado]->currentText(), QStringLiteral("En Venta"));
    }

    void movesNeverLeaveTheResult() {
        frmBusPropiedades f(ctx(), false);
        // Nothing to move in yet.
        f.cmdNext->click();
        f.cmdLast->click();
        QCOMPARE(filaActual(f), -1);
        f.cmdFind->click();
        f.cmdPrev->click();
        QCOMPARE(filaActual(f), 0);
        f.cmdNext->click();
        QCOMPARE(filaActual(f), 1);
        f.cmdLast->click();
        QCOMPARE(filaActual(f), 2);
        f.cmdNext->click();
        QCOMPARE(filaActual(f), 2);
        f.cmdFirst->click();
        QCOMPARE(filaActual(f), 0);
    }

    void goToAsksForTheRecordWindowOfTheSide() {
        frmBusPropiedades f(ctx(), false);
        f.cmdGoto->click();
        QCOMPARE(nav->irA, QStringList()); // empty result: nothing happens
        f.cmdFind->click();
        f.cmdNext->click();
        f.cmdGoto->click();
        QCOMPARE(nav->irA, QStringList({"Propiedad 0 V002"}));
        // A double click on a row goes there too.
        const QModelIndex fila = f.grd->model()->index(2, 1);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QPoint p = f.grd->visualRect(fila).center();
        QTest::mouseClick(f.grd->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(f.grd->viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(nav->irA.last(), QStringLiteral("Propiedad 0 V003"));

        frmBusPropietarios o(ctx(), true);
        o.cmdFind->click();
        o.cmdLast->click();
        o.cmdGoto->click();
        QCOMPARE(nav->irA.last(), QStringLiteral("Propietario 1 R02"));

        frmBusClientes c(ctx(), false);
        c.txt[frmBusClientes::Nombre]->setText("smith");
        c.cmdFind->click();
        c.cmdGoto->click();
        QCOMPARE(nav->irA.last(), QStringLiteral("Cliente 0 C002"));
        QCOMPARE(celda(c, 0, 6), QStringLiteral("1.500.000"));
    }

    void localityChoiceRefillsTheAreas() {
        frmBusPropiedades f(ctx(), false);
        QComboBox* areas = f.cboLookup[frmBusPropiedades::Area];
        QCOMPARE(areas->count(), 1); // only "any" while no locality is chosen
        elegir(f.cboLookup[frmBusPropiedades::Localidad], "Marbella");
        QCOMPARE(f.txt[frmBusPropiedades::Localidad]->text(), QStringLiteral("1"));
        QCOMPARE(areas->count(), 3);
        QCOMPARE(areas->itemText(1), QStringLiteral("Nueva Andalucía"));
        elegir(areas, "Puerto Banús");
        QCOMPARE(f.txt[frmBusPropiedades::Area]->text(), QStringLiteral("10"));
        elegir(f.cboLookup[frmBusPropiedades::Localidad], "Ronda");
        QVERIFY(f.txt[frmBusPropiedades::Area]->text().isEmpty());
        QCOMPARE(areas->count(), 2);
        f.cmdFind->click();
        QCOMPARE(celda(f, 0, 0), QStringLiteral("V002"));
        QCOMPARE(f.grd->model()->rowCount(), 1);
    }

    void aPriceThatIsNotANumberIsReportedAndTheResultStays() {
        frmBusPropiedades f(ctx(), false);
        f.cmdFind->click();
        f.txt[frmBusPropiedades::PrecioHasta]->setText("barato");
        f.cmdFind->click();
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY(inst->dialogs().texts().join(' ').contains("Precio (hasta)"));
        QCOMPARE(f.grd->model()->rowCount(), 3);
        // Typed with Spanish separators it is a number.
        f.txt[frmBusPropiedades::PrecioHasta]->setText("250.000");
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 2);
    }

    void everyControlHasAUniqueAccessibleName() {
        for (bool alquiler : {false, true}) {
            frmBusPropiedades p(ctx(), alquiler);
            frmBusPropietarios o(ctx(), alquiler);
            frmBusClientes c(ctx(), alquiler);
            for (QWidget* w : std::initializer_list<QWidget*>{&p, &o, &c})
                QVERIFY2(accessibilityProblems(w).isEmpty(), qPrintable(accessibilityProblems(w).join('\n')));
        }
    }

    // The real main window: the six commands open the searches, and Go to
    // shows the chosen record in the record window of the same side.
    void herramientasOpenTheSearchesAndGoToReachesTheRecordWindow() {
        nav.reset();
        WindowRegistry registro;
        RegistrarFichas(registro);
        RegistrarBusquedas(registro);
        frmMain w(ctx(), registro);
        for (int i = 0; i < 6; ++i)
            QVERIFY(w.mnuTool(i)->isEnabled());
        for (const char* key :
             {"busqueda", "busquedaalquiler", "busquedaclientes", "busquedaclientesalquiler",
              "busquedapropietarios", "busquedapropietariosalquiler"})
            QVERIFY(w.tbBoton(key)->isEnabled());

        w.tb_ButtonClick("BUSQUEDAPROPIETARIOSALQUILER");
        auto* f = qobject_cast<frmBusPropietarios*>(w.ventana(Ventana::BusPropietarios, true));
        QVERIFY(f);
        QVERIFY(f->ModoAlquiler());
        QCOMPARE(f->windowTitle(), QStringLiteral("Búsqueda de Propietarios de Alquiler"));
        f->txt[frmBusPropietarios::Nombre]->setText("jurgen");
        f->cmdFind->click();
        QCOMPARE(f->grd->model()->rowCount(), 1);
        f->cmdGoto->click();
        auto* ficha = qobject_cast<FichaPersona*>(w.ventana(Ventana::Propietarios, true));
        QVERIFY(ficha);
        QCOMPARE(ficha->data->Recordset()->value("Cod").toString(), QStringLiteral("R01"));
        QVERIFY(!w.ventana(Ventana::Propietarios, false)); // the other side's window stays closed

        w.mnuTool_Click(2);
        auto* c = qobject_cast<frmBusClientes*>(w.ventana(Ventana::BusClientes, false));
        QVERIFY(c);
        c->txt[frmBusClientes::Nombre]->setText("bob");
        c->cmdFind->click();
        c->cmdGoto->click();
        auto* clientes = qobject_cast<FichaPersona*>(w.ventana(Ventana::Clientes, false));
        QVERIFY(clientes);
        QCOMPARE(clientes->data->Recordset()->value("Cod").toString(), QStringLiteral("C002"));

        w.mnuTool_Click(1);
        QVERIFY(qobject_cast<frmBusPropiedades*>(w.ventana(Ventana::BusPropiedades, true)));
    }
};

QTEST_MAIN(TestBusquedas)
#include "tst_busquedas.moc"
