// Visits on a real agency database: stored and read back, checked, warned
// about, written once into the property's log, exported as a calendar, and
// printed as the client's visit sheet and the owner's report.

#include "FakeMail.h"
#include "PdfTexto.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "install/Installer.h"
#include "reports/Visitas.h"
#include "reports/VisitasInformes.h"
#include "shell/Fechas.h"
#include "shell/Numeros.h"
#include "shell/Schema.h"

#include <QProcess>
#include <QTest>

using namespace orb;
using namespace orb::visitas;

class tst_Visitas : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    db::Database& d() { return ctx().db(); }

    // The demo's first sales property with a photograph, and two clients.
    QString propiedad, otraPropiedad, cliente, otroCliente;

    Visita nueva(const QString& prop, const QString& hora,
                 const QString& agente = QStringLiteral("Lucía Pérez"), int duracion = 30) {
        Visita v;
        v.agencia = ctx().facts.CodigoOficina;
        v.codPropiedad = prop;
        v.codCliente = cliente;
        v.fecha = QDate(2026, 12, 9);
        v.hora = LeerHora(hora);
        v.duracion = duracion;
        v.agente = agente;
        return v;
    }
    QStringList lineas(const QString& prop) {
        QStringList out;
        for (const db::Row& r :
             d().query("SELECT Fecha, CodCliente, Cliente, Actividad FROM Actividades WHERE "
                       "Propiedad = ? ORDER BY Cod",
                       {prop}))
            out << FormatoFecha(r[0]) + u'|' + r[1].toString() + u'|' + r[2].toString() + u'|' +
                       r[3].toString();
        return out;
    }
    QString nombreCliente(const QString& cod) {
        return d().scalar("SELECT Nombre FROM Clientes WHERE Cod = ?", {cod}).toString();
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        install::InstallOptions o;
        o.facts = install::demoFacts();
        o.demoProperties = 12;
        inst = std::make_unique<TestInstallation>(o);
        const QList<db::Row> p =
            d().query("SELECT Cod FROM Propiedades WHERE Alquiler = FALSE AND Foto1 IS NOT NULL "
                      "AND Foto1 <> '' ORDER BY Cod LIMIT 2");
        QCOMPARE(p.size(), 2);
        propiedad = p[0][0].toString();
        otraPropiedad = p[1][0].toString();
        d().execute("UPDATE Propiedades SET Estado = 'En Venta' WHERE Cod IN (?, ?)",
                    {propiedad, otraPropiedad});
        const QList<db::Row> c = d().query("SELECT Cod FROM Clientes ORDER BY Cod LIMIT 2");
        QCOMPARE(c.size(), 2);
        cliente = c[0][0].toString();
        otroCliente = c[1][0].toString();
        d().execute("DELETE FROM Actividades");
    }
    void cleanup() { inst.reset(); }

    void storedAndReadBackWithEveryField() {
        Visita v = nueva(propiedad, "17:45", "Lucía Pérez", 50);
        v.estado = Prevista;
        v.valoracion = 4;
        v.opinion = "Quiere ver el garaje; vuelve con su pareja";
        v.oferta = 312500.5;
        v.alquiler = false;
        GuardarVisita(d(), v);
        QVERIFY(v.cod > 0);
        const std::optional<Visita> l = LeerVisita(d(), v.cod);
        QVERIFY(l);
        QCOMPARE(l->agencia, QString("01"));
        QCOMPARE(l->codPropiedad, propiedad);
        QCOMPARE(l->codCliente, cliente);
        QCOMPARE(l->fecha, QDate(2026, 12, 9));
        QCOMPARE(l->hora, QTime(17, 45));
        QCOMPARE(l->duracion, 50);
        QCOMPARE(l->agente, QString("Lucía Pérez"));
        QCOMPARE(l->estado, Prevista);
        QCOMPARE(l->valoracion, 4);
        QCOMPARE(l->opinion, v.opinion);
        QCOMPARE(l->oferta, std::optional<double>(312500.5));
        QCOMPARE(l->anotada, false);
        QCOMPARE(l->cliente, nombreCliente(cliente));
        QCOMPARE(l->direccion,
                 d().scalar("SELECT Direccion FROM Propiedades WHERE Cod = ?", {propiedad}).toString());
        // Moved and given a new state: the same row, changed.
        Visita m = *l;
        m.fecha = QDate(2026, 12, 10);
        m.hora = QTime(9, 0);
        m.estado = NoPresentado;
        m.oferta.reset();
        GuardarVisita(d(), m);
        QCOMPARE(d().scalar("SELECT count(*) FROM Visitas").toInt(), 1);
        const std::optional<Visita> n = LeerVisita(d(), v.cod);
        QCOMPARE(n->fecha, QDate(2026, 12, 10));
        QCOMPARE(n->hora, QTime(9, 0));
        QCOMPARE(n->estado, NoPresentado);
        QVERIFY(!n->oferta);
        // The agenda's reading: by day, agent and office.
        QCOMPARE(VisitasEntre(d(), QDate(2026, 12, 10), QDate(2026, 12, 10)).size(), 1);
        QCOMPARE(VisitasEntre(d(), QDate(2026, 12, 9), QDate(2026, 12, 9)).size(), 0);
        QCOMPARE(VisitasEntre(d(), QDate(2026, 12, 1), QDate(2026, 12, 31), "Otro").size(), 0);
        QCOMPARE(VisitasEntre(d(), QDate(2026, 12, 1), QDate(2026, 12, 31), {}, "02").size(), 0);
        QCOMPARE(VisitasEntre(d(), QDate(2026, 12, 1), QDate(2026, 12, 31), "Lucía Pérez", "01").size(), 1);
    }

    void badInputNamesTheField_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("nombrado");
        QTest::newRow("sin propiedad") << "CodPropiedad"
                                       << ""
                                       << "campo Propiedad";
        QTest::newRow("propiedad que no existe") << "CodPropiedad"
                                                 << "9999999"
                                                 << "campo Propiedad";
        QTest::newRow("cliente que no existe") << "CodCliente"
                                               << "X1"
                                               << "campo Cliente";
        QTest::newRow("hora 24:00") << "Hora"
                                    << "24:00"
                                    << "campo Hora";
        QTest::newRow("hora 9:5") << "Hora"
                                  << "9:5"
                                  << "campo Hora";
        QTest::newRow("duración 0") << "Duracion"
                                    << "0"
                                    << "campo Duración";
        QTest::newRow("valoración 6") << "Valoracion"
                                      << "6"
                                      << "campo Valoración";
        QTest::newRow("estado") << "Estado"
                                << "Vista"
                                << "campo Estado";
        QTest::newRow("oferta negativa") << "Oferta"
                                         << "-1"
                                         << "campo Oferta";
    }
    void badInputNamesTheField() {
        QFETCH(QString, campo);
        QFETCH(QString, valor);
        QFETCH(QString, nombrado);
        Visita v = nueva(propiedad, "10:00");
        QVERIFY(ComprobarVisita(d(), v).ninguno());
        if (campo == u"CodPropiedad")
            v.codPropiedad = valor;
        else if (campo == u"CodCliente")
            v.codCliente = valor;
        else if (campo == u"Hora")
            v.hora = LeerHora(valor);
        else if (campo == u"Duracion")
            v.duracion = valor.toInt();
        else if (campo == u"Valoracion")
            v.valoracion = valor.toInt();
        else if (campo == u"Estado")
            v.estado = valor;
        else
            v.oferta = valor.toDouble();
        const Problema p = ComprobarVisita(d(), v);
        QCOMPARE(p.campo, campo);
        QVERIFY2(p.mensaje.contains(nombrado), qPrintable(p.mensaje));
    }

    // One agent's visits that share a minute are warned about; touching ones are not.
    void overlapIsWarnedAtItsEdges_data() {
        QTest::addColumn<QString>("hora");
        QTest::addColumn<int>("duracion");
        QTest::addColumn<QString>("agente");
        QTest::addColumn<QString>("estadoOtra");
        QTest::addColumn<bool>("avisa");
        QTest::newRow("misma hora") << "10:00" << 30 << "Lucía Pérez" << Prevista << true;
        QTest::newRow("empieza un minuto antes de acabar")
            << "10:29" << 30 << "Lucía Pérez" << Prevista << true;
        QTest::newRow("empieza al acabar") << "10:30" << 30 << "Lucía Pérez" << Prevista << false;
        QTest::newRow("acaba al empezar") << "09:30" << 30 << "Lucía Pérez" << Prevista << false;
        QTest::newRow("acaba un minuto después") << "09:31" << 30 << "Lucía Pérez" << Prevista << true;
        QTest::newRow("la contiene") << "09:00" << 120 << "Lucía Pérez" << Prevista << true;
        QTest::newRow("otro agente") << "10:00" << 30 << "Juan Gil" << Prevista << false;
        QTest::newRow("la otra anulada") << "10:00" << 30 << "Lucía Pérez" << Anulada << false;
        QTest::newRow("la otra realizada") << "10:00" << 30 << "Lucía Pérez" << Realizada << true;
    }
    void overlapIsWarnedAtItsEdges() {
        QFETCH(QString, hora);
        QFETCH(int, duracion);
        QFETCH(QString, agente);
        QFETCH(QString, estadoOtra);
        QFETCH(bool, avisa);
        Visita otra = nueva(otraPropiedad, "10:00");
        otra.estado = estadoOtra;
        GuardarVisita(d(), otra);
        const Visita v = nueva(propiedad, hora, agente, duracion);
        const QStringList avisos = AvisosVisita(d(), v);
        QCOMPARE(avisos.size(), avisa ? 1 : 0);
        if (avisa)
            QCOMPARE(avisos.first(),
                     QString("Lucía Pérez ya tiene una visita de 10:00 a 10:30 en la propiedad %1.")
                         .arg(otraPropiedad));
        // Storing it again does not warn against itself.
        GuardarVisita(d(), otra);
        QVERIFY(AvisosVisita(d(), otra).isEmpty());
    }

    void soldOrRentedPropertyIsWarned() {
        Visita v = nueva(propiedad, "10:00");
        QVERIFY(AvisosVisita(d(), v).isEmpty());
        d().execute("UPDATE Propiedades SET Estado = 'Vendida' WHERE Cod = ?", {propiedad});
        QCOMPARE(AvisosVisita(d(), v), QStringList{QString("La propiedad %1 está vendida.").arg(propiedad)});
        d().execute("UPDATE Propiedades SET Estado = 'Alquilada' WHERE Cod = ?", {propiedad});
        QCOMPARE(AvisosVisita(d(), v),
                 QStringList{QString("La propiedad %1 está alquilada.").arg(propiedad)});
        // Warned, not refused: it can be stored.
        QVERIFY(ComprobarVisita(d(), v).ninguno());
        GuardarVisita(d(), v);
        QCOMPARE(d().scalar("SELECT count(*) FROM Visitas").toInt(), 1);
    }

    void realisedVisitWritesOneActivityLine() {
        Visita v = nueva(propiedad, "10:00");
        GuardarVisita(d(), v);
        QCOMPARE(lineas(propiedad), QStringList());
        v.estado = Realizada;
        v.valoracion = 4;
        v.opinion = "Le encanta la luz";
        v.oferta = 298000;
        GuardarVisita(d(), v);
        const QStringList una{
            QString("09/12/2026|%1|%2|Visita realizada con Lucía Pérez a las 10:00. Opinión: Le "
                    "gusta mucho. Le encanta la luz. Oferta: 298.000 €")
                .arg(cliente, nombreCliente(cliente))};
        QCOMPARE(lineas(propiedad), una);
        QVERIFY(LeerVisita(d(), v.cod)->anotada);
        // Edited again, read back and stored: still one line.
        Visita otra = *LeerVisita(d(), v.cod);
        otra.opinion = "Lo piensa";
        GuardarVisita(d(), otra);
        GuardarVisita(d(), otra);
        QCOMPARE(lineas(propiedad), una);
        // Cancelled and no-show visits write none.
        for (const QString& estado : {Anulada, NoPresentado}) {
            Visita x = nueva(otraPropiedad, "12:00");
            x.estado = estado;
            GuardarVisita(d(), x);
        }
        QCOMPARE(lineas(otraPropiedad), QStringList());
    }

    // A failed store leaves neither the visit nor its line.
    void failedStoreWritesNothing() {
        Visita v = nueva(propiedad, "10:00");
        v.estado = Realizada;
        v.agencia = QString(11, u'x'); // wider than Agencia
        QVERIFY_THROWS_EXCEPTION(db::DbError, GuardarVisita(d(), v));
        QCOMPARE(d().scalar("SELECT count(*) FROM Visitas").toInt(), 0);
        QCOMPARE(lineas(propiedad), QStringList());
    }

    void upgradeFromThePreviousVersionKeepsEveryRow() {
        ORB_SOLO_ARCHIVO("the file's upgrader; the server has steps of its own");
        // A database as the previous version left it: no visits table.
        d().executeScript("DROP TABLE Visitas");
        d().setUserVersion(12); // the version before the visits
        const QStringList tablas{"Propiedades", "Propietarios", "Clientes", "Actividades",  "Tipos",
                                 "Localidades", "Areas",        "Config",   "ClientesZonas"};
        QMap<QString, QString> antes;
        for (const QString& t : tablas) {
            QStringList filas;
            for (const db::Row& r : d().query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(t))) {
                QStringList c;
                for (const db::Value& v : r)
                    c << v.toString();
                filas << c.join(u'|');
            }
            antes[t] = filas.join(u'\n');
        }
        const QStringList pasos = schema::migrate(d());
        QCOMPARE(pasos.size(), schema::CurrentVersion - 12);
        QVERIFY2(pasos.first().contains("tabla Visitas creada"), qPrintable(pasos.first()));
        QCOMPARE(d().userVersion(), schema::CurrentVersion);
        for (const QString& t : tablas) {
            QStringList filas;
            for (const db::Row& r : d().query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(t))) {
                QStringList c;
                for (const db::Value& v : r)
                    c << v.toString();
                filas << c.join(u'|');
            }
            QCOMPARE(filas.join(u'\n'), antes[t]);
        }
        Visita v = nueva(propiedad, "10:00");
        GuardarVisita(d(), v);
        QCOMPARE(VisitasDePropiedad(d(), propiedad).size(), 1);
        // Again: nothing more to do.
        QVERIFY(schema::migrate(d()).isEmpty());
    }

    // The file as a calendar program reads it: Python's icalendar, strict, and
    // the times converted to UTC through the file's own Europe/Madrid zone.
    void calendarOpensWithMadridTimes() {
        Visita invierno = nueva(propiedad, "10:00");
        invierno.cod = 7;
        invierno.cliente =
            "Sean O'Connor, hijo; \"el de Dublín\" con un nombre largo que hay que plegar en líneas";
        invierno.direccion = "Calle Ancha 3, 2º B";
        Visita verano = nueva(otraPropiedad, "18:30", "Lucía Pérez", 45);
        verano.cod = 8;
        verano.fecha = QDate(2026, 7, 15);
        // The night the clocks go back: at 03:30 it is already winter time.
        Visita cambio = nueva(otraPropiedad, "03:30");
        cambio.cod = 9;
        cambio.fecha = QDate(2026, 10, 25);
        const QByteArray ics = CalendarioVisitas({invierno, verano, cambio}, "Inmobiliaria Costa del Sol");
        for (const QByteArray& l : ics.split('\n')) {
            QVERIFY2(l.isEmpty() || l.endsWith('\r'), l.constData());
            QVERIFY2(l.size() <= 76, l.constData()); // 75 octets and the CR
        }
        const QString fichero = inst->file("visitas.ics");
        QFile f(fichero);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ics);
        f.close();
        // Each time is read twice: through the file's own VTIMEZONE rules and through the
        // system's Europe/Madrid; both must give the same moment.
        const char* script = R"(
