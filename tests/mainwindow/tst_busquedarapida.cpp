// The quick search of the main window's toolbar: what each kind of record is
// found by, the list grouped by kind with the side, and Enter opening the
// record in its window; the records last opened when the box is empty.

#include "Capturas.h"
#include "IndiceTextoPrueba.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Recordset.h"
#include "records/FichaPersona.h"
#include "records/Registro.h"
#include "records/frmPropiedades.h"
#include "search/CajaBusquedaRapida.h"
#include "search/RegistroBusquedas.h"

#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace orb;

namespace {

struct Principal {
    WindowRegistry registro;
    frmMain w;
    explicit Principal(AppContext& ctx) : w(ctx, registrar(registro)) {}
    static WindowRegistry& registrar(WindowRegistry& r) {
        RegistrarFichas(r);
        RegistrarBusquedas(r);
        return r;
    }
};

QStringList lineas(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text().trimmed();
    return out;
}

} // namespace

class TestBusquedaRapida : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }

    // "kind side code" of each record found.
    QStringList vistos(const QString& texto) {
        QStringList out;
        for (const Encontrado& e : BuscarRapido(ctx().db(), texto))
            out << QString("%1 %2 %3").arg(int(e.clase)).arg(int(e.alquiler)).arg(e.cod);
        return out;
    }
    // A file before its text index: the tables' own statements. (A server's
    // seat never has the index; its run of the suite proves its own form.)
    bool sinIndiceTexto() {
        if (ctx().db().onServer())
            return false;
        QuitarIndiceTexto(ctx().db());
        return !TieneIndiceTexto(ctx().db());
    }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        for (const char* t : {"Propiedades", "Propietarios", "Clientes"})
            ctx().db().execute(QStringLiteral("DELETE FROM %1").arg(t));
        ctx().facts.CodigoOficina = "01";
        ctx().db().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Direccion) VALUES "
            "('0100001', '01', 1, FALSE, 'En Venta', 'Calle Máyor, 12'), "
            "('0100002', '01', 2, TRUE, 'Libre', 'Avenida del Mar 3')");
        ctx().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre, Movil) VALUES "
                           "('0100001', '01', 1, FALSE, 'Jürgen Weiß', '+34 600 11 22 33'), "
                           "('0100002', '01', 2, TRUE, 'Ana Mayoral', '')");
        ctx().db().execute(
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre, Email, Nie) VALUES "
            "('0100001', '01', 1, TRUE, 'Klaus Müller', 'Klaus.M@web.de', 'X1234567L'), "
            "('0100002', '01', 2, FALSE, 'Café \"La Ñora\"', '', ''), "
            "('0100004', '01', 4, FALSE, 'Юлия Иванова', '', '')");
        ctx().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
                           "('0100003', '01', 3, FALSE, 'Añón Pérez')");
        ctx().db().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Direccion) "
                           "VALUES ('0100003', '01', 3, TRUE, 'Libre', 'Local 50%_ rebajado')");
    }
    void cleanup() { inst.reset(); }

    void findsEachKindByWhatAgentsType_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("encontrados"); // kind side code
        QTest::newRow("dirección sin acentos") << "calle mayor" << QStringList{"0 0 0100001"};
        QTest::newRow("referencia") << "0100002" << QStringList{"0 1 0100002"};
        QTest::newRow("nombre sin acentos") << "jurgen" << QStringList{"1 0 0100001"};
        QTest::newRow("nombre y dirección") << "mayor" << QStringList{"0 0 0100001", "1 1 0100002"};
        QTest::newRow("teléfono escrito de otro modo") << "600-112" << QStringList{"1 0 0100001"};
        QTest::newRow("e-mail") << "klaus.m@" << QStringList{"2 1 0100001"};
        QTest::newRow("NIE con guiones") << "x-1234567-l" << QStringList{"2 1 0100001"};
        QTest::newRow("nada") << "zzz" << QStringList{};
        QTest::newRow("una letra") << "m" << QStringList{};
        QTest::newRow("comillas y ñ") << "\"la ñora" << QStringList{"2 0 0100002"};
        QTest::newRow("n no es ñ") << "la nora" << QStringList{};
        QTest::newRow("signos tal cual") << "50%_" << QStringList{"0 1 0100003"};
    }
    void findsEachKindByWhatAgentsType() {
        QFETCH(QString, texto);
        QFETCH(QStringList, encontrados);
        QCOMPARE(vistos(texto), encontrados);
        // Without the file's text index, the same.
        QCOMPARE(TieneIndiceTexto(ctx().db()), !ctx().db().onServer());
        if (sinIndiceTexto())
            QCOMPARE(vistos(texto), encontrados);
    }

    // Two characters are in too many texts: references and names that begin
    // with them (case and accents ignored), with the text index or without.
    void twoCharactersFindWhatBeginsWithThem_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("encontrados");
        QTest::newRow("referencias") << "01" << QStringList{"0 0 0100001", "0 1 0100002", "0 1 0100003"};
        QTest::newRow("nombre sin acento") << "JU" << QStringList{"1 0 0100001"};
        QTest::newRow("dentro de un nombre") << "us" << QStringList{};
        QTest::newRow("n no es ñ") << "an" << QStringList{"1 1 0100002"};
        QTest::newRow("ñ no es n") << "añ" << QStringList{"1 0 0100003"};
        QTest::newRow("cirílico") << "юЛ" << QStringList{"2 0 0100004"};
        QTest::newRow("dentro de direcciones y nombres") << "ma" << QStringList{};
    }
    void twoCharactersFindWhatBeginsWithThem() {
        QFETCH(QString, texto);
        QFETCH(QStringList, encontrados);
        QCOMPARE(vistos(texto), encontrados);
        if (sinIndiceTexto())
            QCOMPARE(vistos(texto), encontrados);
    }

    // Within a kind, names in the Spanish order, whichever was stored first.
    void eachKindInNameOrder() {
        ctx().db().execute(
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
            "('0100005', '01', 5, FALSE, 'Zoe Martín'), ('0100006', '01', 6, TRUE, 'Ángela Martín'), "
            "('0100007', '01', 7, FALSE, 'berta martin')");
        const auto nombres = [&] {
            QStringList out;
            for (const Encontrado& e : BuscarRapido(ctx().db(), "martin"))
                out << e.texto;
            return out;
        };
        QCOMPARE(nombres(), (QStringList{"Ángela Martín", "berta martin", "Zoe Martín"}));
        if (sinIndiceTexto())
            QCOMPARE(nombres(), (QStringList{"Ángela Martín", "berta martin", "Zoe Martín"}));
    }

    void enterOpensTheRecordInItsWindowAndTheEmptyBoxOffersIt() {
        Principal principal(ctx());
        frmMain& w = principal.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow(); // no window manager gives it under a bare X server
        QVERIFY(QTest::qWaitForWindowActive(&w));
        CajaBusquedaRapida* caja = w.busquedaRapida;
        QVERIFY(caja);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), caja->txtBuscar);
        QSignalSpy buscado(caja, &CajaBusquedaRapida::buscado);
        QTest::keyClicks(caja->txtBuscar, "mayor");
        QTRY_COMPARE(buscado.count(), 1);
        QCOMPARE(lineas(caja->lstResultados),
                 (QStringList{"Propiedades", "0100001  Calle Máyor, 12 · En Venta  (Venta)", "Propietarios",
                              "0100002  Ana Mayoral  (Alquiler)"}));
        guardarCaptura("busqueda-rapida", caja->lstResultados);
        // The first record is the current one; Down passes the heading to the owner.
        QTest::keyClick(caja->txtBuscar, Qt::Key_Down);
        QTest::keyClick(caja->txtBuscar, Qt::Key_Return);
        auto* ficha = qobject_cast<FichaPersona*>(w.ventana(Ventana::Propietarios, true));
        QVERIFY(ficha);
        QCOMPARE(ficha->data->Recordset()->value("Cod").toString(), QString("0100002"));
        QVERIFY(!w.ventana(Ventana::Propietarios, false));
        QVERIFY(caja->lstResultados->isHidden());

        // Typed and Enter at once: the search runs first, then its first record opens.
        caja->txtBuscar->clear();
        QTest::keyClicks(caja->txtBuscar, "x1234567l");
        QTest::keyClick(caja->txtBuscar, Qt::Key_Return);
        QTRY_VERIFY(w.ventana(Ventana::Clientes, true));
        auto* cliente = qobject_cast<FichaPersona*>(w.ventana(Ventana::Clientes, true));
        QCOMPARE(cliente->data->Recordset()->value("Cod").toString(), QString("0100001"));

        // Empty: the records opened, the last one first.
        caja->txtBuscar->clear();
        caja->buscarYa();
        QCOMPARE(lineas(caja->lstResultados),
                 (QStringList{"Abiertos últimamente",
                              "Cliente: 0100001  Klaus Müller · Klaus.M@web.de  (Alquiler)",
                              "Propietario: 0100002  Ana Mayoral  (Alquiler)"}));
    }
};

QTEST_MAIN(TestBusquedaRapida)
#include "tst_busquedarapida.moc"
