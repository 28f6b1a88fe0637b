// The three search windows driven as a user would: criteria, Find, moves in
// the result, Go to, Print.

#include "Accessibility.h"
#include "BusquedasPrueba.h"
#include "TestServers.h"
#include "platform/widgets/QueryTableModel.h"
#include "search/frmBusClientes.h"
#include "search/frmBusPropietarios.h"
#include "shell/ConfigStore.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

using namespace orb;
using namespace busquedasprueba;

class TestBusquedas : public QObject, protected BusquedasPrueba {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() { preparar(); }
    void cleanup() { limpiar(); }

    void propertySearchOpensEmptyAndFindsItsSide() {
        frmBusPropiedades f(ctx(), false);
        QCOMPARE(f.grd->model()->rowCount(), 0);
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 3);
        QCOMPARE(celda(f, 0, 0), "V001");
        QCOMPARE(filaActual(f), 0);
        // Amounts with thousands separators; the price column of the side.
        QCOMPARE(celda(f, 1, 7), "1.500.000");
        QCOMPARE(f.grd->model()->headerData(7, Qt::Horizontal).toString(), "Precio");

        frmBusPropiedades a(ctx(), true);
        QCOMPARE(a.cbo[frmBusPropiedades::Estado]->currentText(), "Libre");
        a.cmdFind->click();
        QCOMPARE(a.grd->model()->rowCount(), 1);
        QCOMPARE(celda(a, 0, 7), "900");

