// The main window: its commands, the window slots and how windows are placed,
// the About box, and what a screen reader finds in it.

#include "Accessibility.h"
#include "ModalUser.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "shell/WindowRegistry.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using orb::Listado;
using orb::Ventana;

namespace {

using Llamada = std::pair<Ventana, bool>; // window, rentals side

// A main window on a fresh installation, with factories that record what
// they are asked to create.
class Principal {
public:
    Principal() : w(inst.context(), registro) {}

    void registrar(Ventana v) {
        registro.registrar(v, [this, v](orb::AppContext&, bool alquiler, QWidget* parent) -> QWidget* {
            llamadas.append({v, alquiler});
            auto* f = new QWidget(parent);
            f->resize(320, 200);
            return f;
        });
    }
    // Record, search and catalogue windows registered, main window shown.
    bool mostrarConVentanas() {
        for (Ventana v : {Ventana::Propiedades, Ventana::Clientes, Ventana::Propietarios,
                          Ventana::BusPropiedades, Ventana::BusClientes, Ventana::BusPropietarios,
                          Ventana::Tipos, Ventana::Localidades, Ventana::Areas})
            registrar(v);
        return mostrar();
    }
    bool mostrar() {
        w.show();
        return QTest::qWaitForWindowExposed(&w);
    }
    QList<QMdiSubWindow*> hijas() const { return w.mdiArea()->subWindowList(); }

    TestInstallation inst;
    orb::WindowRegistry registro;
    orb::frmMain w;
    QList<Llamada> llamadas;
};

QMdiSubWindow* marcoDe(QWidget* frm) {
    return qobject_cast<QMdiSubWindow*>(frm->parentWidget());
}

bool centradaEnArea(QWidget* frm, QMdiArea* area) {
    QMdiSubWindow* s = marcoDe(frm);
    const QSize vp = area->viewport()->size();
    return s && qAbs(s->x() - (vp.width() - s->width()) / 2) <= 1 &&
           qAbs(s->y() - (vp.height() - s->height()) / 2) <= 1;
}

bool centradaSobre(QWidget* w, QWidget* sobre) {
    return (w->frameGeometry().center() - sobre->geometry().center()).manhattanLength() <= 2;
}

// A window that refuses to close, as a record window in the middle of an edit would.
class Terca : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

// Names of the controls a screen reader reaches from iface (hidden ones left out).
void recogerNombres(QAccessibleInterface* iface, QStringList& nombres, int nivel = 0) {
    if (!iface || nivel > 30 || iface->state().invisible)
        return;
    static const QSet<QAccessible::Role> controles = {
        QAccessible::PushButton,  QAccessible::ButtonMenu, QAccessible::ButtonDropDown, QAccessible::CheckBox,
        QAccessible::RadioButton, QAccessible::ComboBox,   QAccessible::EditableText,   QAccessible::MenuItem,
        QAccessible::ToolBar,     QAccessible::MenuBar,    QAccessible::PageTab,        QAccessible::SpinBox};
    if (controles.contains(iface->role()))
        nombres << iface->text(QAccessible::Name);
    for (int i = 0; i < iface->childCount(); ++i)
        recogerNombres(iface->child(i), nombres, nivel + 1);
}

bool unicos(const QStringList& l) {
    return QSet<QString>(l.begin(), l.end()).size() == l.size();
}

// Toolbar keys of the twelve sales and rentals commands in toolbar order, which is the order of
// their windows; in mixed case, as keys are compared whatever their case.
const QStringList teclas =
    QString("propiedades PROPIEDADESALQUILER Clientes clientesAlquiler PropietariOS "
            "propietariosalquiler Busqueda busquedaalquiler BUSQUEDACLIENTES "
            "BusquedaClientesAlquiler busquedapropietarios BUSQUEDAPROPIETARIOSalquiler")
        .split(u' ');

} // namespace

Q_DECLARE_METATYPE(Ventana)

