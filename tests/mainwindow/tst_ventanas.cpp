// How the main window places, remembers and lists its windows, the tool
// dialogs' size, the menus' mnemonics and the status bar's office.

#include "Capturas.h"
#include "ModalUser.h"
#include "TestInstallation.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmMain.h"
#include "records/Registro.h"
#include "records/frmAgenda.h"
#include "search/AvisoCoincidencias.h"
#include "search/frmCoincidencias.h"
#include "shell/WindowRegistry.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

using orb::Ventana;

namespace {

// Windows of one kind and side each, as the record windows are.
void registrarVentanas(orb::WindowRegistry& registro) {
    for (Ventana v : {Ventana::Propiedades, Ventana::Clientes, Ventana::Tipos})
        registro.registrar(v, [v](orb::AppContext&, bool alquiler, QWidget* parent) -> QWidget* {
            auto* f = new QWidget(parent);
            f->setWindowTitle(QStringLiteral("Ventana %1 %2").arg(int(v)).arg(alquiler ? "A" : "V"));
            f->resize(300, 200);
            return f;
        });
}

QMdiSubWindow* marcoDe(QWidget* frm) {
    return qobject_cast<QMdiSubWindow*>(frm->parentWidget());
}

bool centrada(QMdiSubWindow* s, QMdiArea* area) {
    const QSize vp = area->viewport()->size();
    return qAbs(s->x() - (vp.width() - s->width()) / 2) <= 1 &&
           qAbs(s->y() - (vp.height() - s->height()) / 2) <= 1;
}

// The letter after a single ampersand, lower case; a null character when none.
QChar mnemonico(const QString& texto) {
    for (int i = 0; i + 1 < texto.size(); ++i) {
        if (texto[i] != u'&')
            continue;
        if (texto[i + 1] == u'&') {
            ++i;
            continue;
        }
        return texto[i + 1].toLower();
    }
    return {};
}

} // namespace

