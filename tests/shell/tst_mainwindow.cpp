// The main window: its commands, the window slots and how windows are placed,
// the About box, and what a screen reader finds in it.

#include "TestInstallation.h"
#include "shell/Startup.h"
#include "shell/WindowRegistry.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using orb::Listado;
using orb::Ventana;

namespace {

struct Llamada {
    Ventana ventana;
    bool alquiler;
    bool operator==(const Llamada&) const = default;
};

// A main window on a fresh installation, with factories that record what
// they are asked to create.
class Principal {
public:
    Principal() : w(inst.context(), registro) {}

    void registrar(Ventana v) {
        registro.registrar(v, [this, v](orb::AppContext&, bool alquiler, QWidget* parent) -> QWidget* {
            llamadas.append({v, alquiler});
            auto* f = new QWidget(parent);
            f->setObjectName(QStringLiteral("ventana%1%2").arg(int(v)).arg(alquiler ? "A" : "V"));
            f->setWindowTitle(f->objectName());
            f->resize(320, 200);
            return f;
        });
    }
    void registrarRegistrosYBusquedas() {
        for (Ventana v : {Ventana::Propiedades, Ventana::Clientes, Ventana::Propietarios,
                          Ventana::BusPropiedades, Ventana::BusClientes, Ventana::BusPropietarios,
                          Ventana::Tipos, Ventana::Localidades, Ventana::Areas})
            registrar(v);
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
    for (QWidget* p = frm; p; p = p->parentWidget())
        if (auto* s = qobject_cast<QMdiSubWindow*>(p))
            return s;
    return nullptr;
}

bool centradaEnArea(QWidget* frm, QMdiArea* area) {
    QMdiSubWindow* s = marcoDe(frm);
    if (!s)
        return false;
    const QSize vp = area->viewport()->size();
    return qAbs(s->x() - (vp.width() - s->width()) / 2) <= 1 &&
           qAbs(s->y() - (vp.height() - s->height()) / 2) <= 1;
}

// Runs inspeccion on the next modal window as soon as it is up, then closes it.
void alAbrirseModal(std::function<void(QWidget*)> inspeccion) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, t, [t, inspeccion] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        t->stop();
        t->deleteLater();
        inspeccion(modal);
        if (QApplication::activeModalWidget() == modal)
            modal->close();
    });
    t->start();
}

// A window that refuses to close, as a record window in the middle of an edit would.
class Terca : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

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

} // namespace

Q_DECLARE_METATYPE(Ventana)

class tst_MainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void designCaptionsAndToolbar() {
        Principal p;
        QVERIFY(!p.w.windowIcon().pixmap(QSize(32, 32)).isNull());
        QCOMPARE(p.w.windowTitle(), QStringLiteral("Orbalia 4.0"));
        QCOMPARE(p.w.mnuArchivo(0)->text(), QStringLiteral("&Propiedades en Venta"));
        QCOMPARE(p.w.mnuArchivo(3)->text(), QStringLiteral("&Clientes Alquileres"));
        QCOMPARE(p.w.mnuArchivo(5)->text(), QStringLiteral("Pr&opietarios Alquileres"));
        QVERIFY(p.w.mnuArchivo(9)->isSeparator());
        QCOMPARE(p.w.mnuLis(0)->text(), QStringLiteral("Listado de &Clientes"));
        QCOMPARE(p.w.mnuLis(3)->text(), QStringLiteral("Listado de Pr&opietarios de Alquileres"));
        QCOMPARE(p.w.mnuTool(3)->text(), QStringLiteral("Búsqueda de Clientes de &Alquileres"));
        for (int i : {6, 8, 11})
            QVERIFY(p.w.mnuTool(i)->isSeparator());
        QCOMPARE(p.w.mnuMain(0)->actions().size(), 11);
        QCOMPARE(p.w.mnuMain(1)->actions().size(), 6);
        QCOMPARE(p.w.mnuMain(2)->actions().size(), 13);
        QCOMPARE(p.w.mnuMain(3)->actions().size(), 1);
        QCOMPARE(p.w.tbBoton(QStringLiteral("propiedades"))->toolTip(), QStringLiteral("Propiedades"));
        QCOMPARE(p.w.tbBoton(QStringLiteral("clientesalquiler"))->toolTip(),
                 QStringLiteral("Clientes de Alquiler"));
        QCOMPARE(p.w.tbBoton(QStringLiteral("busqueda"))->toolTip(), QStringLiteral("Búsqueda"));

