// The three search windows driven as a user would: criteria, Find, moves in
// the result, Go to; and the Herramientas commands that open them.

#include "Accessibility.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/QueryTableModel.h"
#include "records/CamposPersona.h"
#include "records/FichaPersona.h"
#include "records/Registro.h"
#include "records/frmPropiedades.h"
#include "reports/Informes.h"
#include "search/RegistroBusquedas.h"
#include "search/frmBusClientes.h"
#include "search/frmBusPropiedades.h"
#include "search/frmBusPropietarios.h"
#include "shell/ConfigStore.h"

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
    d.execute("INSERT INTO Propietarios (Cod, Alquiler, Nombre, Telefono, Movil) VALUES ('P01', 0, 'Hélène "
              "Lefèvre', '952000111', NULL), ('R01', 1, 'Jürgen Weiß', '952999888', '600123456'), "
              "('R02', 1, 'Ana Ruiz', NULL, NULL)");
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

// Text of the pages of the last report the window asked the navigator to show.
QString textoInforme(const TestNavigator& nav) {
    if (nav.reports.isEmpty())
        return {};
    auto* w = qobject_cast<reports::frmInforme*>(nav.reports.last().data());
    if (!w)
        return "<no es un informe>";
    QString t;
    for (int i = 0; i < w->document().pageCount(); ++i)
        t += w->document().pageText(i) + u'\n';
    return t;
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
                           "('V000', 0, 'En Venta', 0, 60000)");
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
                      "VALUES (?, 0, 'Stand By', 2, 'Calle Larga', ?)",
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

    // The real main window: the six commands open the searches, and Go to
    // shows the chosen record in the record window of the same side.
    void herramientasOpenTheSearchesAndGoToReachesTheRecordWindow() {
        nav.reset();
        WindowRegistry registro;
        RegistrarFichas(registro);
        RegistrarBusquedas(registro);
        frmMain w(ctx(), registro);
        for (const char* key :
             {"busqueda", "busquedaalquiler", "busquedaclientes", "busquedaclientesalquiler",
              "busquedapropietarios", "busquedapropietariosalquiler"})
            QVERIFY(w.tbBoton(key)->isEnabled());

        w.tb_ButtonClick("BUSQUEDAPROPIETARIOSALQUILER");
        auto* f = qobject_cast<frmBusPropietarios*>(w.ventana(Ventana::BusPropietarios, true));
        QVERIFY(f);
        QVERIFY(f->ModoAlquiler());
        QCOMPARE(f->windowTitle(), "Búsqueda de Propietarios de Alquiler");
        f->txt[frmBusPropietarios::Nombre]->setText("jurgen");
        f->cmdFind->click();
        QCOMPARE(f->grd->model()->rowCount(), 1);
        f->cmdGoto->click();
        auto* ficha = qobject_cast<FichaPersona*>(w.ventana(Ventana::Propietarios, true));
        QVERIFY(ficha);
        QCOMPARE(ficha->data->Recordset()->value("Cod").toString(), "R01");
        QVERIFY(!w.ventana(Ventana::Propietarios, false)); // the other side's window stays closed

        w.mnuTool_Click(2);
        auto* c = qobject_cast<frmBusClientes*>(w.ventana(Ventana::BusClientes, false));
        QVERIFY(c);
        c->txt[frmBusClientes::Nombre]->setText("bob");
        c->cmdFind->click();
        QCOMPARE(c->grd->model()->index(0, 6).data().toString(), "1.500.000");
        c->cmdGoto->click();
        auto* clientes = qobject_cast<FichaPersona*>(w.ventana(Ventana::Clientes, false));
        QVERIFY(clientes);
        QCOMPARE(clientes->data->Recordset()->value("Cod").toString(), "C002");

        w.mnuTool_Click(1);
        QVERIFY(qobject_cast<frmBusPropiedades*>(w.ventana(Ventana::BusPropiedades, true)));
    }

    // Go to while the record window holds an edit: the user is asked first, and
    // the edit is stored, thrown away or kept as answered; nothing is lost unasked.
    void goToWhileEditingAsksBeforeLeavingTheRecord() {
        nav.reset();
        db::Database& d = ctx().db();
        ctx().facts.CodigoOficina = "01";
        const QString oficina = ctx().facts.CodigoOficina;
        GuardarConfig(d, "CODIGOS", "MASCARA", "00000");
        GuardarConfig(d, "CONTADORES", "PROPIEDADES", 10);
        d.execute("DELETE FROM Propiedades");
        const auto cod = [&](int n) { return oficina + QStringLiteral("%1").arg(n, 5, 10, QChar(u'0')); };
        for (int n = 1; n <= 3; ++n)
            d.execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Direccion) "
                      "VALUES (?, ?, ?, 0, 'En Venta', ?)",
                      {cod(n), oficina, n, QStringLiteral("Calle %1").arg(n)});
        const auto direccion = [&](int n) {
            return d.scalar("SELECT Direccion FROM Propiedades WHERE Cod = ?", {cod(n)}).toString();
        };
        WindowRegistry registro;
        RegistrarFichas(registro);
        RegistrarBusquedas(registro);
        frmMain w(ctx(), registro);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.usrShowPropiedadesVenta();
        auto* ficha = qobject_cast<frmPropiedades*>(w.ventana(Ventana::Propiedades, false));
        QVERIFY(ficha);
        w.usrShowBusPropiedadesVenta();
        auto* f = qobject_cast<frmBusPropiedades*>(w.ventana(Ventana::BusPropiedades, false));
        QVERIFY(f);
        f->cmdFind->click();
        const auto irA = [&](int n) {
            for (int r = 0; r < f->grd->model()->rowCount(); ++r)
                if (celda(*f, r, 0) == cod(n))
                    f->grd->setCurrentIndex(f->grd->model()->index(r, 0));
            QCOMPARE(celda(*f, filaActual(*f), 0), cod(n));
            f->cmdGoto->click();
        };
        const auto mostrada = [&] { return ficha->data->Recordset()->value("Cod").toString(); };
        auto* caja = static_cast<QLineEdit*>(ficha->txt[prop::Direccion]->widget());
        const auto editar = [&](const QString& texto) {
            ficha->cmdEdit->click();
            QVERIFY(ficha->data->EstadoModificando());
            caja->selectAll();
            QTest::keyClicks(caja, texto);
        };
        using A = ui::DialogService::Answer;
        const QString pregunta =
            "Se están añadiendo/modificando datos ¿desea guardarlos antes de mostrar otro registro?";

        irA(1);
        editar("Calle Nueva 1");
        // Stay: the window keeps the record and what was typed.
        inst->dialogs().queueAnswer(A::Cancel);
        irA(2);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QCOMPARE(inst->dialogs().boxes().first().buttons, ui::DialogService::Buttons::YesNoCancel);
        QVERIFY(ficha->data->EstadoModificando());
        QCOMPARE(mostrada(), cod(1));
        QCOMPARE(caja->text(), "Calle Nueva 1");
        // The record being edited itself: shown as it is, nothing asked.
        inst->dialogs().clear();
        irA(1);
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QCOMPARE(caja->text(), "Calle Nueva 1");
        // Discard: the other record, browsing, and the first one as it was stored.
        inst->dialogs().queueAnswer(A::No);
        irA(2);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QVERIFY(ficha->data->EstadoPaseando());
        QCOMPARE(mostrada(), cod(2));
        QCOMPARE(caja->text(), "Calle 2");
        QCOMPARE(direccion(1), "Calle 1");
        // Confirm: stored, then the other record.
        inst->dialogs().clear();
        editar("Calle Nueva 2");
        inst->dialogs().queueAnswer(A::Yes);
        irA(3);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QCOMPARE(direccion(2), "Calle Nueva 2");
        QVERIFY(ficha->data->EstadoPaseando());
        QCOMPARE(mostrada(), cod(3));
        QCOMPARE(caja->text(), "Calle 3");
        // A code that is not there asks nothing and loses nothing.
        inst->dialogs().clear();
        editar("Calle Nueva 3");
        ficha->IrRegistro("NOEXISTE");
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QVERIFY(ficha->data->EstadoModificando());
        QCOMPARE(caja->text(), "Calle Nueva 3");
        // A new record being entered is asked about too; confirmed, it is stored
        // and no further add starts behind the user's back.
        ficha->cmdCancel->click();
        ficha->data->setAddAgain(true);
        ficha->cmdAdd->click();
        QVERIFY(ficha->data->EstadoAñadiendo());
        QTest::keyClicks(caja, "Calle Alta");
        inst->dialogs().queueAnswer(A::Yes);
        irA(1);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QCOMPARE(d.scalar("SELECT count(*) FROM Propiedades WHERE Direccion = 'Calle Alta'").toInt(), 1);
        QVERIFY(ficha->data->EstadoPaseando());
        QCOMPARE(mostrada(), cod(1));
    }

    // The owners window (and so the clients one, built alike) asks the same way.
    void goToOwnerWhileEditingAsksFirst() {
        nav.reset();
        db::Database& d = ctx().db();
        ctx().facts.CodigoOficina = "01";
        d.execute("UPDATE Propietarios SET Agencia = '01'");
        WindowRegistry registro;
        RegistrarFichas(registro);
        RegistrarBusquedas(registro);
        frmMain w(ctx(), registro);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.usrShowBusPropietariosAlquiler();
        auto* f = qobject_cast<frmBusPropietarios*>(w.ventana(Ventana::BusPropietarios, true));
        QVERIFY(f);
        f->cmdFind->click();
        QCOMPARE(f->grd->model()->rowCount(), 2);
        f->cmdGoto->click();
        auto* ficha = qobject_cast<FichaPersona*>(w.ventana(Ventana::Propietarios, true));
        QVERIFY(ficha);
        const QString primero = ficha->data->Recordset()->value("Cod").toString();
        ficha->cmdEdit->click();
        auto* nombre = static_cast<QLineEdit*>(ficha->txt[persona::Nombre]->widget());
        nombre->selectAll();
        QTest::keyClicks(nombre, "Otro nombre");
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Cancel);
        f->cmdNext->click();
        f->cmdGoto->click();
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY(ficha->data->EstadoModificando());
        QCOMPARE(ficha->data->Recordset()->value("Cod").toString(), primero);
        QCOMPARE(nombre->text(), "Otro nombre");
        inst->dialogs().queueAnswer(ui::DialogService::Answer::No);
        f->cmdGoto->click();
        QVERIFY(ficha->data->EstadoPaseando());
        QVERIFY(ficha->data->Recordset()->value("Cod").toString() != primero);
        QCOMPARE(d.scalar("SELECT count(*) FROM Propietarios WHERE Nombre = 'Otro nombre'").toInt(), 0);
    }
};

QTEST_MAIN(TestBusquedas)
#include "tst_busquedas.moc"