class tst_Ventanas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void mainWindowComesBackWhereItWasLeft() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        QRect dejada;
        {
            orb::frmMain w(inst.context(), registro);
            w.colocarAlArrancar();
            // The first time: 800 × 600, centred on the screen.
            QCOMPARE(w.size(), QSize(800, 600));
            const QRect pantalla = QGuiApplication::primaryScreen()->availableGeometry();
            QVERIFY((w.geometry().center() - pantalla.center()).manhattanLength() <= 2);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.setGeometry(40, 50, 640, 420);
            QTRY_COMPARE(w.geometry().size(), QSize(640, 420));
            dejada = w.geometry();
            QVERIFY(w.close());
        }
        {
            orb::frmMain w(inst.context(), registro);
            w.colocarAlArrancar();
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCOMPARE(w.geometry(), dejada);
            w.showMaximized();
            QTRY_VERIFY(w.isMaximized());
            QVERIFY(w.close());
        }
        orb::frmMain w(inst.context(), registro);
        w.colocarAlArrancar();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(w.isMaximized());
        guardarCaptura(QStringLiteral("principal-maximizada"));
        // Back to normal, it takes the size it had before it was maximised.
        w.showNormal();
        QTRY_COMPARE(w.geometry().size(), dejada.size());
    }

    void childWindowsComeBackPerKindAndSide() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        registrarVentanas(registro);
        QRect dejada;
        {
            orb::frmMain w(inst.context(), registro);
            w.resize(900, 700);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.usrShowPropiedadesVenta();
            QMdiSubWindow* s = marcoDe(w.ventana(Ventana::Propiedades));
            QVERIFY(centrada(s, w.mdiArea()));
            s->setGeometry(10, 20, 420, 260);
            dejada = s->geometry();
            // Raised again: it stays where the user put it.
            w.usrShowClientesVenta();
            w.usrShowPropiedadesVenta();
            QCOMPARE(s->geometry(), dejada);
            w.usrShowPropiedadesAlquiler();
            marcoDe(w.ventana(Ventana::Clientes))->showMaximized();
            QVERIFY(w.close());
        }
        orb::frmMain w(inst.context(), registro);
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.usrShowPropiedadesVenta();
        QCOMPARE(marcoDe(w.ventana(Ventana::Propiedades))->geometry(), dejada);
        // The other side is a window of its own: it was never moved, so it is centred.
        w.usrShowPropiedadesAlquiler();
        QVERIFY(centrada(marcoDe(w.ventana(Ventana::Propiedades, true)), w.mdiArea()));
        w.usrShowClientesVenta();
        QVERIFY(marcoDe(w.ventana(Ventana::Clientes))->isMaximized());
        // A place outside a smaller main window is brought inside it.
        QVERIFY(w.close());
        orb::frmMain pequena(inst.context(), registro);
        pequena.resize(360, 300);
        pequena.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pequena));
        pequena.usrShowPropiedadesVenta();
        const QRect r = marcoDe(pequena.ventana(Ventana::Propiedades))->geometry();
        QVERIFY2(pequena.mdiArea()->viewport()->rect().contains(r),
                 qPrintable(QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
    }

    void windowMenuListsAndArrangesTheWindows() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        registrarVentanas(registro);
        orb::frmMain w(inst.context(), registro);
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QMenu* m = w.mnuVentana();
        // Between Herramientas and Ayuda.
        const auto barra = w.menuBar()->actions();
        QCOMPARE(barra.indexOf(m->menuAction()), barra.indexOf(w.mnuMain(3)->menuAction()) - 1);
        auto lista = [m] {
            emit m->aboutToShow();
            QStringList out;
            for (QAction* a : m->actions())
                if (a->objectName().startsWith(QLatin1String("mnuVentanaLista")))
                    out << a->text() + (a->isChecked() ? "*" : "");
            return out;
        };
        QCOMPARE(lista(), QStringList());
        QVERIFY(!w.mnuCascada()->isEnabled());
        w.usrShowPropiedadesVenta();
        w.usrShowClientesAlquiler();
        w.mnuArchivo_Click(6);
        QCOMPARE(lista(), (QStringList{"&1 Ventana 0 V", "&2 Ventana 1 A", "&3 Ventana 6 V*"}));
        // Choosing an item brings that window to the front, minimised or not.
        marcoDe(w.ventana(Ventana::Propiedades))->showMinimized();
        for (QAction* a : m->actions())
            if (a->text() == "&1 Ventana 0 V")
                a->trigger();
        QCOMPARE(w.mdiArea()->activeSubWindow(), marcoDe(w.ventana(Ventana::Propiedades)));
        QVERIFY(!marcoDe(w.ventana(Ventana::Propiedades))->isMinimized());
        QCOMPARE(lista().first(), "&1 Ventana 0 V*");

        // Mosaico: side by side, nothing overlapping, all inside the area.
        w.mnuMosaico()->trigger();
        const auto hijas = w.mdiArea()->subWindowList();
        for (QMdiSubWindow* a : hijas) {
            QVERIFY(w.mdiArea()->viewport()->rect().contains(a->geometry()));
            for (QMdiSubWindow* b : hijas)
                QVERIFY(a == b || !a->geometry().intersects(b->geometry()));
        }
        // Cascada: each one lower and further right than the one before.
        w.mnuCascada()->trigger();
        QList<QPoint> esquinas;
        for (QMdiSubWindow* a : w.mdiArea()->subWindowList())
            esquinas << a->pos();
        std::sort(esquinas.begin(), esquinas.end(), [](QPoint a, QPoint b) { return a.y() < b.y(); });
        for (int i = 1; i < esquinas.size(); ++i)
            QVERIFY(esquinas[i].x() > esquinas[i - 1].x() && esquinas[i].y() > esquinas[i - 1].y());

        marcoDe(w.ventana(Ventana::Clientes, true))->close();
        QTRY_COMPARE(lista().size(), 2);
    }

    void everyMenuHasItsOwnMnemonics() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        registrarVentanas(registro);
        orb::frmMain w(inst.context(), registro);
        orb::PonerTitulosComandos(w);
        // The commands the program adds to the Tools menu at start-up, as it does.
        orb::AvisoCoincidencias aviso(inst.context(), w);
        orb::InstalarMenuVisitas(inst.context(), w);
        w.show();
        w.usrShowPropiedadesVenta();
        emit w.mnuVentana()->aboutToShow();
        QList<QMenu*> menus{w.mnuVentana()};
        for (int i = 0; i < 4; ++i)
            menus << w.mnuMain(i);
        QString barra;
        for (QAction* a : w.menuBar()->actions())
            barra += mnemonico(a->text());
        QCOMPARE(barra, "alhvu");
        for (QMenu* m : menus) {
            QList<QChar> vistos;
            for (QAction* a : m->actions()) {
                if (a->isSeparator())
                    continue;
                const QChar c = mnemonico(a->text());
                QVERIFY2(!c.isNull(), qPrintable(a->text()));
                QVERIFY2(!vistos.contains(c), qPrintable(m->title() + ": " + a->text()));
                vistos << c;
            }
        }
        QCOMPARE(w.mnuArchivo(10)->shortcut(), QKeySequence(QKeySequence::Quit));
    }

    void toolDialogsOpenAtTheirOwnSize() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        registro.registrar(Ventana::ExportacionWeb, [](orb::AppContext&, bool, QWidget* parent) -> QWidget* {
            auto* d = new QDialog(parent);
            new QPushButton(QStringLiteral("&Exportar"), d);
            d->resize(640, 480);
            return d;
        });
        // A plain widget in a dialog frame keeps its size too.
        registro.registrar(Ventana::ImportacionOficina,
                           [](orb::AppContext&, bool, QWidget* parent) -> QWidget* {
                               auto* f = new QWidget(parent);
                               new QPushButton(QStringLiteral("&Importar"), f);
                               f->resize(520, 360);
                               return f;
                           });
        orb::frmMain w(inst.context(), registro);
        w.resize(1000, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSize web, oficina;
        alAbrirseModal([&](QWidget* d) { web = d->size(); });
        w.mnuTool_Click(7);
        alAbrirseModal([&](QWidget* d) { oficina = d->size(); });
        w.mnuTool_Click(11); // "&Importación Oficina", after the portals' item
        QCOMPARE(web, QSize(640, 480));
        QCOMPARE(oficina, QSize(520, 360));
    }

    void matchesGridsCerrarClosesItsSubWindow() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        orb::frmMain w(inst.context(), registro);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        orb::frmCoincidencias::Mostrar(inst.context(), orb::frmCoincidencias::Modo::DeCliente, "0100001");
        QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
        QPointer<QMdiSubWindow> marco = w.mdiArea()->subWindowList().first();
        auto* cerrar = marco->findChild<QPushButton*>(QStringLiteral("cmdCerrar"));
        QVERIFY(cerrar);
        cerrar->click();
        // No empty frame left behind.
        QTRY_VERIFY(!marco);
        QCOMPARE(w.mdiArea()->subWindowList().size(), 0);
    }

    // The property window, the largest, whole inside a 1024×768 main window.
    void propertyWindowFitsA1024x768MainWindow() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        orb::RegistrarFichas(registro);
        orb::frmMain w(inst.context(), registro);
        w.resize(1024, 768);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (bool alquiler : {false, true}) {
            w.usrShow(Ventana::Propiedades, alquiler);
            QWidget* f = w.ventana(Ventana::Propiedades, alquiler);
            QVERIFY(f);
            QApplication::processEvents();
            const QRect vista = w.mdiArea()->viewport()->rect();
            const QRect marco = marcoDe(f)->geometry();
            QVERIFY2(vista.contains(marco), qPrintable(QStringLiteral("%1x%2 en %3x%4")
                                                           .arg(marco.width())
                                                           .arg(marco.height())
                                                           .arg(vista.width())
                                                           .arg(vista.height())));
            QVERIFY(!w.mdiArea()->horizontalScrollBar()->isVisible());
            QVERIFY(!w.mdiArea()->verticalScrollBar()->isVisible());
            // Nothing in it squeezed below what its controls need.
            QVERIFY(f->width() >= f->minimumSizeHint().width());
            QVERIFY(f->height() >= f->minimumSizeHint().height());
            guardarCaptura(alquiler ? "propiedades-alquiler-1024x768" : "propiedades-1024x768");
        }
    }

    void statusBarTellsTheOffice() {
        TestInstallation inst;
        orb::WindowRegistry registro;
        orb::frmMain w(inst.context(), registro);
        w.ponerOficina("02", false);
        QCOMPARE(w.lblOficina()->text(), "Oficina 02");
        w.ponerOficina("01", true);
        QCOMPARE(w.lblOficina()->text(), "Oficina 01 (principal)");
        QCOMPARE(w.lblOficina()->accessibleName(), "Oficina 01 (principal)");
        w.ponerOficina("", true);
        QCOMPARE(w.lblOficina()->text(), "Oficina principal");
    }
};

QTEST_MAIN(tst_Ventanas)
#include "tst_ventanas.moc"