import sys, datetime
from icalendar import Calendar
cal = Calendar.from_ical(open(sys.argv[1], 'rb').read())
zonas = {str(z['TZID']): z.to_tz() for z in cal.walk('VTIMEZONE')}
u = datetime.timezone.utc
for ev in cal.walk('VEVENT'):
    t = []
    for k in ('DTSTART', 'DTEND'):
        p = ev[k]
        propia = zonas[p.params['TZID']].localize(p.dt.replace(tzinfo=None)).astimezone(u)
        assert p.dt.tzinfo is not None and propia == p.dt.astimezone(u), (k, propia, p.dt)
        t.append(propia)
    print(str(ev['UID']), t[0].strftime('%Y-%m-%d %H:%M'), t[1].strftime('%H:%M'), str(ev['SUMMARY']), sep='|')
)";
        QProcess p;
        // The system interpreter, where the Debian package puts the library.
        p.start("/usr/bin/python3", {"-c", QString::fromLatin1(script), fichero});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        const QStringList salida =
            QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(salida,
                 (QStringList{
                     QString("visita-01-7@orbalia|2026-12-09 09:00|09:30|Visita %1 con %2")
                         .arg(propiedad, invierno.cliente),
                     QString("visita-01-8@orbalia|2026-07-15 16:30|17:15|Visita %1").arg(otraPropiedad),
                     QString("visita-01-9@orbalia|2026-10-25 02:30|03:00|Visita %1").arg(otraPropiedad),
                 }));
    }

    void visitSheetOfADemoClientsDay() {
        d().execute("UPDATE Clientes SET Dni = '12345678Z' WHERE Cod = ?", {cliente});
        Visita a = nueva(propiedad, "10:00");
        Visita b = nueva(otraPropiedad, "11:15", "Juan Gil");
        Visita anulada = nueva(otraPropiedad, "13:00");
        anulada.estado = Anulada;
        Visita otroDia = nueva(propiedad, "10:00");
        otroDia.fecha = QDate(2026, 12, 10);
        for (Visita* v : {&a, &b, &anulada, &otroDia})
            GuardarVisita(d(), *v);
        const QList<Visita> dia = VisitasDelDia(d(), cliente, QDate(2026, 12, 9));
        QCOMPARE(dia.size(), 2);
        const report::Document doc = GenerarHojaVisita(ctx(), dia);
        QCOMPARE(doc.pageCount(), 1);
        const QString pdf = RutaHojaVisita(ctx(), a);
        doc.writePdf(pdf);
        const QString texto = pdfText(pdf).simplified();
        const db::Row p =
            d().query("SELECT Direccion, Precio FROM Propiedades WHERE Cod = ?", {propiedad}).first();
        for (const QString& esperado :
             {QString("Inmobiliaria Costa del Sol"), QString("Hoja de visita"), nombreCliente(cliente),
              QString("12345678Z"), QString("09/12/2026"), propiedad, otraPropiedad, QString("10:00"),
              QString("11:15"), QString("Lucía Pérez"), QString("Juan Gil"), p[0].toString().simplified(),
              FormatoImporte(p[1]) + " €", QString("Firma del cliente"), QString("El cliente abajo")})
            QVERIFY2(texto.contains(esperado), qPrintable(esperado + " no está en: " + texto));
        QVERIFY(!texto.contains("13:00"));
        // The agency's own wording replaces the default one.
        d().execute("INSERT INTO Config (Grupo, Variable, Valor) VALUES ('VISITAS', 'TEXTOHOJA', ?)",
                    {"Texto propio de la agencia."});
        GenerarHojaVisita(ctx(), dia).writePdf(pdf);
        QVERIFY(pdfText(pdf).contains("Texto propio de la agencia."));
        QVERIFY(!pdfText(pdf).contains("El cliente abajo"));
        if (const QString carpeta = qEnvironmentVariable("ORBALIA_SCREENSHOTS"); !carpeta.isEmpty())
            QFile::copy(pdf, carpeta + "/hoja-visita.pdf");
    }

    void ownersReportOfTheLastDays() {
        const QDate hasta(2026, 12, 9);
        const QDate desde = DesdePorDefecto(hasta);
        QCOMPARE(desde, QDate(2026, 11, 9));
        d().execute("UPDATE Propiedades SET FechaAlta = '2026-09-10' WHERE Cod = ?", {propiedad});
        Visita realizada = nueva(propiedad, "10:00");
        realizada.fecha = QDate(2026, 11, 9); // the first day of the period
        realizada.estado = Realizada;
        realizada.valoracion = 5;
        realizada.oferta = 181500;
        Visita otra = nueva(propiedad, "12:00");
        otra.codCliente = otroCliente;
        otra.estado = NoPresentado;
        Visita antes = nueva(propiedad, "12:00");
        antes.fecha = QDate(2026, 11, 8); // the day before the period
        antes.oferta = 999000;
        for (Visita* v : {&realizada, &otra, &antes})
            GuardarVisita(d(), *v);
        d().execute(
            "INSERT INTO PropiedadesEnviadas (CodCliente, CodPropiedad, Fecha) VALUES (?, ?, '2026-11-20'), "
            "(?, ?, '2026-11-21')",
            {cliente, propiedad, otroCliente, propiedad});
        const ResumenPropietario r = LeerResumenPropietario(d(), propiedad, desde, hasta, 5);
        QCOMPARE(r.visitas.size(), 2);
        QCOMPARE(r.diasEnMercado, 90);
        const QString pdf = RutaInformePropietario(ctx(), propiedad);
        GenerarInformePropietario(ctx(), r).writePdf(pdf);
        const QString texto = pdfText(pdf).simplified();
        for (const QString& esperado :
             {QString("Informe al propietario"), r.propietario, propiedad,
              QString("del 09/11/2026 al 09/12/2026"),
              QString("Visitas: 2 (realizadas 1, previstas 0, anuladas 0, no presentado 1)"),
              QString("Ofertas: 1; la mayor, 181.500 €"),
              QString("Clientes que buscan una propiedad como esta: 5; se ha enviado el dossier a 2"),
              QString("Días en el mercado: 90"), QString("09/11/2026"), QString("Quiere hacer una oferta")})
            QVERIFY2(texto.contains(esperado), qPrintable(esperado + " no está en: " + texto));
        QVERIFY(!texto.contains("08/11/2026"));
        QVERIFY(!texto.contains("999.000"));
        QVERIFY(!r.propietario.isEmpty());
        if (const QString carpeta = qEnvironmentVariable("ORBALIA_SCREENSHOTS"); !carpeta.isEmpty())
            QFile::copy(pdf, carpeta + "/informe-propietario.pdf");
    }

    // Sent to the owner's own address with the PDF; once handed over, the log says so.
    void ownersReportGoesToTheOwner() {
        const QString dueno =
            d().scalar("SELECT CodPropietario FROM Propiedades WHERE Cod = ?", {propiedad}).toString();
        d().execute("UPDATE Propietarios SET Email = 'dueno@example.es', Nombre = 'Ana Díaz' WHERE Cod = ?",
                    {dueno});
        const QDate hasta = QDate::currentDate();
        ResumenPropietario r = LeerResumenPropietario(d(), propiedad, DesdePorDefecto(hasta), hasta, 0);
        {
            FakeMail mail;
            QVERIFY(EnviarInformePropietario(ctx(), nullptr, r));
            const QString pdf = RutaInformePropietario(ctx(), propiedad);
            QCOMPARE(mail.calls().size(), 1);
            const QStringList args = mail.calls().first();
            QVERIFY2(args.contains("--attach") && args.contains(pdf), qPrintable(args.join(' ')));
            QCOMPARE(args.last(), QString("Ana Díaz <dueno@example.es>"));
            QVERIFY(QFile::exists(pdf));
        }
        QCOMPARE(lineas(propiedad).size(), 1);
        QVERIFY(lineas(propiedad).first().contains("Informe al propietario enviado"));
        // No mail client: nothing is called sent.
        {
            FakeMail mail(false);
            QVERIFY(!EnviarInformePropietario(ctx(), nullptr, r));
        }
        QCOMPARE(lineas(propiedad).size(), 1);
        // An owner without an address: told, nothing handed over, nothing logged.
        d().execute("UPDATE Propietarios SET Email = NULL WHERE Cod = ?", {dueno});
        r = LeerResumenPropietario(d(), propiedad, DesdePorDefecto(hasta), hasta, 0);
        const qsizetype cajas = inst->dialogs().boxes().size();
        FakeMail mail;
        QVERIFY(!EnviarInformePropietario(ctx(), nullptr, r));
        QVERIFY(mail.calls().isEmpty());
        QCOMPARE(inst->dialogs().boxes().size(), cajas + 1);
        QVERIFY(inst->dialogs().boxes().last().text.contains("campo Email"));
        QCOMPARE(lineas(propiedad).size(), 1);
    }
};

QTEST_MAIN(tst_Visitas)
#include "tst_visitas.moc"
