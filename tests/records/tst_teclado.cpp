// A record window worked from the keyboard alone, on the shown window: every
// key does what its button does and only when the button could, memos and
// grids keep the keys they use, the status bar follows the record, Tab
// follows the reading order.

#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "mainwindow/frmMain.h"
#include "platform/widgets/Atajos.h"
#include "records/ActividadModel.h"
#include "records/CamposPersona.h"
#include "records/FichaPersona.h"
#include "records/Registro.h"
#include "records/frmCatalogos.h"
#include "records/frmPropiedades.h"
#include "shell/WindowRegistry.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

using namespace orb;

namespace {

// The main window as far as the status bar goes.
class NavegadorConEstado : public TestNavigator {
public:
    using TestNavigator::TestNavigator;
    QStringList estado;
    void usrMensajeEstado(const QString& texto) override { estado << texto; }
};

QWidget* foco() {
    return QApplication::focusWidget();
}

void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QVERIFY(foco());
    QTest::keyClick(foco(), k, m);
}

} // namespace

class TestTeclado : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<NavegadorConEstado> nav;
    AppContext& ctx() { return inst->context(); }
    ui::ScriptedDialogService& dialogos() { return inst->dialogs(); }

    void propietario(int quick, const QString& nombre, const QString& comentarios = {}) {
        ctx().db().execute(
            "INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre, Comentarios) "
            "VALUES (?, '01', ?, FALSE, ?, ?)",
            {QStringLiteral("01%1").arg(quick, 5, 10, QChar('0')), quick, nombre, comentarios});
    }
    QString nombreGuardado(int quick) {
        return ctx().db().scalar("SELECT Nombre FROM Propietarios WHERE QuickID = ?", {quick}).toString();
    }
    int propietarios() { return ctx().db().scalar("SELECT count(*) FROM Propietarios").toInt(); }
    static void mostrar(QWidget& w, QWidget* enfoque) {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        enfoque->setFocus(Qt::OtherFocusReason);
        QCOMPARE(foco(), enfoque);
    }
    static QString nombre(frmPropietarios& w) { return w.txt[persona::Nombre]->Text(); }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        nav = std::make_unique<NavegadorConEstado>(ctx());
        ctx().db().execute("DELETE FROM Propietarios");
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() {
        nav.reset();
        inst.reset();
    }

    // Ctrl+Inicio, Re Pág, Av Pág and Ctrl+Fin from a (read-only) box move as
    // the four buttons do, with the position in the status bar; at either end
    // nothing moves.
    void browsingKeysMoveAndTheStatusBarFollows() {
        for (int i = 1; i <= 3; ++i)
            propietario(i, QStringLiteral("Dueño %1").arg(i));
        frmPropietarios w(ctx(), false);
        QCOMPARE(nav->estado.last(), "Registro 1 de 3");
        mostrar(w, w.txt[persona::Nombre]->widget());
        tecla(Qt::Key_PageDown);
        QCOMPARE(nombre(w), "Dueño 2");
        QCOMPARE(nav->estado.last(), "Registro 2 de 3");
        tecla(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(nombre(w), "Dueño 3");
        QCOMPARE(nav->estado.last(), "Registro 3 de 3");
        tecla(Qt::Key_PageDown);
        QCOMPARE(nombre(w), "Dueño 3");
        tecla(Qt::Key_PageUp);
        QCOMPARE(nombre(w), "Dueño 2");
        tecla(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(nombre(w), "Dueño 1");
        QCOMPARE(nav->estado.last(), "Registro 1 de 3");
        tecla(Qt::Key_PageUp);
        QCOMPARE(nombre(w), "Dueño 1");
        QVERIFY(dialogos().boxes().isEmpty());
    }

    // Ctrl+E, Ctrl+S, Ctrl+N, Ctrl+Intro: edit, store, add, store, with
    // "Registro guardado"; while a key's button is disabled the key does nothing.
    void editAddAndConfirmFromTheKeyboard() {
        propietario(1, "Ana");
        propietario(2, "Blas");
        frmPropietarios w(ctx(), false);
        mostrar(w, w.txt[persona::Nombre]->widget());
        tecla(Qt::Key_S, Qt::ControlModifier); // nothing to confirm
        QVERIFY(w.data->EstadoPaseando());
        tecla(Qt::Key_E, Qt::ControlModifier);
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(foco(), w.data->FirstControl());
        w.txt[persona::Nombre]->widget()->setFocus();
        tecla(Qt::Key_End);
        QTest::keyClicks(foco(), " Mari");
        tecla(Qt::Key_PageDown); // no moving away from an edit
        tecla(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(w.data->EstadoModificando());
        tecla(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(nombreGuardado(1), "Ana Mari");
        QCOMPARE(nav->estado.last(), "Registro guardado");

        tecla(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(w.data->EstadoAñadiendo());
        tecla(Qt::Key_E, Qt::ControlModifier); // no edit while adding
        QVERIFY(w.data->EstadoAñadiendo());
        w.txt[persona::Nombre]->widget()->setFocus();
        QTest::keyClicks(foco(), "Carmen");
        tecla(Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(nombreGuardado(3), "Carmen");
        tecla(Qt::Key_N, Qt::ControlModifier);
        w.txt[persona::Nombre]->widget()->setFocus();
        QTest::keyClicks(foco(), "Dora");
        QTest::keyClick(foco(), Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(nombreGuardado(4), "Dora");
        QVERIFY2(dialogos().boxes().isEmpty(), qPrintable(dialogos().texts().join('|')));
    }

    // Esc cancels at once when nothing was typed, asks when something was,
    // and does nothing while browsing.
    void escapeCancelsAndAsksBeforeLosingChanges() {
        propietario(1, "Ana");
        frmPropietarios w(ctx(), false);
        mostrar(w, w.txt[persona::Nombre]->widget());
        tecla(Qt::Key_Escape);
        QVERIFY(w.data->EstadoPaseando());
        QVERIFY(w.isVisible());

        tecla(Qt::Key_E, Qt::ControlModifier);
        tecla(Qt::Key_Escape);
        QVERIFY(w.data->EstadoPaseando());
        QVERIFY(dialogos().boxes().isEmpty());

        tecla(Qt::Key_N, Qt::ControlModifier);
        tecla(Qt::Key_Escape); // the office, number and date the add filled in are not the user's
        QVERIFY(w.data->EstadoPaseando());
        QVERIFY(dialogos().boxes().isEmpty());

        tecla(Qt::Key_N, Qt::ControlModifier);
        w.txt[persona::Nombre]->widget()->setFocus();
        QTest::keyClicks(foco(), "Berta");
        tecla(Qt::Key_Escape); // answered with its default: stay
        QCOMPARE(dialogos().texts(),
                 QStringList{"Se están añadiendo/modificando datos ¿desea descartar los cambios?"});
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(nombre(w), "Berta");
        dialogos().queueAnswer(ui::DialogService::Answer::Yes);
        tecla(Qt::Key_Escape);
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(nombre(w), "Ana");
        QCOMPARE(propietarios(), 1);

        // Typed and typed back is no change.
        const qsizetype preguntas = dialogos().boxes().size();
        tecla(Qt::Key_E, Qt::ControlModifier);
        w.txt[persona::Nombre]->widget()->setFocus();
        tecla(Qt::Key_End);
        QTest::keyClicks(foco(), "x");
        tecla(Qt::Key_Backspace);
        tecla(Qt::Key_Escape);
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(dialogos().boxes().size(), preguntas);
    }

    // A memo pages and jumps within its text, browsing or editing; Enter is
    // a new line; Ctrl+S still stores from it.
    void memoKeepsItsPagingKeys() {
        QStringList lineas;
        for (int i = 1; i <= 80; ++i)
            lineas << QStringLiteral("línea %1").arg(i);
        propietario(1, "Ana", lineas.join('\n'));
        propietario(2, "Blas");
        frmPropietarios w(ctx(), false);
        auto* memo = static_cast<QPlainTextEdit*>(w.txt[persona::Comentarios]->widget());
        mostrar(w, memo);
        tecla(Qt::Key_PageDown);
        tecla(Qt::Key_PageDown);
        QCOMPARE(nombre(w), "Ana");
        QVERIFY(memo->verticalScrollBar()->value() > 0);
        tecla(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(nombre(w), "Ana");

        tecla(Qt::Key_E, Qt::ControlModifier);
        memo->setFocus();
        tecla(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(memo->textCursor().position(), 0);
        QTest::keyClicks(foco(), "Nota");
        tecla(Qt::Key_Return);
        tecla(Qt::Key_PageUp);
        QVERIFY(w.data->EstadoModificando());
        tecla(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(ctx().db().scalar("SELECT Comentarios FROM Propietarios WHERE QuickID = 1").toString(),
                 "Nota\n" + lineas.join('\n'));
    }

    // Ctrl+P prints the record sheet while browsing, as "Imprimir Ficha" does.
    void printKeyShowsTheRecordSheet() {
        propietario(1, "Ana");
        frmPropietarios w(ctx(), false);
        mostrar(w, w.txt[persona::Nombre]->widget());
        tecla(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(nav->shown, QStringList{"usrShowReport:Ficha de Propietario"});
        tecla(Qt::Key_E, Qt::ControlModifier);
        tecla(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(nav->shown.size(), 1);
    }

    // The tooltips a person sees name the keys; the buttons' own tooltips and
    // accessible names stay as they were.
    void tooltipsNameTheKeys() {
        propietario(1, "Ana");
        frmPropietarios w(ctx(), false);
        mostrar(w, w.txt[persona::Nombre]->widget());
        const QList<std::pair<QToolButton*, QString>> esperado = {
            {w.cmdFirst, "Primer registro (Ctrl+Inicio)"}, {w.cmdPrev, "Anterior registro (Re Pág)"},
            {w.cmdNext, "Siguiente registro (Av Pág)"},    {w.cmdLast, "Último registro (Ctrl+Fin)"},
            {w.cmdAdd, "Añadir registro (Ctrl+N)"},        {w.cmdEdit, "Editar registro (Ctrl+E)"},
            {w.cmdOk, "Aceptar (Ctrl+S o Ctrl+Intro)"},    {w.cmdCancel, "Cancelar (Esc)"},
            {w.butPrint, "Imprimir Ficha (Ctrl+P)"}};
        for (const auto& [boton, texto] : esperado) {
            QHelpEvent ayuda(QEvent::ToolTip, QPoint(2, 2), boton->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(boton, &ayuda);
            QCOMPARE(QToolTip::text(), texto);
            QVERIFY(!boton->toolTip().contains('('));
            QCOMPARE(boton->accessibleName(), boton->toolTip());
        }
    }

    // A list keeps the paging keys while the moves are off; the activity grid keeps Esc for its cell editor,
    // its paging keys and Ctrl+Intro; the window's keys act again once the focus leaves it.
    void gridKeepsItsKeys() {
        for (int i = 1; i <= 2; ++i)
            ctx().db().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado) "
                               "VALUES (?, '01', ?, FALSE, 'En Venta')",
                               {QStringLiteral("010000%1").arg(i), i});
        frmPropiedades w(ctx(), false);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.tabs->setCurrentWidget(w.picActividades);
        w.grd->setFocus();
        tecla(Qt::Key_PageDown);
        QCOMPARE(w.data->Recordset()->value("Cod").toString(), "0100001");
        tecla(Qt::Key_E, Qt::ControlModifier);
        QVERIFY(w.data->EstadoModificando());
        // No moving while editing: a list's own paging keys pick in it.
        QComboBox* estado = w.cbo[prop::Estado];
        estado->setCurrentIndex(0);
        estado->setFocus();
        tecla(Qt::Key_PageDown);
        QVERIFY(estado->currentIndex() > 0);
        w.grd->setFocus();
        w.grd->setCurrentIndex(w.actividades->index(0, ActividadModel::ColActividad));
        tecla(Qt::Key_F2);
        QVERIFY(w.grd->indexWidget(w.grd->currentIndex()) || foco() != w.grd);
        QTest::keyClicks(foco(), "Visita");
        tecla(Qt::Key_Escape); // the cell's edit ends, the record's goes on
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(foco(), w.grd);
        tecla(Qt::Key_Escape);
        QVERIFY(w.data->EstadoModificando());
        w.cmdOk->setFocus();
        dialogos().queueAnswer(ui::DialogService::Answer::Yes);
        tecla(Qt::Key_Escape); // the list was changed: asked, then discarded
        QCOMPARE(dialogos().boxes().size(), 1);
        QVERIFY(w.data->EstadoPaseando());
    }

    // In the real main window: the status bar keeps the position beside its
    // other notices, and a key reaches only the window that has the focus,
    // though every record window has the same keys.
    void mainWindowShowsThePositionAndKeysReachOnlyTheActiveWindow() {
        nav.reset();
        propietario(1, "Ana");
        propietario(2, "Blas");
        WindowRegistry registro;
        RegistrarFichas(registro);
        frmMain m(ctx(), registro);
        m.show();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        m.tb_ButtonClick("CLIENTES");
        auto* estado = m.statusBar()->findChild<QLabel*>("lblEstadoRegistro");
        QVERIFY(estado);
        QCOMPARE(estado->text(), "Ningún registro");
        m.tb_ButtonClick("PROPIETARIOS");
        auto* duenos = qobject_cast<FichaPersona*>(m.ventana(Ventana::Propietarios, false));
        auto* clientes = qobject_cast<FichaPersona*>(m.ventana(Ventana::Clientes, false));
        QVERIFY(duenos && clientes);
        QCOMPARE(estado->text(), "Registro 1 de 2");
        duenos->txt[persona::Nombre]->widget()->setFocus();
        tecla(Qt::Key_PageDown);
        QCOMPARE(estado->text(), "Registro 2 de 2");
        QCOMPARE(duenos->txt[persona::Nombre]->Text(), "Blas");
        tecla(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(duenos->data->EstadoAñadiendo());
        QVERIFY(clientes->data->EstadoVacio());
        duenos->cmdCancel->click();
    }

    // A catalogue's Tab starts at the name, as its typing does; the code,
    // above it, comes last.
    void catalogueTabStartsAtTheName() {
        frmTipos w(ctx());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmdAdd->click();
        QCOMPARE(foco(), w.txt[CatalogoWindow::Nombre]->widget());
        QList<QWidget*> orden;
        for (int i = 0; i < 5; ++i) {
            tecla(Qt::Key_Tab);
            orden << foco();
        }
        QCOMPARE(orden, (QList<QWidget*>{w.txt[frmTipos::NombreIngles]->widget(),
                                         w.txt[frmTipos::NombreFrances]->widget(), w.cboTipoPortales,
                                         w.txt[CatalogoWindow::Codigo]->widget(), w.cmdOk}));
        w.cmdClose->setFocus();
        tecla(Qt::Key_Tab);
        QCOMPARE(foco(), w.txt[CatalogoWindow::Nombre]->widget());
        w.cmdCancel->click();
    }

    // Tab goes along the button bar, document buttons included, then through
    // the panel top to bottom and left to right.
    void tabFollowsTheReadingOrder() {
        ctx().db().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado) "
                           "VALUES ('0100001', '01', 1, FALSE, 'En Venta')");
        frmPropiedades w(ctx(), false);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmdEdit->click();
        QList<QWidget*> orden;
        w.cmdOk->setFocus();
        for (int i = 0; i < 200 && !orden.contains(foco()); ++i) {
            orden << foco();
            tecla(Qt::Key_Tab);
        }
        const qsizetype cancelar = orden.indexOf(w.cmdCancel), cerrar = orden.indexOf(w.cmdClose);
        QCOMPARE(orden.indexOf(w.cmdOk), 0);
        QCOMPARE(cancelar, 1);
        QCOMPARE(orden.indexOf(w.butPrint), -1); // disabled while editing
        QVERIFY(cerrar > cancelar);
        // Below the bar, on the current tab and the header above it: by rows.
        QList<QWidget*> panel;
        for (QWidget* c : orden.mid(cerrar + 1))
            if (!w.Picture2->isAncestorOf(c) && !c->inherits("QTabBar"))
                panel << c;
        QVERIFY(panel.size() > 10);
        for (qsizetype i = 1; i < panel.size(); ++i) {
            const QPoint a = panel[i - 1]->mapTo(&w, QPoint(0, 0)), b = panel[i]->mapTo(&w, QPoint(0, 0));
            const bool mismaFila = std::abs(a.y() - b.y()) < panel[i]->height() / 2;
            QVERIFY2(mismaFila ? b.x() > a.x() : b.y() > a.y(),
                     qPrintable(panel[i - 1]->objectName() + " → " + panel[i]->objectName()));
        }
        // Browsing, the document buttons come between Cancelar and Cerrar.
        w.cmdCancel->click();
        w.cmdDel->setFocus();
        QList<QWidget*> barra;
        for (int i = 0; i < 200 && foco() != w.cmdClose; ++i) {
            tecla(Qt::Key_Tab);
            barra << foco();
        }
        QCOMPARE(barra.mid(0, 4), (QList<QWidget*>{w.butPrint, w.butDossier, w.butPDF, w.butEmail}));
    }
};

QTEST_MAIN(TestTeclado)
#include "tst_teclado.moc"
