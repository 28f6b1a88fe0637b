// A search window from the keyboard, on the shown window: Enter searches from
// the criteria and goes to the record from the grid, F3 searches from
// anywhere, Ctrl+F goes back to the criteria, Ctrl+P prints the listing.

#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "search/frmBusPropietarios.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

using namespace orb;

namespace {

QWidget* foco() {
    return QApplication::focusWidget();
}

} // namespace

class TestBusquedasTeclado : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<TestNavigator> nav;
    AppContext& ctx() { return inst->context(); }

    static int filas(const frmBusPropietarios& w) { return w.grd->model()->rowCount(); }
    static void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QVERIFY(foco());
        QTest::keyClick(foco(), k, m);
    }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        nav = std::make_unique<TestNavigator>(ctx());
        ctx().db().execute("DELETE FROM Propietarios");
        ctx().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
                           "('0100001', '01', 1, FALSE, 'Ana Ruiz'), ('0100002', '01', 2, FALSE, 'Ana Gil'), "
                           "('0100003', '01', 3, FALSE, 'Blas Peña'), ('0100004', '01', 4, TRUE, 'Alquila')");
    }
    void cleanup() {
        nav.reset();
        inst.reset();
    }

    void keysSearchGoAndPrint() {
        frmBusPropietarios w(ctx(), false);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(filas(w), 0);
        QLineEdit* nombre = w.txt[frmBusPropietarios::Nombre];
        nombre->setFocus();
        QTest::keyClicks(nombre, "Ana");
        tecla(Qt::Key_Return);
        QCOMPARE(filas(w), 2);

        // Enter on the sort list searches too.
        nombre->clear();
        w.cboOrder->setFocus();
        QCOMPARE(foco(), w.cboOrder);
        tecla(Qt::Key_Return);
        QCOMPARE(filas(w), 3);

        // F3 from the grid searches with the criteria as they are now.
        nombre->setText("Blas");
        w.grd->setFocus();
        tecla(Qt::Key_F3);
        QCOMPARE(filas(w), 1);

        // Enter in the grid goes to the record; nothing is searched.
        tecla(Qt::Key_Return);
        QCOMPARE(nav->irA, QStringList{"Propietario 0 0100003"});
        QCOMPARE(filas(w), 1);

        // Ctrl+F: back to the first criterion, ready to be typed over.
        w.txt[frmBusPropietarios::Codigo]->setText("01");
        tecla(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(foco(), w.txt[frmBusPropietarios::Codigo]);
        QCOMPARE(w.txt[frmBusPropietarios::Codigo]->selectedText(), "01");

        tecla(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(nav->shown.size(), 1);
        QVERIFY2(nav->shown.first().startsWith("usrShowReport"), qPrintable(nav->shown.first()));
        QVERIFY(inst->dialogs().boxes().isEmpty());
    }

    void tooltipsNameTheKeys() {
        frmBusPropietarios w(ctx(), false);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const auto& [boton, texto] : {std::pair{w.cmdFind, "Buscar Propietarios (Intro o F3)"},
                                           std::pair{w.cmdGoto, "Ir a Propietario (Intro en la tabla)"},
                                           std::pair{w.butPrint, "Imprimir Listado (Ctrl+P)"}}) {
            QHelpEvent ayuda(QEvent::ToolTip, QPoint(2, 2), boton->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(boton, &ayuda);
            QCOMPARE(QToolTip::text(), QString(texto));
            QVERIFY(!boton->toolTip().contains('('));
        }
    }
};

QTEST_MAIN(TestBusquedasTeclado)
#include "tst_busquedas_teclado.moc"
