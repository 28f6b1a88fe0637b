#include "IntercambioPrueba.h"
#include "TestServers.h"
#include "exchange/ExportacionOficina.h"
#include "exchange/ImportacionOficina.h"
#include "exchange/VentanasIntercambio.h"
#include "platform/process/ProcessRunner.h"
#include "shell/ConfigStore.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

using namespace prueba;

namespace {

QByteArray huella(const QString& ruta) {
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

QStringList tablaOficina(db::Database& d, const QString& t, const QString& oficina) {
    return tabla(d, t, "WHERE Agencia = ?", {oficina});
}

void ponerClave(TestInstallation& inst, const QString& clave, const QString& valor) {
    QSettings ini(inst.file("Orbalia.ini"), QSettings::IniFormat);
    ini.setValue("Instalacion/" + clave, valor);
}

// "Resumen: exportados …" as an office's export of these rows ends.
QString resumen(db::Database& d, const QString& oficina, bool principal, int fotos, bool subida) {
    QStringList partes;
    const auto cuenta = [](int n, const char* uno, const char* varios) {
        return QString::number(n) + " " + QString::fromUtf8(n == 1 ? uno : varios);
    };
    auto contar = [&](const char* t, const char* uno, const char* varios, bool deOficina) {
        const QString sql =
            QStringLiteral("SELECT count(*) FROM %1").arg(t) + (deOficina ? " WHERE Agencia = ?" : "");
        partes << cuenta(d.scalar(sql, deOficina ? db::Params{oficina} : db::Params{}).toInt(), uno, varios);
    };
    if (principal) {
        contar("Tipos", "tipo", "tipos", false);
        contar("Localidades", "localidad", "localidades", false);
        contar("Areas", "área", "áreas", false);
    }
    contar("Propiedades", "propiedad", "propiedades", true);
    contar("Propietarios", "propietario", "propietarios", true);
    contar("Clientes", "cliente", "clientes", true);
    return "Resumen: exportados " + partes.join(", ") + " y " + cuenta(fotos, "foto", "fotos") + "; " +
           (subida ? "subida correcta."
                   : "la subida ha fallado y las demás oficinas no los recibirán hasta que se suban.");
}

int fotosEn(const QString& carpeta) {
    return int(QDir(carpeta).entryList({"*.jpg"}, QDir::Files).size());
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
        QVERIFY(registro_.isValid());
        orb::IniciarLog(registro_.path());
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
        // One summary line ends the run.
        QCOMPARE(r1.lineas.mid(r1.lineas.size() - 2),
                 QStringList({"Subida finalizada.",
                              resumen(d1, "01", true, fotosEn(uno.file("Exchange/01")), true)}));
        // Office 02 exports through the command-line twin.
        const Ejecucion cli = exchange("export", dos.path());
        QVERIFY2(cli.codigo == 0, qPrintable(cli.salida + cli.error));
        QVERIFY(cli.salida.contains("Exportación finalizada.\n"));
        QVERIFY2(cli.salida.endsWith("Subida finalizada.\n" +
                                     resumen(d2, "02", false, fotosEn(dos.file("Exchange/02")), true) + "\n"),
                 qPrintable(cli.salida));

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

    // A refused upload is not also called finished; rsync's own words go to
    // Orbalia.log and the log says what failed in plain words.
    void failedUploadIsReportedAndTheCliFails() {
        ORB_REQUIRE_RSYNC(s);
        auto opciones = instalada(s, "01", true, 3);
        opciones.exchangePassword = "clave-equivocada";
        TestInstallation uno(opciones);
        proc::ProcessRunner runner;
        Registro r;
        QVERIFY(!orb::ExportacionOficina(uno.context(), r.informe()).ejecutar(runner));
        const QString causa =
            "el servidor de intercambio ha rechazado el usuario o la contraseña, o no tiene la "
            "carpeta de ese usuario (Herramientas > Configuración > Sincronización > Usuario y "
            "Contraseña; SINC / FTPUSUARIO).";
        QCOMPARE(r.lineas.filter("La subida ha fallado"), QStringList({"La subida ha fallado: " + causa}));
        QVERIFY(!r.lineas.contains("Subida finalizada."));
        QCOMPARE(r.lineas.last(),
                 resumen(uno.context().db(), "01", true, fotosEn(uno.file("Exchange/01")), false));
        QCOMPARE(textoDelMotor(r.lineas), QString());
        QVERIFY2(registroTecnico().contains("auth failed"), qPrintable(registroTecnico()));

        const Ejecucion cli = exchange("import", uno.path());
        QVERIFY(cli.codigo != 0);
        QVERIFY2(cli.salida.contains("La bajada ha fallado: " + causa), qPrintable(cli.salida));
        QVERIFY(!cli.salida.contains("Bajada finalizada."));
        QCOMPARE(textoDelMotor(cli.salida.split('\n') + cli.error.split('\n')), QString());
        QVERIFY(registroTecnico(uno.file("Orbalia.log")).contains("auth failed"));
        // The password never shows on a command line the log could carry.
        QVERIFY(!cli.salida.contains(s.password));
    }

    // The server moved to another port: the setting takes the exchange there
    // without reinstalling; emptied, the installed script's port is back.
    void portSettingTakesTheExchangeThere() {
        ORB_REQUIRE_RSYNC(s);
        auto opciones = instalada(s, "01", true, 4);
        opciones.exchangePort = 1; // nothing listens there
        TestInstallation uno(opciones);
        db::Database& d = uno.context().db();
        proc::ProcessRunner runner;
        {
            Registro r;
            QVERIFY(!orb::ExportacionOficina(uno.context(), r.informe()).ejecutar(runner));
            QCOMPARE(r.lineas.filter("La subida ha fallado").size(), 1);
        }
        orb::GuardarConfig(d, "SINC", "PUERTORSYNC", QString::number(s.port));
        {
            Registro r;
            QVERIFY2(orb::ExportacionOficina(uno.context(), r.informe()).ejecutar(runner),
                     qPrintable(r.lineas.join('\n')));
            QVERIFY(r.lineas.contains("Subida finalizada."));
        }
        // The command-line twin reads the same setting.
        QCOMPARE(exchange("export", uno.path()).codigo, 0);
        orb::GuardarConfig(d, "SINC", "PUERTORSYNC", QString());
        QVERIFY(exchange("export", uno.path()).codigo != 0);
    }

    // An office code of ".." would make Exchange/../ the office's folder: the
    // installation itself, emptied by the export and mirrored into by the
    // import's rsync --delete. Refused by the tool before anything is removed.
    void officeCodeOfDotsNeverTouchesTheInstallation() {
        ORB_REQUIRE_RSYNC(s);
        TestInstallation uno(instalada(s, "01", true, 7));
        TestInstallation dos(instalada(s, "02", false, 8));
        QCOMPARE(exchange("export", dos.path()).codigo, 0); // office 02's folder on the server has files
        const QStringList antes = ficherosInstalacion(uno.path());

        ponerClave(uno, "CodigoOficina", "..");
        Ejecucion e = exchange("export", uno.path());
        QCOMPARE(e.codigo, 1);
        QVERIFY2(e.error.contains("El código de oficina \"..\" solo puede tener letras y cifras.") &&
                     e.error.contains("Corrija la clave CodigoOficina"),
                 qPrintable(e.error));
        QCOMPARE(ficherosInstalacion(uno.path()), antes);

        ponerClave(uno, "CodigoOficina", "01");
        ponerClave(uno, "RedAgencias", "01,..");
        e = exchange("import", uno.path());
        QCOMPARE(e.codigo, 1);
        QVERIFY2(
            e.error.contains("El código de oficina \"..\" de la lista RedAgencias solo puede tener letras y "
                             "cifras.") &&
                e.error.contains("Corrija la clave RedAgencias"),
            qPrintable(e.error));
        QCOMPARE(ficherosInstalacion(uno.path()), antes);

        // A good code whose folder is a link out of Exchange/ is not mirrored into either.
        ponerClave(uno, "RedAgencias", "01,02");
        QVERIFY(QFile::link(uno.path(), uno.file("Exchange/02")));
        const QStringList conEnlace = ficherosInstalacion(uno.path());
        e = exchange("import", uno.path());
        QCOMPARE(e.codigo, 1);
        QVERIFY2(e.salida.contains("no está dentro de"), qPrintable(e.salida));
        QCOMPARE(ficherosInstalacion(uno.path()), conEnlace);
    }

    // Office 02's file on the server replaced by office 01's own, by the bare
    // template, or by an older one of 02: office 01 keeps 02's rows and says
    // why. An office that really has nothing left still gets through.
    void importTakesOnlyTheOfficesOwnLatestFile() {
        ORB_REQUIRE_RSYNC(s);
        TestInstallation uno(instalada(s, "01", true, 31));
        TestInstallation dos(instalada(s, "02", false, 32));
        db::Database& d1 = uno.context().db();
        db::Database& d2 = dos.context().db();
        const QString servidor = s.moduleDir(instalada(s, "02", false, 0).exchangeUser) + "/02/Export.db";
        QCOMPARE(exchange("export", uno.path()).codigo, 0);
        QCOMPARE(exchange("export", dos.path()).codigo, 0);
        Ejecucion e = exchange("import", uno.path());
        QVERIFY2(e.codigo == 0, qPrintable(e.salida));
        const QStringList deDos = oficinaEntera(d1, "02");
        QVERIFY(deDos.size() > 8);
        QCOMPARE(deDos, oficinaEntera(d2, "02"));
        const QString anterior = uno.file("anterior.db");
        QVERIFY(QFile::copy(servidor, anterior));

        // A new modification time, so that rsync's quick check sees the change.
        auto sustituir = [&](const QString& por) {
            QVERIFY(QFile::remove(servidor) && QFile::copy(por, servidor));
            QFile f(servidor);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                                                  QFileDevice::FileModificationTime));
        };
        const QList<std::pair<QString, QString>> falsos = {
            {uno.file("Exchange/01/Export.db"),
             "No se importa la oficina 02: el archivo lo ha exportado la oficina "
             "\"01\", no la 02."},
            {uno.file("ExportSchema.db"),
             "No se importa la oficina 02: el archivo es la plantilla de intercambio "
             "vacía, no una exportación de la oficina."}};
        for (const auto& [fichero, linea] : falsos) {
            sustituir(fichero);
            e = exchange("import", uno.path());
            QCOMPARE(e.codigo, 1);
            QVERIFY2(e.salida.contains(linea + "\n") && !e.salida.contains("Importación finalizada."),
                     qPrintable(e.salida));
            QCOMPARE(oficinaEntera(d1, "02"), deDos);
        }

        // A newer export of 02, then the older file again.
        d2.execute("UPDATE Propiedades SET Precio = Precio + 1000 WHERE Agencia = '02'");
        QCOMPARE(exchange("export", dos.path()).codigo, 0);
        QCOMPARE(exchange("import", uno.path()).codigo, 0);
        const QStringList nuevo = oficinaEntera(d1, "02");
        QCOMPARE(nuevo, oficinaEntera(d2, "02"));
        sustituir(anterior);
        e = exchange("import", uno.path());
        QCOMPARE(e.codigo, 1);
        QVERIFY2(e.salida.contains("ya se importó uno más reciente"), qPrintable(e.salida));
        QCOMPARE(oficinaEntera(d1, "02"), nuevo);

        // At the secondary office, the principal's file with empty catalogues keeps its own.
        d1.execute("DELETE FROM Tipos");
        QCOMPARE(exchange("export", uno.path()).codigo, 0);
        const QStringList tipos = tabla(d2, "Tipos");
        e = exchange("import", dos.path());
        QCOMPARE(e.codigo, 1);
        QVERIFY2(e.salida.contains("No se importa la oficina 01: la oficina principal ha exportado vacío el "
                                   "catálogo de tipos"),
                 qPrintable(e.salida));
        QCOMPARE(tabla(d2, "Tipos"), tipos);

        // Everything of 02 sold and deleted: its own file says it holds nothing.
        for (const char* t : {"ClientesZonas", "Propiedades", "Propietarios", "Clientes"})
            d2.execute(QStringLiteral("DELETE FROM %1").arg(t));
        QCOMPARE(exchange("export", dos.path()).codigo, 0);
        e = exchange("import", uno.path());
        QVERIFY2(e.codigo == 0 && e.salida.endsWith("Importación finalizada.\n"), qPrintable(e.salida));
        QCOMPARE(oficinaEntera(d1, "02"), QStringList({"Propiedades", "Propietarios", "Clientes"}));
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
        QVERIFY(frm.txtLog->toPlainText().endsWith(
            "Subida finalizada.\n" +
            resumen(uno.context().db(), "01", true, fotosEn(uno.file("Exchange/01")), true)));
        qint64 filas = 0;
        for (const char* t : {"Propiedades", "Propietarios", "Clientes", "Tipos", "Localidades", "Areas"})
            filas += uno.context().db().scalar(QString("SELECT count(*) FROM %1").arg(t)).toLongLong();
        QCOMPARE(frm.lblFilas->text(), QStringLiteral("Registros: %1").arg(filas));
        frm.cmd_Click(1);
        QVERIFY(!frm.isVisible());
    }

private:
    QTemporaryDir registro_;
};

QTEST_MAIN(tst_IntercambioServidor)
#include "tst_intercambioservidor.moc"