        // Buttons in order, a separator after each group of six.
        QStringList orden;
        for (QAction* a : p.w.tb()->actions())
            orden << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
        QCOMPARE(orden.join(u' '),
                 QStringLiteral(
                     "propiedades propiedadesalquiler clientes clientesalquiler propietarios "
                     "propietariosalquiler | busqueda busquedaalquiler busquedaclientes "
                     "busquedaclientesalquiler busquedapropietarios busquedapropietariosalquiler | salir"));
    }

    void toolbarImagesAreDistinct() {
        Principal p;
        QList<QImage> imagenes;
        for (const QString& key : orb::frmMain::tbKeys()) {
            const QImage img = p.w.tbBoton(key)->icon().pixmap(QSize(24, 24)).toImage();
            QVERIFY2(!img.isNull(), qPrintable(key));
            bool pintada = false;
            for (int y = 0; y < img.height() && !pintada; ++y)
                for (int x = 0; x < img.width() && !pintada; ++x)
                    pintada = qAlpha(img.pixel(x, y)) > 0;
            QVERIFY2(pintada, qPrintable(key));
            QVERIFY2(!imagenes.contains(img), qPrintable(key + QStringLiteral(" looks like another button")));
            imagenes << img;
        }
    }

    void commandsFollowTheRegisteredWindows() {
        Principal p;
        auto activos = [&p] {
            QStringList out;
            for (QAction* a : p.w.findChildren<QAction*>())
                if (!a->isSeparator() && a->isEnabled() &&
                    !a->objectName().startsWith(QLatin1String("mnuMain")) && !a->objectName().isEmpty())
                    out << a->objectName();
            out.sort();
            return out;
        };
        QCOMPARE(activos(), (QStringList{"mnuArchivo(10)", "mnuAyu(0)", "salir"}));

        p.registrar(Ventana::Propiedades);
        QCOMPARE(activos(), (QStringList{"mnuArchivo(0)", "mnuArchivo(1)", "mnuArchivo(10)", "mnuAyu(0)",
                                         "propiedades", "propiedadesalquiler", "salir"}));

        p.registrar(Ventana::BusClientes);
        p.registrar(Ventana::Configuracion);
        p.registro.registrarListado(Listado::Tipos,
                                    {[](orb::AppContext&, QWidget* parent) { return new QWidget(parent); },
                                     [](QWidget*, const QString&) {}});
        QCOMPARE(activos(),
                 (QStringList{"busquedaclientes", "busquedaclientesalquiler", "mnuArchivo(0)",
                              "mnuArchivo(1)", "mnuArchivo(10)", "mnuAyu(0)", "mnuLis(5)", "mnuTool(12)",
                              "mnuTool(2)", "mnuTool(3)", "propiedades", "propiedadesalquiler", "salir"}));

        // A disabled command does nothing when called anyway.
        p.w.usrShowClientesVenta();
        p.w.mnuTool_Click(7);
        QVERIFY(p.hijas().isEmpty());
        QVERIFY(p.llamadas.isEmpty());
    }

    void toolbarKeysMapCaseInsensitively_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<Ventana>("ventana");
        QTest::addColumn<bool>("alquiler");
        QTest::newRow("propiedades") << "propiedades" << Ventana::Propiedades << false;
        QTest::newRow("PROPIEDADESALQUILER") << "PROPIEDADESALQUILER" << Ventana::Propiedades << true;
        QTest::newRow("Clientes") << "Clientes" << Ventana::Clientes << false;
        QTest::newRow("clientesAlquiler") << "clientesAlquiler" << Ventana::Clientes << true;
        QTest::newRow("PropietariOS") << "PropietariOS" << Ventana::Propietarios << false;
        QTest::newRow("propietariosalquiler") << "propietariosalquiler" << Ventana::Propietarios << true;
        QTest::newRow("Busqueda") << "Busqueda" << Ventana::BusPropiedades << false;
        QTest::newRow("busquedaalquiler") << "busquedaalquiler" << Ventana::BusPropiedades << true;
        QTest::newRow("BUSQUEDACLIENTES") << "BUSQUEDACLIENTES" << Ventana::BusClientes << false;
        QTest::newRow("BusquedaClientesAlquiler")
            << "BusquedaClientesAlquiler" << Ventana::BusClientes << true;
        QTest::newRow("busquedapropietarios") << "busquedapropietarios" << Ventana::BusPropietarios << false;
        QTest::newRow("BUSQUEDAPROPIETARIOSalquiler")
            << "BUSQUEDAPROPIETARIOSalquiler" << Ventana::BusPropietarios << true;
    }
    void toolbarKeysMapCaseInsensitively() {
        QFETCH(QString, key);
        QFETCH(Ventana, ventana);
        QFETCH(bool, alquiler);
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());

        p.w.tb_ButtonClick(key);
        QCOMPARE(p.llamadas, (QList<Llamada>{{ventana, alquiler}}));
        QVERIFY(p.w.ventana(ventana, alquiler));
        QVERIFY(p.w.ventana(ventana, alquiler)->isVisible());

        // The button itself runs the same command.
        p.w.tbBoton(key)->trigger();
        QCOMPARE(p.llamadas.size(), 1);
        QCOMPARE(p.hijas().size(), 1);
    }

    void unknownToolbarKeyDoesNothing() {
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());
        p.w.tb_ButtonClick(QStringLiteral("tipos"));
        p.w.tb_ButtonClick(QString());
        QVERIFY(p.llamadas.isEmpty());
        QVERIFY(p.w.isVisible());
    }

    void salirClosesTheMainWindow_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("salir") << "salir";
        QTest::newRow("Salir") << "Salir";
        QTest::newRow("SALIR") << "SALIR";
    }
    void salirClosesTheMainWindow() {
        QFETCH(QString, key);
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());
        p.w.usrShowPropiedadesVenta();
        QPointer<QWidget> hija = p.w.ventana(Ventana::Propiedades);
        p.w.tb_ButtonClick(key);
        QVERIFY(!p.w.isVisible());
        // Its children go with it.
        QTRY_VERIFY(!hija);
    }

    void aChildThatRefusesKeepsTheProgramRunning() {
        Principal p;
        p.registro.registrar(Ventana::Propiedades,
                             [](orb::AppContext&, bool, QWidget* parent) { return new Terca(parent); });
        QVERIFY(p.mostrar());
        p.w.usrShowPropiedadesVenta();
        p.w.mnuArchivo_Click(10);
        QVERIFY(p.w.isVisible());
    }

    void everySlotOperationOpensItsWindow_data() {
        QTest::addColumn<int>("operacion");
        QTest::addColumn<Ventana>("ventana");
        QTest::addColumn<bool>("alquiler");
        QTest::newRow("usrShowPropiedadesVenta") << 0 << Ventana::Propiedades << false;
        QTest::newRow("usrShowPropiedadesAlquiler") << 1 << Ventana::Propiedades << true;
        QTest::newRow("usrShowClientesVenta") << 2 << Ventana::Clientes << false;
        QTest::newRow("usrShowClientesAlquiler") << 3 << Ventana::Clientes << true;
        QTest::newRow("usrShowPropietariosVenta") << 4 << Ventana::Propietarios << false;
        QTest::newRow("usrShowPropietariosAlquiler") << 5 << Ventana::Propietarios << true;
        QTest::newRow("usrShowBusPropiedadesVenta") << 6 << Ventana::BusPropiedades << false;
        QTest::newRow("usrShowBusPropiedadesAlquiler") << 7 << Ventana::BusPropiedades << true;
        QTest::newRow("usrShowBusClientesVenta") << 8 << Ventana::BusClientes << false;
        QTest::newRow("usrShowBusClientesAlquiler") << 9 << Ventana::BusClientes << true;
        QTest::newRow("usrShowBusPropietariosVenta") << 10 << Ventana::BusPropietarios << false;
        QTest::newRow("usrShowBusPropietariosAlquiler") << 11 << Ventana::BusPropietarios << true;
    }
    void everySlotOperationOpensItsWindow() {
        QFETCH(int, operacion);
        QFETCH(Ventana, ventana);
        QFETCH(bool, alquiler);
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());
        // Other windows reach the operations through the navigator.
        orb::Navigator* nav = p.inst.context().navigator;
        QCOMPARE(nav, static_cast<orb::Navigator*>(&p.w));
        const std::array<void (orb::Navigator::*)(), 12> operaciones = {
            &orb::Navigator::usrShowPropiedadesVenta,     &orb::Navigator::usrShowPropiedadesAlquiler,
            &orb::Navigator::usrShowClientesVenta,        &orb::Navigator::usrShowClientesAlquiler,
            &orb::Navigator::usrShowPropietariosVenta,    &orb::Navigator::usrShowPropietariosAlquiler,
            &orb::Navigator::usrShowBusPropiedadesVenta,  &orb::Navigator::usrShowBusPropiedadesAlquiler,
            &orb::Navigator::usrShowBusClientesVenta,     &orb::Navigator::usrShowBusClientesAlquiler,
            &orb::Navigator::usrShowBusPropietariosVenta, &orb::Navigator::usrShowBusPropietariosAlquiler};
        (nav->*operaciones[static_cast<std::size_t>(operacion)])();

        QCOMPARE(p.llamadas, (QList<Llamada>{{ventana, alquiler}}));
        QWidget* frm = p.w.ventana(ventana, alquiler);
        QVERIFY(frm);
        QVERIFY(!p.w.ventana(ventana, !alquiler));
        QCOMPARE(p.w.mdiArea()->activeSubWindow(), marcoDe(frm));
        QVERIFY(centradaEnArea(frm, p.w.mdiArea()));
        // Windows without an icon of their own take the main window's.
        QCOMPARE(frm->windowIcon().cacheKey(), p.w.windowIcon().cacheKey());
    }

    void secondCallShowsTheSameWindowCentredAgain() {
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());
        p.w.mnuArchivo_Click(0);
        QWidget* primera = p.w.ventana(Ventana::Propiedades, false);
        p.w.mnuArchivo_Click(2);
        marcoDe(primera)->move(0, 0);
        QCOMPARE(p.w.mdiArea()->activeSubWindow(), marcoDe(p.w.ventana(Ventana::Clientes, false)));

        p.w.mnuArchivo_Click(0);
        QCOMPARE(p.w.ventana(Ventana::Propiedades, false), primera);
        QCOMPARE(p.llamadas.size(), 2);
        QCOMPARE(p.hijas().size(), 2);
        QCOMPARE(p.w.mdiArea()->activeSubWindow(), marcoDe(primera));
        QVERIFY(centradaEnArea(primera, p.w.mdiArea()));
    }

    void salesAndRentalsWindowsAreSeparate() {
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());
        p.w.usrShowPropiedadesVenta();
        p.w.usrShowPropiedadesAlquiler();
        QWidget* venta = p.w.ventana(Ventana::Propiedades, false);
        QWidget* alquiler = p.w.ventana(Ventana::Propiedades, true);
        QVERIFY(venta && alquiler && venta != alquiler);
        QVERIFY(venta->isVisible() && alquiler->isVisible());
        QCOMPARE(p.hijas().size(), 2);
        QCOMPARE(p.llamadas, (QList<Llamada>{{Ventana::Propiedades, false}, {Ventana::Propiedades, true}}));

        // Closing one leaves the other open.
        marcoDe(alquiler)->close();
        QTRY_VERIFY(!p.w.ventana(Ventana::Propiedades, true));
        QCOMPARE(p.w.ventana(Ventana::Propiedades, false), venta);
    }

    void closingAWindowEmptiesItsSlot() {
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());
        p.w.usrShowBusClientesAlquiler();
        QPointer<QWidget> primera = p.w.ventana(Ventana::BusClientes, true);
        QVERIFY(primera);
        marcoDe(primera)->close();
        QTRY_VERIFY(!primera);
        QVERIFY(!p.w.ventana(Ventana::BusClientes, true));
        QVERIFY(p.hijas().isEmpty());

        // The next call loads a new window for the same side.
        p.w.usrShowBusClientesAlquiler();
        QVERIFY(p.w.ventana(Ventana::BusClientes, true));
        QCOMPARE(p.llamadas, (QList<Llamada>{{Ventana::BusClientes, true}, {Ventana::BusClientes, true}}));
    }

    void catalogueWindowsAreSingle() {
        Principal p;
        p.registrarRegistrosYBusquedas();
        QVERIFY(p.mostrar());
        for (int i : {6, 7, 8, 6, 7, 8})
            p.w.mnuArchivo_Click(i);
        QCOMPARE(p.hijas().size(), 3);
        QCOMPARE(p.llamadas,
                 (QList<Llamada>{
                     {Ventana::Tipos, false}, {Ventana::Localidades, false}, {Ventana::Areas, false}}));
    }

    void toolWindowsRunModalOverTheMainWindow_data() {
        QTest::addColumn<int>("indice");
        QTest::addColumn<Ventana>("ventana");
        QTest::newRow("Exportación al Web") << 7 << Ventana::ExportacionWeb;
        QTest::newRow("Exportación Oficina") << 9 << Ventana::ExportacionOficina;
        QTest::newRow("Importación Oficina") << 10 << Ventana::ImportacionOficina;
        QTest::newRow("Configuración") << 12 << Ventana::Configuracion;
    }
    void toolWindowsRunModalOverTheMainWindow() {
        QFETCH(int, indice);
        QFETCH(Ventana, ventana);
        Principal p;
        int creadas = 0;
        p.registro.registrar(ventana,
                             [&creadas](orb::AppContext&, bool alquiler, QWidget* parent) -> QWidget* {
                                 ++creadas;
                                 auto* d = new QDialog(parent);
                                 d->setObjectName(QStringLiteral("herramienta"));
                                 d->setProperty("alquiler", alquiler);
                                 d->setFixedSize(300, 180);
                                 return d;
                             });
        QVERIFY(p.mostrar());
        QVERIFY(p.w.mnuTool(indice)->isEnabled());

        QString vista;
        QPoint centro;
        alAbrirseModal([&](QWidget* modal) {
            vista = modal->objectName();
            centro = modal->frameGeometry().center();
        });
        p.w.mnuTool_Click(indice);
        // The command returns only once the window is closed.
        QCOMPARE(vista, QStringLiteral("herramienta"));
        QVERIFY((centro - p.w.geometry().center()).manhattanLength() <= 2);
        QTRY_VERIFY(!p.w.ventana(ventana));

        alAbrirseModal([](QWidget*) {});
        p.w.mnuTool_Click(indice);
        QCOMPARE(creadas, 2);
    }

    void aboutBox() {
        Principal p;
        QVERIFY(p.mostrar());
        QVERIFY(p.w.mnuAyu(0)->isEnabled());
        QString titulo, info, boton;
        QPoint centro;
        bool modal = false;
        alAbrirseModal([&](QWidget* w) {
            auto* about = qobject_cast<orb::frmAbout*>(w);
            QVERIFY(about);
            modal = about->isModal();
            titulo = about->windowTitle();
            info = about->findChild<QLabel*>(QStringLiteral("lblInfo"))->text();
            auto* aceptar = about->findChild<QPushButton*>(QStringLiteral("cmdAceptar"));
            boton = aceptar->text();
            centro = about->frameGeometry().center();
            QTest::mouseClick(aceptar, Qt::LeftButton);
        });
        p.w.mnuAyu_Click(0);
        QVERIFY(modal);
        QCOMPARE(titulo, QStringLiteral("Acerca de Orbalia 4.0"));
        QCOMPARE(boton, QStringLiteral("&Aceptar"));
        QVERIFY(info.startsWith(QStringLiteral("\nOrbalia 4.0\n")));
        const QStringList lineas = info.split(u'\n');
        QCOMPARE(lineas.size(), 5); // empty line, product, telephone, e-mail, web
        QVERIFY(lineas[2].contains(QRegularExpression(QStringLiteral("\\d{3} \\d{3} \\d{3}"))));
        QVERIFY(lineas[3].contains(u'@'));
        QVERIFY(lineas[4].startsWith(QStringLiteral("www.")));
        QVERIFY((centro - p.w.geometry().center()).manhattanLength() <= 2);
    }

    void listingsShareTheirReport() {
        Principal p;
        QList<QPair<QString, QString>> preparados; // report, statement
        int creados = 0;
        auto registrar = [&](Listado l, const QString& nombre) {
            p.registro.registrarListado(l,
                                        {[&creados, nombre](orb::AppContext&, QWidget* parent) -> QWidget* {
                                             ++creados;
                                             auto* r = new QWidget(parent);
                                             r->setObjectName(nombre);
                                             r->resize(400, 300);
                                             return r;
                                         },
                                         [&preparados](QWidget* rep, const QString& sql) {
                                             preparados.append({rep->objectName(), sql});
                                         }});
        };
        registrar(Listado::Clientes, QStringLiteral("repClientes"));
        registrar(Listado::LocalidadesAreas, QStringLiteral("repLocalidadesAreas"));
        QVERIFY(p.mostrar());

        p.w.mnuLis_Click(0);
        QWidget* rep = p.w.informe(Listado::Clientes);
        QVERIFY(rep);
        QCOMPARE(rep->windowTitle(), QStringLiteral("Listado de Clientes de Ventas"));
        p.w.mnuLis_Click(1);
        QCOMPARE(p.w.informe(Listado::Clientes), rep);
        QCOMPARE(rep->windowTitle(), QStringLiteral("Listado de Clientes de Alquileres"));
        QVERIFY(centradaEnArea(rep, p.w.mdiArea()));
        QCOMPARE(rep->windowIcon().cacheKey(), p.w.windowIcon().cacheKey());
        p.w.mnuLis_Click(4);
        QCOMPARE(p.w.informe(Listado::LocalidadesAreas)->windowTitle(),
                 QStringLiteral("Listado de Localidades/Areas"));

        QCOMPARE(creados, 2);
        QCOMPARE(preparados,
                 (QList<QPair<QString, QString>>{
                     {"repClientes", "select * from clientes where not alquiler"},
                     {"repClientes", "select * from clientes where alquiler"},
                     {"repLocalidadesAreas",
                      "select * from listadolocalidadesareas order by localidades.cod,areas.cod"}}));
        QCOMPARE(p.hijas().size(), 2);
    }

    void mailGoesToTheRegisteredClient() {
        Principal p;
        p.w.usrEmailPara(QStringLiteral("ana@example.com"),
                         QStringLiteral("Ana")); // nothing registered: nothing
        QStringList recibido;
        p.registro.registrarCorreo(
            [&](orb::AppContext&, QWidget*, const QString& d, const QString& n) { recibido << d << n; },
            [&](orb::AppContext&, QWidget*, const QString& a, const QString& t, const QString& f) {
                recibido << a << t << f;
            });
        p.inst.context().navigator->usrEmailPara(QStringLiteral("ana@example.com"), QStringLiteral("Ana"));
        p.w.usrEmailDossier(QStringLiteral("Dossier propiedad 0100001"),
                            QStringLiteral("Adjunto dossier de la propiedad 0100001"),
                            QStringLiteral("/tmp/d.pdf"));
        QCOMPARE(recibido, (QStringList{"ana@example.com", "Ana", "Dossier propiedad 0100001",
                                        "Adjunto dossier de la propiedad 0100001", "/tmp/d.pdf"}));
    }

    void accessibleNamesAreSetAndUnique() {
        Principal p;
        orb::PonerTitulosComandos(p.w);
        QVERIFY(p.mostrar());

        // The main window itself (menu bar, toolbar and its buttons).
        QStringList nombres;
        recogerNombres(QAccessible::queryAccessibleInterface(&p.w), nombres);
        QVERIFY(nombres.size() >= 13 + 4);
        for (const QString& n : nombres)
            QVERIFY2(!n.trimmed().isEmpty(), qPrintable(nombres.join(u'|')));
        QCOMPARE(QSet<QString>(nombres.begin(), nombres.end()).size(), nombres.size());

        // Each menu is a window of its own: names unique within it.
        for (int m = 0; m < 4; ++m) {
            QMenu* menu = p.w.mnuMain(m);
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
            QVERIFY(iface);
            QStringList items;
            for (int i = 0; i < iface->childCount(); ++i) {
                QAccessibleInterface* item = iface->child(i);
                QVERIFY(item);
                if (item->role() == QAccessible::Separator)
                    continue;
                items << item->text(QAccessible::Name);
            }
            const QList<QAction*> acciones = menu->actions();
            const auto separadores =
                std::count_if(acciones.begin(), acciones.end(), [](QAction* a) { return a->isSeparator(); });
            QCOMPARE(items.size(), acciones.size() - separadores);
            for (const QString& n : items)
                QVERIFY2(!n.isEmpty() && !n.contains(u'&'), qPrintable(items.join(u'|')));
            QCOMPARE(QSet<QString>(items.begin(), items.end()).size(), items.size());
        }
        QCOMPARE(p.w.tb()
                     ->widgetForAction(p.w.tbBoton(QStringLiteral("busquedaclientesalquiler")))
                     ->accessibleName(),
                 QStringLiteral("Busqueda de Clientes de Alquileres"));
    }

    void aboutBoxIsAccessible() {
        orb::frmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QStringList nombres;
        for (QWidget* w : about.findChildren<QWidget*>())
            if (w->isVisible())
                nombres << w->accessibleName();
        for (const QString& n : nombres)
            QVERIFY(!n.isEmpty());
        QCOMPARE(QSet<QString>(nombres.begin(), nombres.end()).size(), nombres.size());
        // Enter accepts the box.
        QTest::keyClick(&about, Qt::Key_Return);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
