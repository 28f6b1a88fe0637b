// An English seat: the windows, a search, the matching grid, the settings, the
// web export and a listing say nothing in Spanish but the agency's data; the
// dossier stays bilingual; a type shows its English name where it has one.

#include "Capturas.h"
#include "TestInstallation.h"
#include "mainwindow/RegistroPrincipal.h"
#include "mainwindow/frmMain.h"
#include "platform/report/PreviewWindow.h"
#include "platform/widgets/QueryTableModel.h"
#include "records/FichaPersona.h"
#include "records/Registro.h"
#include "records/frmAgenda.h"
#include "records/frmPropiedades.h"
#include "reports/Dossier.h"
#include "reports/Informes.h"
#include "search/RegistroBusquedas.h"
#include "search/frmBusPropiedades.h"
#include "search/frmCoincidencias.h"
#include "shell/Idioma.h"
#include "shell/WindowRegistry.h"
#include "shell/frmConfig.h"
#include "webexport/frmExportacionWeb.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QXmlStreamReader>
#include <QtTest>

using namespace orb;

namespace {

QString limpio(QString t) {
    return t.remove(u'&').trimmed();
}

// Every Spanish source text of the English translation whose English differs.
QSet<QString> textosEspanoles() {
    QSet<QString> fuera;
    QFile f(QStringLiteral(ORBALIA_SOURCE_DIR "/translations/orbalia_en.ts"));
    if (!f.open(QIODevice::ReadOnly))
        return fuera;
    QXmlStreamReader x(&f);
    QString fuente;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == u"source") {
            fuente = x.readElementText();
        } else if (x.name() == u"translation" && !fuente.isEmpty()) {
            const QString ingles = x.readElementText(QXmlStreamReader::IncludeChildElements);
            if (limpio(ingles) != limpio(fuente) && !fuente.contains(u'%'))
                fuera << limpio(fuente);
            fuente.clear();
        }
    }
    return fuera;
}

// What a user reads on a window and a screen reader says of it.
QStringList textos(QWidget* w) {
    QStringList t{w->windowTitle()};
    for (QWidget* c : w->findChildren<QWidget*>()) {
        t << c->toolTip() << c->accessibleName();
        if (auto* l = qobject_cast<QLabel*>(c))
            t << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            t << b->text();
        if (auto* g = qobject_cast<QGroupBox*>(c))
            t << g->title();
        if (auto* tab = qobject_cast<QTabWidget*>(c))
            for (int i = 0; i < tab->count(); ++i)
                t << tab->tabText(i) << tab->tabToolTip(i);
        if (auto* v = qobject_cast<QTableView*>(c); v && v->model())
            for (int i = 0; i < v->model()->columnCount(); ++i)
                t << v->model()->headerData(i, Qt::Horizontal).toString();
    }
    for (QAction* a : w->findChildren<QAction*>())
        t << a->text() << a->toolTip();
    for (QMenu* m : w->findChildren<QMenu*>())
        t << m->title();
    return t;
}

} // namespace

class TestIngles : public QObject {
    Q_OBJECT

    QSet<QString> espanol;
    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }

    // Shown at a user's size, and kept as a picture with ORBALIA_SCREENSHOTS.
    void mostrar(QWidget* w, const QString& captura, QSize tam = {1100, 760}) {
        w->resize(tam);
        w->show();
        QApplication::processEvents();
        guardarCaptura(captura, w);
    }

    void sinEspanol(QWidget* w, const char* cual) {
        QStringList quedan;
        for (const QString& t : textos(w))
            if (espanol.contains(limpio(t)))
                quedan << limpio(t);
        quedan.removeDuplicates();
        if (!quedan.isEmpty())
            QFAIL(
                qPrintable(QStringLiteral("%1 in Spanish: %2").arg(QLatin1String(cual), quedan.join(" | "))));
    }

