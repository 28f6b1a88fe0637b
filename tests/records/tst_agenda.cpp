// The visit window and the agenda as a person uses them: a visit added and
// realised through the window, its warnings, the day and week views with
// their filters, and cancelling from the agenda.

#include "Accessibility.h"
#include "Capturas.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "install/Installer.h"
#include "records/frmAgenda.h"
#include "records/frmPropiedades.h"
#include "records/frmVisitas.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QtTest>

using namespace orb;
using namespace orb::visitas;

class tst_Agenda : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<TestNavigator> nav;
    AppContext& ctx() { return inst->context(); }
    db::Database& d() { return ctx().db(); }
    QString propiedad, otraPropiedad, cliente, otroCliente;
    const QDate miercoles{2026, 12, 9};

    Visita visita(const QString& prop, const QString& cli, const QDate& dia, const QString& hora,
                  const QString& agente, const QString& agencia = QStringLiteral("01")) {
        Visita v;
        v.agencia = agencia;
        v.codPropiedad = prop;
        v.codCliente = cli;
        v.fecha = dia;
        v.hora = LeerHora(hora);
        v.agente = agente;
        GuardarVisita(d(), v);
        return v;
    }
    int lineas(const QString& prop) {
        return d().scalar("SELECT count(*) FROM Actividades WHERE Propiedad = ?", {prop}).toInt();
    }
    // The visit windows the buttons opened (the test navigator only records them).
    template <class W> static QList<W*> abiertas() {
        QList<W*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = qobject_cast<W*>(w))
                out << v;
        return out;
    }
    static void escribir(ui::TextControl* t, const QString& texto) {
        t->widget()->setFocus();
        t->setText(texto);
    }
    static QStringList filasDia(const frmAgenda& a) {
        QStringList out;
        for (int i = 0; i < a.tablaDia->rowCount(); ++i) {
            QStringList c;
            for (int j : {0, 1, 4, 5})
                c << a.tablaDia->item(i, j)->text();
            out << c.join(u'|');
        }
        return out;
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        install::InstallOptions o;
        o.facts = install::demoFacts();
        o.demoProperties = 12;
        inst = std::make_unique<TestInstallation>(o);
        nav = std::make_unique<TestNavigator>(ctx());
        ctx().AddAgainConfig = false;
        const QList<db::Row> p =
            d().query("SELECT Cod FROM Propiedades WHERE Alquiler = FALSE ORDER BY Cod LIMIT 2");
        propiedad = p[0][0].toString();
        otraPropiedad = p[1][0].toString();
        d().execute("UPDATE Propiedades SET Estado = 'En Venta', Agente = 'Lucía Pérez' WHERE Cod IN (?, ?)",
                    {propiedad, otraPropiedad});
        const QList<db::Row> c = d().query("SELECT Cod FROM Clientes ORDER BY Cod LIMIT 2");
        cliente = c[0][0].toString();
        otroCliente = c[1][0].toString();
        d().execute("DELETE FROM Actividades");
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmVisitas*>(w) || qobject_cast<frmAgenda*>(w) ||
                qobject_cast<frmPropiedades*>(w))
                delete w;
        nav.reset();
        inst.reset();
    }

    // From the property window: its visits, and a new one with its code filled,
    // realised: one line in the log however often it is edited again.
    void newVisitFromThePropertyWritesOneLine() {
        frmPropiedades prop(ctx(), false);
        prop.show();
        QVERIFY(prop.data->EstadoPaseando());
        const QString cod = prop.txt.value(prop::Cod)->Text();
        prop.butNuevaVisita->click();
        QCOMPARE(abiertas<frmVisitas>().size(), 1);
        frmVisitas& w = *abiertas<frmVisitas>().first();
        w.show();
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(w.txt.value(frmVisitas::Propiedad)->Text(), cod);
        QCOMPARE(w.txt.value(frmVisitas::Agencia)->Text(), QString("01"));
        QCOMPARE(w.cbo.value(frmVisitas::Estado)->Text(), Prevista);
        escribir(w.txt.value(frmVisitas::Cliente), cliente);
        QVERIFY(!w.lblNombreCliente->text().isEmpty());
        escribir(w.txt.value(frmVisitas::Fecha), "09/12/2026");
        escribir(w.txt.value(frmVisitas::Hora), "10:00");
        w.cbo.value(frmVisitas::Estado)->setText(Realizada);
        escribir(w.txt.value(frmVisitas::Valoracion), "4");
        escribir(w.txt.value(frmVisitas::Oferta), "250000");
        w.cmdOk->click();
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(
            d().scalar("SELECT count(*) FROM Visitas WHERE CodPropiedad = ? AND Estado = 'Realizada' AND "
                       "Anotada = TRUE AND Oferta = 250000 AND Hora = '10:00' AND Fecha = '2026-12-09'",
                       {cod})
                .toInt(),
            1);
        QCOMPARE(lineas(cod), 1);
        QCOMPARE(w.lista->rowCount(), 1);
        // Edited again and stored: no second line.
        w.cmdEdit->click();
        escribir(w.txt.value(frmVisitas::Opinion), "Vuelve con su pareja");
        w.cmdOk->click();
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(lineas(cod), 1);
        QCOMPARE(d().scalar("SELECT Opinion FROM Visitas WHERE CodPropiedad = ?", {cod}).toString(),
                 QString("Vuelve con su pareja"));
        // "Visitas" opens the property's visits.
        prop.butVisitas->click();
        QCOMPARE(abiertas<frmVisitas>().size(), 2);
    }

    void badHourIsRefusedNamingTheField() {
        FiltroVisitas f;
        f.codPropiedad = propiedad;
        f.codCliente = cliente;
        frmVisitas w(ctx(), f);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.nuevaVisita();
        escribir(w.txt.value(frmVisitas::Hora), "25:00");
        const qsizetype cajas = inst->dialogs().boxes().size();
        w.cmdOk->click();
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(inst->dialogs().boxes().size(), cajas + 1);
        QVERIFY(inst->dialogs().boxes().last().text.contains("campo Hora"));
        QCOMPARE(QApplication::focusWidget(), w.txt.value(frmVisitas::Hora)->widget());
        QCOMPARE(d().scalar("SELECT count(*) FROM Visitas").toInt(), 0);
    }

    // The same agent at a time already taken: warned, and stored all the same.
    void overlapIsWarnedAndStored() {
        visita(otraPropiedad, otroCliente, miercoles, "10:00", "Lucía Pérez");
        FiltroVisitas f;
        f.codPropiedad = propiedad;
        f.codCliente = cliente;
        f.fecha = miercoles;
        frmVisitas w(ctx(), f);
        w.show();
        w.nuevaVisita();
        QCOMPARE(w.txt.value(frmVisitas::Agente)->Text(), QString("Lucía Pérez")); // the property's agent
        escribir(w.txt.value(frmVisitas::Hora), "10:15");
        const qsizetype cajas = inst->dialogs().boxes().size();
        w.cmdOk->click();
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(inst->dialogs().boxes().size(), cajas + 1);
        const ui::DialogService::Box& b = inst->dialogs().boxes().last();
        QCOMPARE(b.icon, ui::DialogService::Icon::Exclamation);
        QCOMPARE(b.text, QString("Lucía Pérez ya tiene una visita de 10:00 a 10:30 en la propiedad %1.")
                             .arg(otraPropiedad));
        QCOMPARE(d().scalar("SELECT count(*) FROM Visitas").toInt(), 2);
        guardarCaptura("visitas-propiedad", &w);
    }

    void agendaDayAndWeekWithTheirFilters() {
        const QDate lunes = miercoles.addDays(-2);
        visita(propiedad, cliente, miercoles, "12:30", "Lucía Pérez");
        visita(otraPropiedad, otroCliente, miercoles, "09:15", "Juan Gil");
        visita(propiedad, otroCliente, lunes, "17:00", "Lucía Pérez");
        visita(otraPropiedad, cliente, lunes.addDays(6), "11:00", "Juan Gil", "02"); // Sunday, other office
        visita(propiedad, cliente, lunes.addDays(7), "11:00", "Juan Gil");           // next week
        frmAgenda a(ctx());
        a.resize(1100, 520);
        a.show();
        a.mostrarDia(miercoles);
        QCOMPARE(a.windowTitle(), QString("Agenda de visitas"));
        QCOMPARE(filasDia(a), (QStringList{QString("09:15|%1|Juan Gil|Prevista").arg(otraPropiedad),
                                           QString("12:30|%1|Lucía Pérez|Prevista").arg(propiedad)}));
        guardarCaptura("agenda-dia", &a);
        a.cboAgente->setCurrentText("Lucía Pérez");
        QCOMPARE(filasDia(a), (QStringList{QString("12:30|%1|Lucía Pérez|Prevista").arg(propiedad)}));
        a.cboAgente->setCurrentIndex(0);

        a.ponerVista(frmAgenda::Semana);
        QList<int> porDia;
        for (QListWidget* l : a.listasSemana)
            porDia << l->count();
        QCOMPARE(porDia, (QList<int>{1, 0, 2, 0, 0, 0, 1}));
        QCOMPARE(a.listasSemana[2]->item(0)->text().left(5), QString("09:15"));
        QVERIFY(a.titulosSemana[0]->text().startsWith("Lunes 7/12"));
        guardarCaptura("agenda-semana", &a);
        a.cboOficina->setCurrentText("02");
        porDia.clear();
        for (QListWidget* l : a.listasSemana)
            porDia << l->count();
        QCOMPARE(porDia, (QList<int>{0, 0, 0, 0, 0, 0, 1}));
        a.cboOficina->setCurrentIndex(0);
        // The next week, and back.
        a.cmdSiguiente->click();
        QCOMPARE(a.listasSemana[0]->count(), 1);
        a.cmdAnterior->click();
        QCOMPARE(a.dia(), miercoles);
    }

    // Cancelled from the agenda after the question: the visit stays, cancelled, and writes no line;
    // a "No" leaves it as it was, and another office's visit is not ours to cancel.
    void cancelFromTheAgenda() {
        const Visita v = visita(propiedad, cliente, miercoles, "12:30", "Lucía Pérez");
        const Visita ajena = visita(otraPropiedad, cliente, miercoles, "16:00", "Juan Gil", "02");
        frmAgenda a(ctx());
        a.show();
        a.mostrarDia(miercoles);
        a.elegirVisita(v.cod);
        QCOMPARE(a.visitaElegida(), v.cod);
        inst->dialogs().queueAnswer(ui::DialogService::Answer::No);
        a.cmdAnular->click();
        QCOMPARE(LeerVisita(d(), v.cod)->estado, Prevista);
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        a.cmdAnular->click();
        QCOMPARE(LeerVisita(d(), v.cod)->estado, Anulada);
        QCOMPARE(lineas(propiedad), 0);
        QCOMPARE(filasDia(a).first(), QString("12:30|%1|Lucía Pérez|Anulada").arg(propiedad));
        a.elegirVisita(ajena.cod);
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        a.cmdAnular->click();
        QCOMPARE(LeerVisita(d(), ajena.cod)->estado, Prevista);
        // A double click opens the visit.
        a.elegirVisita(v.cod);
        a.abrirVisita();
        QCOMPARE(abiertas<frmVisitas>().size(), 1);
        QCOMPARE(abiertas<frmVisitas>().first()->txt.value(frmVisitas::Hora)->Text(), QString("12:30"));
    }

    // Every control can be named by a screen reader, uniquely within its window.
    void everyControlHasItsOwnName() {
        visita(propiedad, cliente, miercoles, "12:30", "Lucía Pérez");
        frmAgenda a(ctx());
        a.show();
        QCOMPARE(accessibilityProblems(&a).join('\n'), QString());
        a.ponerVista(frmAgenda::Semana);
        QCOMPARE(accessibilityProblems(&a), QStringList());
        FiltroVisitas f;
        f.codPropiedad = propiedad;
        frmVisitas w(ctx(), f);
        w.show();
        QCOMPARE(accessibilityProblems(&w), QStringList());
        frmPropiedades p(ctx(), false);
        p.show();
        QCOMPARE(accessibilityProblems(&p), QStringList());
    }

    // The calendar command writes the chosen agent's visits; without an agent it asks for one.
    void calendarOfTheChosenAgent() {
        visita(propiedad, cliente, miercoles, "12:30", "Lucía Pérez");
        visita(otraPropiedad, cliente, miercoles, "13:30", "Juan Gil");
        frmAgenda a(ctx());
        a.mostrarDia(miercoles);
        QVERIFY(a.exportarCalendario().isEmpty());
        QVERIFY(inst->dialogs().boxes().last().text.contains("Agente"));
        a.cboAgente->setCurrentText("Lucía Pérez");
        inst->dialogs().queueAnswer(ui::DialogService::Answer::No);
        const QString f = a.exportarCalendario();
        QFile ics(f);
        QVERIFY(ics.open(QIODevice::ReadOnly));
        const QByteArray texto = ics.readAll();
        QCOMPARE(texto.count("BEGIN:VEVENT"), 1);
        QVERIFY(texto.contains("DTSTART;TZID=Europe/Madrid:20261209T123000"));
    }
};

QTEST_MAIN(tst_Agenda)
#include "tst_agenda.moc"