class tst_MainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ORB_MOTOR_DISPONIBLE();
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void toolbarButtonsOpenEachSlotInOrder() {
        Principal p;
        QCOMPARE(p.w.windowTitle(), "Orbalia 4.0");
        QVERIFY(!p.w.windowIcon().pixmap(QSize(32, 32)).isNull());
        QVERIFY(p.mostrarConVentanas());
        // Records for sales then rentals, searches after a separator; Salir last, after another.
        QList<int> separadores;
        const auto acciones = p.w.tb()->actions();
        for (int i = 0; i < acciones.size(); ++i)
            if (acciones[i]->isSeparator())
                separadores << i;
        QCOMPARE(separadores, (QList<int>{6, 13}));
        QCOMPARE(acciones.last(), p.w.tbBoton("salir"));

        QList<Llamada> esperadas;
        for (int i = 0; i < teclas.size(); ++i) {
            const Llamada esperada(Ventana(i / 2), i % 2 == 1);
            const QString& tecla = teclas[i];
            QCOMPARE(acciones[i < 6 ? i : i + 1], p.w.tbBoton(tecla));
            // The key is compared whatever its case.
            p.w.tb_ButtonClick(tecla);
            esperadas << esperada;
            QCOMPARE(p.llamadas, esperadas);
            QWidget* frm = p.w.ventana(esperada.first, esperada.second);
            QVERIFY(frm && frm->isVisible());
            QVERIFY(!p.w.ventana(esperada.first, !esperada.second));
            QCOMPARE(p.w.mdiArea()->activeSubWindow(), marcoDe(frm));
            QVERIFY(centradaEnArea(frm, p.w.mdiArea()));
            // Windows without an icon of their own take the main window's.
            QCOMPARE(frm->windowIcon().cacheKey(), p.w.windowIcon().cacheKey());

            // Closing empties the slot; other windows fill it again through the navigator.
            marcoDe(frm)->close();
            QTRY_VERIFY(!p.w.ventana(esperada.first, esperada.second));
            QCOMPARE(p.inst.context().navigator, static_cast<orb::Navigator*>(&p.w));
            p.inst.context().navigator->usrShow(esperada.first, esperada.second);
            esperadas << esperada;
            // The button shows the window already open.
            p.w.tbBoton(tecla)->trigger();
            QCOMPARE(p.llamadas, esperadas);
            QCOMPARE(p.hijas().size(), 1);
            marcoDe(p.w.ventana(esperada.first, esperada.second))->close();
            QTRY_VERIFY(!p.w.ventana(esperada.first, esperada.second));
        }
        // Each button has a picture of its own.
        QList<QImage> imagenes;
        for (const QString& key : orb::frmMain::tbKeys()) {
            const QImage img = p.w.tbBoton(key)->icon().pixmap(QSize(24, 24)).toImage();
            QImage vacia(img.size(), img.format());
            vacia.fill(Qt::transparent);
            QVERIFY2(!img.isNull() && img != vacia, qPrintable(key));
            QVERIFY2(!imagenes.contains(img), qPrintable(key + " looks like another button"));
            imagenes << img;
        }
        acciones.last()->trigger();
        QVERIFY(!p.w.isVisible());
    }

    void commandsFollowTheRegisteredWindows() {
        Principal p;
        auto activos = [&p] {
            QStringList out;
            for (QAction* a : p.w.findChildren<QAction*>())
                if (a->isEnabled() && !a->isSeparator() && !a->objectName().isEmpty() &&
                    !a->objectName().startsWith(QLatin1String("mnuMain")) &&
                    a->objectName() != QLatin1String("mnuVentana"))
                    out << a->objectName();
            out.sort();
            return out.join(u' ');
        };
        QCOMPARE(activos(), "mnuArchivo(10) mnuAyu(0) mnuBusquedaRapida salir");
        p.registrar(Ventana::Propiedades);
        QCOMPARE(activos(),
                 "mnuArchivo(0) mnuArchivo(1) mnuArchivo(10) mnuAyu(0) mnuBusquedaRapida propiedades "
                 "propiedadesalquiler salir");
        p.registrar(Ventana::BusClientes);
        p.registrar(Ventana::Configuracion);
        p.registro.registrarListado(Listado::Tipos,
                                    {[](orb::AppContext&, QWidget* w) { return new QWidget(w); },
                                     [](QWidget*, const QString&) { return true; }});
        QCOMPARE(activos(), "busquedaclientes busquedaclientesalquiler mnuArchivo(0) "
                            "mnuArchivo(1) mnuArchivo(10) mnuAyu(0) mnuBusquedaRapida mnuLis(5) mnuTool(13) "
                            "mnuTool(2) mnuTool(3) propiedades propiedadesalquiler salir");
        // A disabled command does nothing when called anyway.
        p.w.usrShowClientesVenta();
        p.w.mnuTool_Click(7);
        QVERIFY(p.hijas().isEmpty() && p.llamadas.isEmpty());
    }

    void salir_data() {
        QTest::addColumn<QString>("tecla");
        QTest::addColumn<bool>("hijaTerca");
        QTest::newRow("salir") << "salir" << false;
        QTest::newRow("SALIR") << "SALIR" << false;
        QTest::newRow("a child refuses to close") << "Salir" << true;
    }
    void salir() {
        QFETCH(QString, tecla);
        QFETCH(bool, hijaTerca);
        Principal p;
        QVERIFY(p.mostrarConVentanas());
        if (hijaTerca)
            p.registro.registrar(Ventana::Propiedades,
                                 [](orb::AppContext&, bool, QWidget* parent) { return new Terca(parent); });
        p.w.usrShowPropiedadesVenta();
        QPointer<QWidget> hija = p.w.ventana(Ventana::Propiedades);
        // Unknown keys do nothing.
        p.w.tb_ButtonClick("tipos");
        p.w.tb_ButtonClick(QString());
        QVERIFY(p.w.isVisible());
        QCOMPARE(p.hijas().size(), 1);

        p.w.tb_ButtonClick(tecla);
        QCOMPARE(p.w.isVisible(), hijaTerca);
        if (!hijaTerca)
            QTRY_VERIFY(!hija); // its children go with it
    }

    void eachSlotHoldsOneWindow() {
        Principal p;
        QVERIFY(p.mostrarConVentanas());
        p.w.mnuArchivo_Click(0);
        p.w.mnuArchivo_Click(1);
        QWidget* venta = p.w.ventana(Ventana::Propiedades, false);
        QWidget* alquiler = p.w.ventana(Ventana::Propiedades, true);
        QVERIFY(venta && alquiler && venta != alquiler && venta->isVisible() && alquiler->isVisible());
        marcoDe(venta)->move(0, 0);

        // Called again: the same window, in front, where the user left it.
        p.w.mnuArchivo_Click(0);
        QCOMPARE(p.w.ventana(Ventana::Propiedades, false), venta);
        QCOMPARE(p.w.mdiArea()->activeSubWindow(), marcoDe(venta));
        QCOMPARE(marcoDe(venta)->pos(), QPoint(0, 0));
        // Closing one side leaves the other open.
        marcoDe(alquiler)->close();
        QTRY_VERIFY(!p.w.ventana(Ventana::Propiedades, true));
        QCOMPARE(p.w.ventana(Ventana::Propiedades, false), venta);
        // Catalogue windows are single too.
        for (int i : {6, 7, 8, 6, 7, 8})
            p.w.mnuArchivo_Click(i);
        QCOMPARE(p.hijas().size(), 4);
        QCOMPARE(p.llamadas, (QList<Llamada>{{Ventana::Propiedades, false},
                                             {Ventana::Propiedades, true},
                                             {Ventana::Tipos, false},
                                             {Ventana::Localidades, false},
                                             {Ventana::Areas, false}}));
    }

    void toolWindowsRunModalOverTheMainWindow_data() {
        QTest::addColumn<int>("indice");
        QTest::addColumn<Ventana>("ventana");
        QTest::newRow("Exportación al Web") << 7 << Ventana::ExportacionWeb;
        QTest::newRow("Exportación a portales") << 8 << Ventana::ExportacionPortales;
        QTest::newRow("Exportación Oficina") << 10 << Ventana::ExportacionOficina;
        QTest::newRow("Importación Oficina") << 11 << Ventana::ImportacionOficina;
        QTest::newRow("Configuración") << 13 << Ventana::Configuracion;
    }
    void toolWindowsRunModalOverTheMainWindow() {
        QFETCH(int, indice);
        QFETCH(Ventana, ventana);
        Principal p;
        int creadas = 0;
        p.registro.registrar(ventana, [&creadas](orb::AppContext&, bool, QWidget* parent) -> QWidget* {
            ++creadas;
            auto* d = new QDialog(parent);
            d->setFixedSize(300, 180);
            return d;
        });
        QVERIFY(p.mostrar());
        bool centrada = false;
        alAbrirseModal([&](QWidget* modal) { centrada = centradaSobre(modal, &p.w); });
        p.w.mnuTool_Click(indice);
        // The command returns only once the window is closed.
        QVERIFY(centrada);
        QTRY_VERIFY(!p.w.ventana(ventana));
        alAbrirseModal([](QWidget*) {});
        p.w.mnuTool_Click(indice);
        QCOMPARE(creadas, 2);
    }

    void aboutBox() {
        Principal p;
        QVERIFY(p.mostrar());
        QString titulo, info, boton;
        QStringList problemas;
        bool centrada = false, aceptada = false;
        alAbrirseModal([&](QWidget* w) {
            auto* about = qobject_cast<orb::frmAbout*>(w);
            QVERIFY(about && about->isModal());
            centrada = centradaSobre(about, &p.w);
            titulo = about->windowTitle();
            info = about->lblInfo()->text();
            boton = about->cmdAceptar()->text();
            problemas = accessibilityProblems(about);
            QTest::keyClick(about, Qt::Key_Return); // Enter accepts the box
            aceptada = !about->isVisible();
        });
        p.w.mnuAyu_Click(0);
        QVERIFY(centrada && aceptada);
        QCOMPARE(titulo, "Acerca de Orbalia 4.0");
        QCOMPARE(boton, "&Aceptar");
        // An empty line, the product, telephone, e-mail and web.
        QVERIFY2(QRegularExpression("^\\nOrbalia 4\\.0\\n[^\\n]*\\d{3} \\d{3} \\d{3}[^\\n]*\\n"
                                    "[^\\n]*@[^\\n]*\\nwww\\.[^\\n]+$")
                     .match(info)
                     .hasMatch(),
                 qPrintable(info));
        QCOMPARE(problemas, QStringList());
    }

    void listingsShareTheirReport() {
        Principal p;
        QStringList preparados;
        for (Listado l : {Listado::Clientes, Listado::LocalidadesAreas})
            p.registro.registrarListado(l, {[](orb::AppContext&, QWidget* parent) -> QWidget* {
                                                auto* r = new QWidget(parent);
                                                r->resize(400, 300);
                                                return r;
                                            },
                                            [&](QWidget*, const QString& sql) {
                                                preparados << sql;
                                                return true;
                                            }});
        QVERIFY(p.mostrar());
        p.w.mnuLis_Click(0);
        QWidget* rep = p.w.informe(Listado::Clientes);
        QCOMPARE(rep->windowTitle(), "Listado de Clientes de Ventas");
        p.w.mnuLis_Click(1);
        QCOMPARE(p.w.informe(Listado::Clientes), rep);
        QCOMPARE(rep->windowTitle(), "Listado de Clientes de Alquileres");
        QVERIFY(centradaEnArea(rep, p.w.mdiArea()));
        QCOMPARE(rep->windowIcon().cacheKey(), p.w.windowIcon().cacheKey());
        p.w.mnuLis_Click(4);
        QCOMPARE(p.w.informe(Listado::LocalidadesAreas)->windowTitle(), "Listado de Localidades/Areas");
        QCOMPARE(p.hijas().size(), 2);
        QCOMPARE(
            preparados,
            (QStringList{"select * from clientes where not alquiler", "select * from clientes where alquiler",
                         "select * from listadolocalidadesareas order by LocalidadesCod, AreasCod"}));
    }

    void mailGoesToTheRegisteredClient() {
        Principal p;
        p.w.usrEmailPara("ana@example.com", "Ana"); // nothing registered
        QStringList recibido;
        p.registro.registrarCorreo(
            [&](orb::AppContext&, QWidget*, const QString& d, const QString& n) { recibido << d << n; },
            [&](orb::AppContext&, QWidget*, const QString& a, const QString& t, const QString& f) {
                recibido << a << t << f;
            });
        p.inst.context().navigator->usrEmailPara("ana@example.com", "Ana");
        p.w.usrEmailDossier("Dossier", "Adjunto", "/tmp/d.pdf");
        QCOMPARE(recibido, (QStringList{"ana@example.com", "Ana", "Dossier", "Adjunto", "/tmp/d.pdf"}));
    }

    void accessibleNamesAreSetAndUnique() {
        Principal p;
        orb::PonerTitulosComandos(p.w);
        QVERIFY(p.mostrar());
        // The main window itself: menu bar, toolbar and its buttons, the latter spoken by their tooltip.
        QStringList nombres;
        recogerNombres(QAccessible::queryAccessibleInterface(&p.w), nombres);
        QVERIFY(nombres.size() >= 13 + 4);
        QVERIFY2(!nombres.contains(QString()) && unicos(nombres), qPrintable(nombres.join(u'|')));
        QVERIFY(nombres.contains("Busqueda de Clientes de Alquileres"));
        // Each menu is a window of its own: one name per item, unique within it.
        for (int m = 0; m < 4; ++m) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(p.w.mnuMain(m));
            QStringList items;
            for (int i = 0; i < iface->childCount(); ++i)
                if (iface->child(i)->role() != QAccessible::Separator)
                    items << iface->child(i)->text(QAccessible::Name);
            const auto acciones = p.w.mnuMain(m)->actions();
            QCOMPARE(items.size(), std::count_if(acciones.begin(), acciones.end(),
                                                 [](QAction* a) { return !a->isSeparator(); }));
            QVERIFY2(!items.join(QString()).contains(u'&') && !items.contains(QString()) && unicos(items),
                     qPrintable(items.join(u'|')));
        }
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