        // A price that is not a number is reported and the result stays; with
        // Spanish separators it is a number.
        f.txt[frmBusPropiedades::PrecioHasta]->setText("barato");
        f.cmdFind->click();
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY(inst->dialogs().texts().join(' ').contains("Precio (hasta)"));
        QCOMPARE(f.grd->model()->rowCount(), 3);
        f.txt[frmBusPropiedades::PrecioHasta]->setText("250.000");
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 2);

        // New search: criteria back to their opening state, empty grid.
        f.txt[frmBusPropiedades::Direccion]->setText("Larios");
        f.cbo[frmBusPropiedades::Estado]->setCurrentIndex(0);
        f.cmdFindDel->click();
        QCOMPARE(f.grd->model()->rowCount(), 0);
        QVERIFY(f.txt[frmBusPropiedades::Direccion]->text().isEmpty());
        QVERIFY(f.txt[frmBusPropiedades::PrecioHasta]->text().isEmpty());
        QCOMPARE(f.cbo[frmBusPropiedades::Estado]->currentText(), "En Venta");
    }

    // Bedroom bounds are numbers like the prices: letters are refused naming
    // the box, never read as 0 (which finds the properties without bedrooms).
    void bedroomBoundsRefuseLettersAsPricesDo() {
        ctx().db().execute("INSERT INTO Propiedades (Cod, Alquiler, Estado, Dormitorios, Precio) VALUES "
                           "('V000', FALSE, 'En Venta', 0, 60000)");
        frmBusPropiedades f(ctx(), false);
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 4);
        const struct {
            int caja;
            const char* texto;
            const char* mensaje;
        } casos[] = {
            {frmBusPropiedades::DormitoriosHasta, "dos",
             "El campo Nº Dormitorios (hasta) debe ser un número: «dos» no lo es."},
            {frmBusPropiedades::DormitoriosDesde, "tres",
             "El campo Nº Dormitorios (desde) debe ser un número: «tres» no lo es."},
            {frmBusPropiedades::DormitoriosDesde, "2a",
             "El campo Nº Dormitorios (desde) debe ser un número: «2a» no lo es."},
        };
        for (const auto& c : casos) {
            f.txt[frmBusPropiedades::DormitoriosDesde]->clear();
            f.txt[frmBusPropiedades::DormitoriosHasta]->clear();
            inst->dialogs().clear();
            f.txt[c.caja]->setText(QString::fromUtf8(c.texto));
            f.cmdFind->click();
            QCOMPARE(inst->dialogs().texts(), QStringList{QString::fromUtf8(c.mensaje)});
            QCOMPARE(inst->dialogs().boxes().first().title, QString("Error"));
            QCOMPARE(f.grd->model()->rowCount(), 4); // the result shown stays
        }
        // Numbers still find their rows, a fraction compared as typed.
        f.txt[frmBusPropiedades::DormitoriosDesde]->setText("2,5");
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 1);
        QCOMPARE(celda(f, 0, 0), "V002");
        f.txt[frmBusPropiedades::DormitoriosDesde]->clear();
        f.txt[frmBusPropiedades::DormitoriosHasta]->setText("0");
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 1);
        QCOMPARE(celda(f, 0, 0), "V000");
        QCOMPARE(inst->dialogs().texts().size(), 1);
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
        QCOMPARE(nav->irA.last(), "Propiedad 0 V003");
    }

    // A result longer than the first block read: the moves, Go to and the
    // formatting reach rows the grid had not read yet.
    void movesReachRowsNotYetRead() {
        db::Database& d = ctx().db();
        const int n = ui::QueryTableModel::BlockSize * 2 + 10;
        d.execute("BEGIN");
        for (int i = 0; i < n; ++i)
            d.execute("INSERT INTO Propiedades (Cod, Alquiler, Estado, Dormitorios, Direccion, Precio) "
                      "VALUES (?, FALSE, 'Stand By', 2, 'Calle Larga', ?)",
                      {QStringLiteral("S%1").arg(i, 4, 10, QChar(u'0')), 1000000 + i});
        d.execute("COMMIT");
        frmBusPropiedades f(ctx(), false);
        f.cmdNext->click(); // nothing to move in yet
        f.cmdLast->click();
        QCOMPARE(filaActual(f), -1);
        f.cbo[frmBusPropiedades::Estado]->setCurrentText("Stand By");
        f.cmdFind->click();
        QVERIFY(f.grd->model()->rowCount() < n); // read on demand, not all at once
        // Next across the end of the first block.
        f.grd->setCurrentIndex(f.grd->model()->index(ui::QueryTableModel::BlockSize - 1, 0));
        f.cmdNext->click();
        QCOMPARE(filaActual(f), ui::QueryTableModel::BlockSize);
        QCOMPARE(celda(f, filaActual(f), 0), QStringLiteral("S0%1").arg(ui::QueryTableModel::BlockSize));
        // Last: the true last row, then Next stays on it.
        f.cmdLast->click();
        QCOMPARE(f.grd->model()->rowCount(), n);
        QCOMPARE(filaActual(f), n - 1);
        f.cmdNext->click();
        QCOMPARE(filaActual(f), n - 1);
        QCOMPARE(celda(f, n - 1, 7), QStringLiteral("1.000.%1").arg(n - 1, 3, 10, QChar(u'0')));
        QCOMPARE(f.grd->model()->headerData(5, Qt::Horizontal).toString(), "Dorm.");
        f.cmdGoto->click();
        QCOMPARE(nav->irA.last(), QStringLiteral("Propiedad 0 S%1").arg(n - 1, 4, 10, QChar(u'0')));
        f.cmdPrev->click();
        QCOMPARE(filaActual(f), n - 2);
        f.cmdFirst->click();
        QCOMPARE(filaActual(f), 0);
        f.cmdPrev->click();
        QCOMPARE(filaActual(f), 0);
        // A new search starts again from its first block.
        f.cmdFind->click();
        QCOMPARE(filaActual(f), 0);
        QVERIFY(f.grd->model()->rowCount() < n);
    }

    // A search the database refuses: a fixed first line and a readable cause,
    // never the engine's words; the result shown stays.
    void aRefusedSearchIsToldInPlainSpanish() {
        frmBusPropietarios f(ctx(), false);
        f.cmdFind->click();
        QCOMPARE(f.grd->model()->rowCount(), 1);
        ctx().db().execute("ALTER TABLE Propietarios RENAME TO Otros");
        f.cmdFind->click();
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        const QString texto = inst->dialogs().texts().join('\n');
        QVERIFY2(texto.startsWith("No se ha podido realizar la búsqueda.\n"), qPrintable(texto));
        for (const char* motor : {"Propietarios", "no such", "SELECT", "SQL"})
            QVERIFY2(!texto.contains(QLatin1String(motor), Qt::CaseInsensitive), qPrintable(texto));
        QCOMPARE(f.grd->model()->rowCount(), 1);
        QCOMPARE(celda(f, 0, 0), "P01");
    }

    // Print: the listing of the rows shown, through the main window.
    void printShowsTheListingOfTheResult() {
        frmBusPropiedades f(ctx(), false);
        f.txt[frmBusPropiedades::Direccion]->setText("calle");
        f.cmdFind->click();
        f.butPrint->click();
        QCOMPARE(nav->shown.last(), "usrShowReport:Listado de Propiedades");
        QString t = textoInforme(*nav);
        QVERIFY2(t.contains("Calle Larios, 5") && t.contains("Calle Real, 1"), qPrintable(t));
        QVERIFY2(!t.contains("Paseo Marítimo") && !t.contains("Calle Málaga"), qPrintable(t));
        QVERIFY2(t.contains("1.500.000 €"), qPrintable(t));
        // After New search the listing is the empty result: shown, no rows.
        f.cmdFindDel->click();
        f.butPrint->click();
        QCOMPARE(nav->shown.last(), "usrShowReport:Listado de Propiedades");
        t = textoInforme(*nav);
        QVERIFY2(t.contains("Listado de Propiedades") && !t.contains("Calle"), qPrintable(t));

        // Rentals: the price column is the rent.
        frmBusPropiedades a(ctx(), true);
        a.cmdFind->click();
        a.butPrint->click();
        QVERIFY2(textoInforme(*nav).contains("900 €"), qPrintable(textoInforme(*nav)));

        frmBusPropietarios o(ctx(), true);
        o.txt[frmBusPropietarios::Nombre]->setText("jurgen");
        o.cmdFind->click();
        o.butPrint->click();
        QCOMPARE(nav->shown.last(), "usrShowReport:Listado de Propietarios de Alquileres");
        t = textoInforme(*nav);
        // The listing shows the mobile number too, which the grid does not.
        QVERIFY2(t.contains("Jürgen Weiß") && t.contains("600123456") && !t.contains("Ana Ruiz"),
                 qPrintable(t));

        frmBusClientes c(ctx(), false);
        c.cmdFind->click();
        c.cmdLast->click();
        c.butPrint->click();
        QCOMPARE(nav->shown.last(), "usrShowReport:Listado de Clientes de Ventas");
        t = textoInforme(*nav);
        QVERIFY2(t.contains("Marta Núñez") && t.contains("Bob Smith"), qPrintable(t));
        QVERIFY(inst->dialogs().boxes().isEmpty());
    }

    void localityChoiceRefillsTheAreas() {
        frmBusPropiedades f(ctx(), false);
        QComboBox* areas = f.cboLookup[frmBusPropiedades::Area];
        QCOMPARE(areas->count(), 1); // only "any" while no locality is chosen
        elegir(f.cboLookup[frmBusPropiedades::Localidad], "Marbella");
        QCOMPARE(f.txt[frmBusPropiedades::Localidad]->text(), "1");
        QCOMPARE(areas->count(), 3);
        QCOMPARE(areas->itemText(1), "Nueva Andalucía");
        elegir(areas, "Puerto Banús");
        QCOMPARE(f.txt[frmBusPropiedades::Area]->text(), "10");
        elegir(f.cboLookup[frmBusPropiedades::Localidad], "Ronda");
        QVERIFY(f.txt[frmBusPropiedades::Area]->text().isEmpty());
        QCOMPARE(areas->count(), 2);
        f.cmdFind->click();
        QCOMPARE(celda(f, 0, 0), "V002");
        QCOMPARE(f.grd->model()->rowCount(), 1);
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
};

QTEST_MAIN(TestBusquedas)
#include "tst_busquedas.moc"
