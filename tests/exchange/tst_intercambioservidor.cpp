#include "IntercambioPrueba.h"
#include "TestServers.h"
#include "exchange/ExportacionOficina.h"
#include "exchange/ImportacionOficina.h"
#include "exchange/VentanasIntercambio.h"
#include "platform/process/ProcessRunner.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace prueba;

namespace {

// An office installed by the real installer with demo data, the exchange
// account of the test daemon and the script the installer writes.
orb::install::InstallOptions instalada(const testservers::Rsync& s, const QString& codigo, bool principal,
                                       quint32 semilla) {
    orb::install::InstallOptions o;
    o.facts = orb::install::demoFacts();
    o.facts.CodigoOficina = codigo;
    o.facts.OficinaPrincipal = principal;
    o.demoProperties = 12;
    o.seed = semilla;
    o.exchangeUser = s.users.contains("oficina1") ? "oficina1" : s.users.first();
    o.exchangeServer = s.host;
    o.exchangePort = s.port;
    o.exchangePassword = s.password;
    return o;
}

QByteArray huella(const QString& ruta) {
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

QStringList tablaOficina(db::Database& d, const QString& t, const QString& oficina) {
    return tabla(d, t, "WHERE Agencia = ?", {oficina});
}

} // namespace

// Two real installations exchange their data through the rsync daemon with
// the script the installer wrote; the CLI and the window run the same code.
class tst_IntercambioServidor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // The installation's script reads the port from here when set.
        qunsetenv("ORBALIA_RSYNC_PORT");
    }

    void twoOfficesRoundTrip() {
        ORB_REQUIRE_RSYNC(s);
        TestInstallation uno(instalada(s, "01", true, 11));
        TestInstallation dos(instalada(s, "02", false, 22));
        db::Database& d1 = uno.context().db();
        db::Database& d2 = dos.context().db();
        // The secondary office's catalogues differ until it imports the principal's.
        d2.execute("UPDATE Tipos SET Nombre = Nombre || ' (local)'");

        proc::ProcessRunner runner;
        Registro r1;
        QVERIFY2(orb::ExportacionOficina(uno.context(), r1.informe()).ejecutar(runner),
                 qPrintable(r1.lineas.join('\n')));
        QCOMPARE(r1.lineas.last(), "Subida finalizada.");
        // Office 02 exports through the command-line twin.
        QProcess cli;
        cli.start(QStringLiteral(ORBALIA_BINARY_DIR "/orbalia-exchange"), {"export", "--home", dos.path()});
        QVERIFY(cli.waitForFinished(120000));
        const QString salida = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY2(cli.exitCode() == 0, qPrintable(salida + cli.readAllStandardError()));
        QVERIFY(salida.contains("Exportación finalizada.\n") && salida.endsWith("Subida finalizada.\n"));

        Registro i1, i2;
        QVERIFY2(orb::ImportacionOficina(uno.context(), i1.informe()).ejecutar(runner),
                 qPrintable(i1.lineas.join('\n')));
        QVERIFY2(orb::ImportacionOficina(dos.context(), i2.informe()).ejecutar(runner),
                 qPrintable(i2.lineas.join('\n')));
        QCOMPARE(i1.lineas.first(), "Iniciando bajada ...");

        for (const char* t : {"Propiedades", "Propietarios", "Clientes"}) {
            QVERIFY(!tablaOficina(d1, t, "01").isEmpty());
            QCOMPARE(tablaOficina(d2, t, "01"), tablaOficina(d1, t, "01"));
            QCOMPARE(tablaOficina(d1, t, "02"), tablaOficina(d2, t, "02"));
        }
        for (const char* t : {"Tipos", "Localidades", "Areas"})
            QCOMPARE(tabla(d2, t), tabla(d1, t));
        // Each photograph of the other office arrived as the picture its export made.
        int fotos = 0;
        for (const db::Row& row : d1.query("SELECT Foto1, Foto2, Foto3, Foto4, Foto5, Foto6 FROM Propiedades "
                                           "WHERE Agencia = '02'"))
            for (const db::Value& v : row) {
                if (db::isNull(v) || v.toString().isEmpty())
                    continue;
                const QString n = v.toString();
                QCOMPARE(huella(uno.context().RutaFotos + n), huella(dos.file("Exchange/02/" + n)));
                QCOMPARE(huella(uno.context().RutaFotos + n),
                         huella(s.moduleDir(instalada(s, "02", false, 0).exchangeUser) + "/02/" + n));
                ++fotos;
            }
        QVERIFY(fotos > 0);
    }

    void failedUploadIsReportedAndTheCliFails() {
        ORB_REQUIRE_RSYNC(s);
        auto opciones = instalada(s, "01", true, 3);
        opciones.exchangePassword = "clave-equivocada";
        TestInstallation uno(opciones);
        proc::ProcessRunner runner;
        Registro r;
        QVERIFY(!orb::ExportacionOficina(uno.context(), r.informe()).ejecutar(runner));
        QVERIFY(r.lineas.filter("La subida ha fallado").size() == 1);
        QCOMPARE(r.lineas.last(), "Subida finalizada.");
        QProcess cli;
        cli.start(QStringLiteral(ORBALIA_BINARY_DIR "/orbalia-exchange"), {"import", "--home", uno.path()});
        QVERIFY(cli.waitForFinished(120000));
        QVERIFY(cli.exitCode() != 0);
        // The password never shows on a command line the log could carry.
        QVERIFY(!QString::fromUtf8(cli.readAllStandardOutput()).contains(s.password));
    }

    void windowShowsTheRunAndRefusesASecondOne() {
        ORB_REQUIRE_RSYNC(s);
        TestInstallation uno(instalada(s, "01", true, 5));
        orb::frmExportacionOficina frm(uno.context());
        frm.show();
        int inicios = 0;
        bool cerrarActivo = true;
        QString captura = qEnvironmentVariable("ORBALIA_CAPTURA");
        connect(frm.txtLog, &QPlainTextEdit::textChanged, &frm, [&] {
            if (frm.txtLog->toPlainText().endsWith("Iniciando exportación ..."))
                ++inicios;
            if (frm.txtLog->toPlainText().endsWith("Iniciando subida ...")) {
                cerrarActivo = frm.cmd[1]->isEnabled();
                frm.cmd_Click(0);                    // a second run while this one goes on
                static_cast<QDialog&>(frm).reject(); // Esc must not close it either
                if (!captura.isEmpty()) {
                    frm.grab().save(captura);
                    captura.clear();
                }
            }
        });
        frm.cmd_Click(0);
        QVERIFY(frm.ultimoResultado());
        QCOMPARE(inicios, 1);
        QVERIFY(!cerrarActivo);
        QVERIFY(frm.isVisible());
        QVERIFY(frm.txtLog->toPlainText().endsWith("Subida finalizada."));
        qint64 filas = 0;
        for (const char* t : {"Propiedades", "Propietarios", "Clientes", "Tipos", "Localidades", "Areas"})
            filas += uno.context().db().scalar(QString("SELECT count(*) FROM %1").arg(t)).toLongLong();
        QCOMPARE(frm.lblFilas->text(), QStringLiteral("Registros: %1").arg(filas));
        frm.cmd_Click(1);
        QVERIFY(!frm.isVisible());
    }
};

QTEST_MAIN(tst_IntercambioServidor)
#include "tst_intercambioservidor.moc"