private slots:
    void initTestCase() {
        espanol = textosEspanoles();
        QVERIFY2(espanol.size() > 500, "the English translation is missing");
        install::InstallOptions o;
        o.facts = install::demoFacts();
        o.demoProperties = 20;
        inst = std::make_unique<TestInstallation>(o);
    }

    void theWindowsSpeakEnglish() {
        QCOMPARE(InterfazEnIngles(), true);
        WindowRegistry registro;
        RegistrarVentanasPrincipales(registro);
        RegistrarFichas(registro);
        RegistrarBusquedas(registro);
        frmMain main(ctx(), registro);
        mostrar(&main, "ingles-ventana-principal", {1200, 800});
        sinEspanol(&main, "main window");

        frmPropiedades propiedades(ctx(), false);
        mostrar(&propiedades, "ingles-propiedad");
        for (int i = 0; i < propiedades.tabs->count(); ++i) {
            propiedades.tabs->setCurrentIndex(i);
            QApplication::processEvents();
            guardarCaptura(QStringLiteral("ingles-propiedad-%1").arg(i + 1), &propiedades);
        }
        sinEspanol(&propiedades, "property window");
        QVERIFY(propiedades.windowTitle().contains(QLatin1String("Propert")));

        frmBusPropiedades busqueda(ctx(), false);
        busqueda.cmdFind->click();
        mostrar(&busqueda, "ingles-busqueda");
        sinEspanol(&busqueda, "property search");
        // Types show their English names; the demo gives every type one.
        QSet<QString> ingleses;
        for (const db::Row& r : ctx().db().query("SELECT NombreIdioma1 FROM Tipos"))
            ingleses << r.value(0).toString();
        int tipo = -1;
        for (int c = 0; c < busqueda.dataGrid->columnCount(); ++c)
            if (busqueda.dataGrid->headerData(c, Qt::Horizontal).toString() == u"Type")
                tipo = c;
        QVERIFY(tipo >= 0);
        QVERIFY(busqueda.dataGrid->rowCount() > 0);
        for (int r = 0; r < busqueda.dataGrid->rowCount(); ++r) {
            const QString t = busqueda.dataGrid->index(r, tipo).data().toString();
            QVERIFY2(t.isEmpty() || ingleses.contains(t), qPrintable(t));
        }

        const QString cliente = ctx().db().scalar("SELECT Cod FROM Clientes ORDER BY Cod LIMIT 1").toString();
        frmCoincidencias coincidencias(ctx(), frmCoincidencias::Modo::DeCliente, cliente);
        mostrar(&coincidencias, "ingles-coincidencias");
        sinEspanol(&coincidencias, "matching grid");

        frmConfig config(ctx());
        QCOMPARE(config.windowTitle(), QString("Settings"));
        mostrar(&config, "ingles-configuracion", config.sizeHint());
        sinEspanol(&config, "settings dialog");

        frmExportacionWeb web(ctx());
        mostrar(&web, "ingles-exportacion-web", web.sizeHint().expandedTo({700, 500}));
        sinEspanol(&web, "web export");
    }

    void theOtherRecordWindowsToo() {
        frmClientes clientes(ctx(), false);
        mostrar(&clientes, "ingles-clientes");
        sinEspanol(&clientes, "client window");
        frmPropietarios propietarios(ctx(), true);
        mostrar(&propietarios, "ingles-propietarios");
        sinEspanol(&propietarios, "owner window");
        frmAgenda agenda(ctx());
        mostrar(&agenda, "ingles-agenda");
        sinEspanol(&agenda, "diary");
    }

    void aListingFollowsTheSeatTheDossierStaysBilingual() {
        const report::Document listado =
            reports::GenerarInforme(ctx(), reports::Informe::Propiedades,
                                    "select * from busquedapropiedades where not Alquiler order by Cod");
        QVERIFY(listado.pageCount() > 0);
        const QString pagina = listado.pageText(0);
        QVERIFY2(!pagina.contains(QLatin1String("Página")), qPrintable(pagina.left(400)));
        QVERIFY2(pagina.contains(QLatin1String("Page 1 of")), qPrintable(pagina.left(400)));
        for (const QString& linea : pagina.split(u'\n'))
            QVERIFY2(!espanol.contains(limpio(linea)), qPrintable(linea));
        // Its types in English too (every demo type has an English name).
        QVERIFY2(!pagina.contains(QLatin1String("Piso")) && pagina.contains(QLatin1String("Apartment")),
                 qPrintable(pagina.left(600)));
        report::PreviewWindow vista(inst->dialogs());
        vista.setDocument(listado);
        mostrar(&vista, "ingles-vista-previa-listado");
        sinEspanol(&vista, "listing preview");

        const QString cod = ctx()
                                .db()
                                .scalar("SELECT Cod FROM Propiedades WHERE NOT Alquiler ORDER BY Cod LIMIT 1")
                                .toString();
        const QString dossier = reports::GenerarDossier(ctx(), cod, 0).pageText(0);
        QVERIFY2(dossier.contains(QStringLiteral("Precio · Price")), qPrintable(dossier.left(400)));
        QVERIFY2(dossier.contains(QStringLiteral("Código:")), qPrintable(dossier.left(400)));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    orb::InstalarIdioma(app, orb::Idioma::Ingles);
    TestIngles t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_ingles.moc"
