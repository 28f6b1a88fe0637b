// A record stored or deleted in a record window reaches, without reopening,
// the windows that show it: the search results, the matches grid and the
// status bar's count.

#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "records/CamposPersona.h"
#include "records/FichaPersona.h"
#include "records/frmPropiedades.h"
#include "search/AvisoCoincidencias.h"
#include "search/Coincidencias.h"
#include "search/frmBusPropiedades.h"
#include "search/frmBusPropietarios.h"
#include "search/frmCoincidencias.h"
#include "shell/Numeros.h"

#include <QLabel>
#include <QMainWindow>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

using namespace orb;
namespace co = orb::coincidencias;

namespace {

// Column col (a number) of every row the search grid holds, read to the end, as stored.
QStringList numeros(VentanaBusqueda& b, int col) {
    while (b.grd->model()->canFetchMore({}))
        b.grd->model()->fetchMore({});
    QStringList out;
    for (int i = 0; i < b.grd->model()->rowCount(); ++i)
        out << QString::number(b.grd->model()->index(i, col).data(Qt::EditRole).toDouble(), 'f', 0);
    return out;
}

// Column col of every row the search grid holds, read to the end, as stored.
QStringList columna(VentanaBusqueda& b, int col) {
    while (b.grd->model()->canFetchMore({}))
        b.grd->model()->fetchMore({});
    QStringList out;
    for (int i = 0; i < b.grd->model()->rowCount(); ++i)
        out << b.grd->model()->index(i, col).data(Qt::EditRole).toString();
    return out;
}

QStringList columna(const QTableWidget* g, int col) {
    QStringList out;
    for (int i = 0; i < g->rowCount(); ++i)
        out << g->item(i, col)->text();
    return out;
}

} // namespace

