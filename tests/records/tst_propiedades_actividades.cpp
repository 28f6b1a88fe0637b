// The property window's activity grid as a person uses it, with the mouse and
// the keyboard, on the shown window: the current line after a record is
// loaded, the client pick from the keyboard and client codes typed by hand.

#include "ActividadPrueba.h"
#include "ModalUser.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "records/ActividadModel.h"
#include "records/frmPropiedades.h"
#include "search/Lookups.h"
#include "search/frmConsulta.h"

#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace orb;
using namespace orb::prop;

class TestPropiedadesActividades : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    QStringList log(const QString& cod) { return prueba::actividadesGuardadas(ctx(), cod); }
    QStringList lineas(const frmPropiedades& w) { return prueba::actividadesEnPantalla(w); }
    void propiedad(const QString& cod, int quick) {
        ctx().db().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado) "
                           "VALUES (?, '01', ?, FALSE, 'En Venta')",
                           {cod, quick});
    }
    void actividad(const QString& cod, const QString& fecha, const QString& texto) {
        ctx().db().execute("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, Actividad) "
                           "VALUES (?, ?, '', '', ?)",
                           {cod, fecha, texto});
    }
    // The window shown and active on the activity tab, so keys go where a person's would.
    void mostrar(frmPropiedades& w) {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.tabs->setCurrentWidget(w.picActividades);
    }
    static void clic(QWidget* boton) { QTest::mouseClick(boton, Qt::LeftButton); }
    // After a modal dialog the window manager activates the window again (offscreen does not).
    static void volver(QWidget& w) {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    static QWidget* foco() { return QApplication::focusWidget(); }

    // The lookup, answered as a person would: the first (only) client of the side.
    std::unique_ptr<Lookups> lookups;
    std::unique_ptr<ModalUser<frmConsulta>> usuario;
    int consultas = 0;
    void elegirPrimerCliente() {
        lookups = std::make_unique<Lookups>(ctx());
        ctx().lookups = lookups.get();
        usuario = std::make_unique<ModalUser<frmConsulta>>([this](frmConsulta* f) {
            ++consultas;
            f->grd->setCurrentIndex(f->grd->model()->index(0, 0));
            f->cmd[0]->click();
        });
    }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        for (const char* t : {"Propiedades", "Actividades", "Clientes"})
            ctx().db().execute(QStringLiteral("DELETE FROM %1").arg(t));
        ctx().db().execute(
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
            "('0A00012', '0A', 12, FALSE, 'Marta Ruiz'), ('0100013', '01', 13, TRUE, 'Alquila')");
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
        consultas = 0;
    }
    void cleanup() {
        ctx().lookups = nullptr;
        usuario.reset();
        lookups.reset();
        inst.reset();
    }

    // "Insertar Línea" right after Editar, without a click in the grid: the
    // first line is current after every load.
    void firstLineIsCurrentAfterEveryLoad() {
        propiedad("0100001", 1);
        propiedad("0100002", 2);
        for (const char* a : {"A", "B", "C"})
            actividad("0100001", "2024-01-10", a);
        actividad("0100002", "2024-02-10", "D");
        frmPropiedades w(ctx(), false);
        mostrar(w);
        clic(w.cmdEdit);
        clic(w.cmdInsertarLinea);
        QCOMPARE(lineas(w), QStringList({"|||", "10/01/2024|||A", "10/01/2024|||B", "10/01/2024|||C"}));
        clic(w.cmdCancel);
        QCOMPARE(w.grd->currentIndex().row(), 0);
        clic(w.cmdNext);
        clic(w.cmdEdit);
        clic(w.cmdBorrarLinea);
        QCOMPARE(lineas(w), QStringList());
        clic(w.cmdCancel);
        // A new property: only the new-row line, which takes no inserted line.
        clic(w.cmdAdd);
        QCOMPARE(w.grd->currentIndex().row(), 0);
        clic(w.cmdInsertarLinea);
        QCOMPARE(w.actividades->lineas(), 0);
    }

    // F4 and Ctrl+Enter open the pick the "…" button opens, in the Cliente
    // cell's editor and on the cell itself; the button says so.
    void clientIsPickedFromTheKeyboard() {
        elegirPrimerCliente();
        propiedad("0100001", 1);
        actividad("0100001", "2024-01-10", "Visita");
        frmPropiedades w(ctx(), false);
        mostrar(w);
        clic(w.cmdEdit);
        w.grd->setFocus();
        QCOMPARE(w.grd->currentIndex(), w.actividades->index(0, 0));
        // The grid edits the cell it moves to: Right opens CodCliente, Tab Cliente.
        QTest::keyClick(foco(), Qt::Key_Right);
        QTest::keyClick(foco(), Qt::Key_Tab);
        QCOMPARE(w.grd->currentIndex(), w.actividades->index(0, ActividadModel::ColCliente));
        QCOMPARE(foco()->objectName(), QString("texto"));
        auto* boton = w.grd->viewport()->findChild<QToolButton*>("butCliente");
        QVERIFY(boton);
        QVERIFY2(boton->toolTip().contains("F4") && boton->toolTip().contains("Ctrl+Intro"),
                 qPrintable(boton->toolTip()));
        QCOMPARE(boton->accessibleName(), QString("Elegir cliente"));

        QTest::keyClick(foco(), Qt::Key_F4);
        QCOMPARE(consultas, 1);
        QCOMPARE(lineas(w), QStringList({"10/01/2024|0A00012|Marta Ruiz|Visita"}));
        volver(w);

        // On the cell without its editor (closed with Escape).
        QVERIFY(w.actividades->setData(w.actividades->index(0, ActividadModel::ColCliente), "Otro"));
        if (foco() != w.grd)
            QTest::keyClick(foco(), Qt::Key_Escape);
        QCOMPARE(foco(), w.grd);
        QTest::keyClick(foco(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(consultas, 2);
        QCOMPARE(lineas(w), QStringList({"10/01/2024|0A00012|Marta Ruiz|Visita"}));
        volver(w);

        // A name typed over in the editor, then Ctrl+Enter there.
        QTest::keyClick(w.grd, Qt::Key_F2);
        QCOMPARE(foco()->objectName(), QString("texto"));
        QTest::keyClicks(foco(), "Otra");
        QTest::keyClick(foco(), Qt::Key_Return, Qt::KeypadModifier | Qt::ControlModifier);
        QCOMPARE(consultas, 3);
        volver(w);
        if (foco() != w.grd)
            QTest::keyClick(foco(), Qt::Key_Tab); // leaves the cell
        QTRY_COMPARE(lineas(w), QStringList({"10/01/2024|0A00012|Marta Ruiz|Visita"}));
        clic(w.cmdOk);
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(log("0100001"), QStringList({"10/01/2024|0A00012|Marta Ruiz|Visita"}));
    }

    // A client code typed into the line brings the client's name, as a pick
    // does; an unknown code keeps the name the line has.
    void typedClientCodeFillsTheName() {
        propiedad("0100001", 1);
        frmPropiedades w(ctx(), false);
        mostrar(w);
        clic(w.cmdEdit);
        w.grd->setFocus();
        QTest::keyClick(w.grd, '0'); // the first key opens the cell's editor
        QTest::keyClicks(foco(), "2/05/2024");
        QTest::keyClick(foco(), Qt::Key_Tab); // the next cell, already editing
        QCOMPARE(w.grd->currentIndex(), w.actividades->index(0, ActividadModel::ColCodCliente));
        QTest::keyClicks(foco(), "0A00012");
        QTest::keyClick(foco(), Qt::Key_Return);
        QTRY_COMPARE(lineas(w), QStringList({"02/05/2024|0A00012|Marta Ruiz|"}));

        // A name typed by hand under a code the office does not know stays.
        QVERIFY(w.actividades->setData(w.actividades->index(1, 0), "03/05/2024"));
        QVERIFY(w.actividades->setData(w.actividades->index(1, ActividadModel::ColCliente), "Sr. Pérez"));
        QVERIFY(w.actividades->setData(w.actividades->index(1, ActividadModel::ColCodCliente), "X99"));
        clic(w.cmdOk);
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(log("0100001"),
                 QStringList({"02/05/2024|0A00012|Marta Ruiz|", "03/05/2024|X99|Sr. Pérez|"}));
    }

    // The seat's agent signs every line it adds; lines already written keep theirs.
    void newLinesCarryTheSeatsAgent() {
        propiedad("0100001", 1);
        actividad("0100001", "2024-01-10", "Antigua");
        ctx().db().execute("UPDATE Actividades SET Agente = 'Bea Dos'");
        ctx().agente.nombre = "Lars Andersson";
        frmPropiedades w(ctx(), false);
        mostrar(w);
        clic(w.cmdEdit);
        QVERIFY(w.actividades->setData(w.actividades->index(1, ActividadModel::ColFecha), "03/05/2024"));
        QVERIFY(w.actividades->setData(w.actividades->index(1, ActividadModel::ColActividad), "Llamada"));
        // An inserted line left empty is still no line, though it carries the agent.
        w.grd->setCurrentIndex(w.actividades->index(0, 0));
        clic(w.cmdInsertarLinea);
        clic(w.cmdOk);
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(ctx().db().query("SELECT Actividad, Agente FROM Actividades ORDER BY Cod"),
                 (QList<db::Row>{{"Antigua", "Bea Dos"}, {"Llamada", "Lars Andersson"}}));
        QCOMPARE(w.actividades->headerData(ActividadModel::ColAgente, Qt::Horizontal).toString(), "Agente");
    }
};

QTEST_MAIN(TestPropiedadesActividades)
#include "tst_propiedades_actividades.moc"