class TestCambiosRegistros : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<TestNavigator> nav;
    AppContext& ctx() { return inst->context(); }
    db::Database& d() { return ctx().db(); }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        nav = std::make_unique<TestNavigator>(ctx());
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
        d().executeScript(
            "INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
            "('0100001', '01', 1, FALSE, 'Ana Peña'), ('0100002', '01', 2, FALSE, 'Luis Gil');"
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Precio, Dormitorios, "
            "CodPropietario) VALUES "
            "('0100001', '01', 1, FALSE, 'En Venta', 200000, 3, '0100002'),"
            "('0100002', '01', 2, FALSE, 'En Venta', 180000, 2, '0100001');"
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Estado, Nombre, Presupuesto) VALUES "
            "('0100001', '01', 1, FALSE, 'Buscando', 'Marta Núñez', 210000),"
            "('0100002', '01', 2, FALSE, 'Buscando', 'Bob Smith', 250000);");
    }
    void cleanup() {
        nav.reset();
        inst.reset();
    }

    // The owners' search follows an owner changed, added and deleted in the
    // owners window, the properties' search a price changed in the property
    // window; the row that was current stays current.
    void searchResultsFollowTheRecordWindows() {
        frmBusPropietarios propietarios(ctx(), false);
        frmBusPropiedades propiedades(ctx(), false);
        for (VentanaBusqueda* b : std::initializer_list<VentanaBusqueda*>{&propietarios, &propiedades})
            b->cmdFind->click();
        QCOMPARE(columna(propietarios, 1), (QStringList{"Ana Peña", "Luis Gil"}));
        propietarios.cmdNext->click();
        QCOMPARE(propietarios.codigoActual(), "0100002");
        const int columnaPrecio = 7;
        QCOMPARE(propiedades.grd->model()->headerData(columnaPrecio, Qt::Horizontal).toString(), "Precio");
        QCOMPARE(numeros(propiedades, columnaPrecio), (QStringList{"200000", "180000"}));
        propiedades.cmdLast->click();

        frmPropiedades p(ctx(), false);
        p.cmdEdit->click();
        p.txt[prop::Precio]->setText("215000");
        p.cmdOk->click();
        QTRY_COMPARE(numeros(propiedades, columnaPrecio), (QStringList{"215000", "180000"}));
        QCOMPARE(propiedades.codigoActual(), "0100002");

        frmPropietarios w(ctx(), false);
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Ana Peña");
        w.cmdEdit->click();
        w.txt[persona::Nombre]->setText("Ana Peña Ruiz");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().texts().isEmpty(), qPrintable(inst->dialogs().texts().join('\n')));
        QTRY_COMPARE(columna(propietarios, 1), (QStringList{"Ana Peña Ruiz", "Luis Gil"}));
        QCOMPARE(propietarios.codigoActual(), "0100002");

        w.cmdAdd->click();
        w.txt[persona::Nombre]->setText("Carmen Vidal");
        w.cmdOk->click();
        QTRY_COMPARE(columna(propietarios, 1), (QStringList{"Ana Peña Ruiz", "Luis Gil", "Carmen Vidal"}));
        QCOMPARE(propietarios.codigoActual(), "0100002");

        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        w.cmdDel->click();
        QTRY_COMPARE(columna(propietarios, 1), (QStringList{"Ana Peña Ruiz", "Luis Gil"}));

        // After New search the grid stays empty whatever changes.
        propietarios.cmdFindDel->click();
        w.cmdEdit->click();
        w.txt[persona::Nombre]->setText("Luis Gil Soto");
        w.cmdOk->click();
        QTest::qWait(20);
        QCOMPARE(columna(propietarios, 1), QStringList());
    }

    // A client's matches follow a property whose price changes in the
    // property window; the rows the agent had chosen stay chosen.
    void matchesGridFollowsThePropertyWindow() {
        frmCoincidencias g(ctx(), frmCoincidencias::Modo::DeCliente, "0100001");
        // Best first.
        QCOMPARE(columna(g.grid, 0), (QStringList{"0100002", "0100001"}));
        const int columnaPrecio = 5;
        QCOMPARE(g.grid->horizontalHeaderItem(columnaPrecio)->text(), "Precio");
        g.grid->selectRow(1);
        frmPropiedades w(ctx(), false);
        QCOMPARE(w.txt[prop::Cod]->Text(), "0100001");
        w.cmdNext->click();
        QCOMPARE(w.txt[prop::Cod]->Text(), "0100002");
        w.cmdEdit->click();
        w.txt[prop::Precio]->setText("181000");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().texts().isEmpty(), qPrintable(inst->dialogs().texts().join('\n')));
        QTRY_COMPARE(g.grid->item(0, columnaPrecio)->text(), FormatoImporte(181000.0));
        QCOMPARE(g.seleccionados(), QStringList{"0100001"});

        w.cmdPrev->click();
        w.cmdEdit->click();
        w.txt[prop::Precio]->setText("900000");
        w.cmdOk->click();
        QTRY_COMPARE(columna(g.grid, 0), QStringList{"0100002"});
        QCOMPARE(g.seleccionados(), QStringList{"0100002"}); // the chosen one is gone: the first
    }

    // The status bar counts again when a property that suits waiting
    // clients is stored, and when it is deleted.
    void countFollowsStoredProperties() {
        for (const QString c : {"0100001", "0100002"})
            co::MarcarVistas(d(), c, {"0100001", "0100002"});
        QMainWindow principal;
        auto* aviso = new AvisoCoincidencias(ctx(), principal);
        QTRY_COMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(0));

        frmPropiedades w(ctx(), false);
        w.cmdAdd->click();
        w.txt[prop::Direccion]->setText("Calle Nueva, 3");
        w.txt[prop::Precio]->setText("205000");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().texts().isEmpty(), qPrintable(inst->dialogs().texts().join('\n')));
        QTRY_COMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(2));

        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        w.cmdDel->click();
        QTRY_COMPARE(aviso->etiqueta->text(), AvisoCoincidencias::Texto(0));
    }
};

QTEST_MAIN(TestCambiosRegistros)
#include "tst_cambiosregistros.moc"
