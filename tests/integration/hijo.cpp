// orbalia-prueba-hijo: the program as the tests that kill it need it.
//
//   orbalia-prueba-hijo arrancar CARPETA
//
// The program's start-up on the installation in CARPETA, and nothing more:
// code 0 when it would go on with its main window, 1 (the messages on
// standard output) when not.
//
//   orbalia-prueba-hijo confirmar CARPETA SEMILLA FOTO...
//
// Confirms property records with large photographs, one after another, until
// it is killed: the child that tst_muertes kills at random moments. On the
// sales window of the installation in CARPETA, each confirm adds a
// property or edits a random one of this office, gives slots 1 to 3 the
// photographs FOTO[(k + n) % N] (n = 0, 1, 2), writes "Vuelta k" in
// Observaciones and appends the activity line "Vuelta k"; the numbers k come
// from SEMILLA. Prints "listo" once the window is open and "hecho k ms" after
// each confirm (ms: how long it took); a message box ends it with code 3.
//
//   orbalia-prueba-hijo numerar N
//   orbalia-prueba-hijo retener
//
// A seat of the test server (ORBALIA_TEST_PG_*, schema from PGOPTIONS):
// numerar adds N owners of office 01 one by one, printing each code;
// retener takes the owners' counter in an open transaction, prints
// "retenido" and waits to be killed.

#include "TestServers.h"
#include "maintenance/CodeAllocator.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Database.h"
#include "records/ActividadModel.h"
#include "records/FotosPropiedad.h"
#include "records/frmPropiedades.h"
#include "shell/AppContext.h"
#include "shell/DatabaseSession.h"
#include "shell/Installation.h"
#include "shell/WindowRegistry.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>

using namespace orb;
using namespace orb::prop;

namespace {

void decir(const QString& linea) {
    std::fputs(qPrintable(linea + u'\n'), stdout);
    std::fflush(stdout);
}

int arrancar(const QString& carpeta) {
    qputenv("ORBALIA_HOME", carpeta.toLocal8Bit());
    ui::ScriptedDialogService dialogos;
    AppContext ctx;
    ctx.dialogs = &dialogos;
    WindowRegistry registro;
    frmMain w(ctx, registro);
    StartupHooks hooks;
    hooks.iniciarSinEsperar = [](const QString&, const QStringList&, const QString&) { return true; };
    Arranque arranque(hooks);
    const bool sigue = arranque.ejecutar(ctx, w);
    if (!dialogos.texts().isEmpty())
        decir(dialogos.texts().join(u'\n'));
    return sigue && dialogos.texts().isEmpty() ? 0 : 1;
}

std::unique_ptr<db::Database> puestoServidor() {
    const auto s = testservers::postgresServer();
    return s ? db::Database::openServer(s->address()) : nullptr;
}

int numerar(int n) {
    auto db = puestoServidor();
    if (!db)
        return 2;
    const CodeAllocator propietarios(QStringLiteral("PROPIETARIOS"), QStringLiteral("Propietarios"),
                                     QStringLiteral("01"));
    for (int i = 0; i < n; ++i) {
        QString cod;
        propietarios.insertar(*db, [&](qint64 numero) {
            cod = propietarios.codigo(*db, numero);
            db->execute(
                QStringLiteral("INSERT INTO Propietarios (Cod, Agencia, QuickID) VALUES (?, '01', ?)"),
                {cod, numero});
        });
        decir(cod);
    }
    return 0;
}

int retener() {
    auto db = puestoServidor();
    if (!db)
        return 2;
    const CodeAllocator propietarios(QStringLiteral("PROPIETARIOS"), QStringLiteral("Propietarios"),
                                     QStringLiteral("01"));
    db->beginTransaction();
    propietarios.reservar(*db);
    decir(QStringLiteral("retenido"));
    for (;;)
        QThread::sleep(60);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"arrancar")
        return arrancar(QDir(args[2]).absolutePath() + u'/');
    try {
        if (args.size() == 3 && args[1] == u"numerar")
            return numerar(args[2].toInt());
        if (args.size() == 2 && args[1] == u"retener")
            return retener();
    } catch (const db::DbError& e) {
        decir(e.description());
        return 3;
    }
    if (args.size() < 5 || args[1] != u"confirmar") {
        std::fputs("Uso: orbalia-prueba-hijo arrancar CARPETA | confirmar CARPETA SEMILLA FOTO... | numerar "
                   "N | retener\n",
                   stderr);
        return 2;
    }
    const QString carpeta = QDir(args[2]).absolutePath() + u'/';
    QRandomGenerator azar(args[3].toUInt());
    const QStringList fotos = args.mid(4);

    ui::ScriptedDialogService dialogos;
    AppContext ctx;
    ctx.PonerCarpeta(carpeta);
    ctx.facts = LeerDatosInstalacion(carpeta);
    ctx.dialogs = &dialogos;
    if (!AbrirBaseDatos(ctx))
        return 2;
    ctx.VersionBD = LeerVersionBD(ctx);
    ctx.AddAgainConfig = false;

    frmPropiedades w(ctx, false);
    w.show();
    decir(QStringLiteral("listo"));
    for (;;) {
        QElapsedTimer reloj;
        reloj.start();
        const quint32 k = azar.bounded(1000000u);
        const bool alta = azar.bounded(3) == 0 || !w.data->EstadoPaseando();
        if (alta) {
            w.cmdAdd->click();
        } else {
            for (int saltos = int(azar.bounded(4)); saltos > 0; --saltos)
                w.cmdNext->click();
            w.cmdEdit->click();
        }
        if (!w.data->EstadoAñadiendo() && !w.data->EstadoModificando()) {
            decir(QStringLiteral("no se ha podido empezar la grabación"));
            return 4;
        }
        for (int n = 0; n < 3; ++n) {
            dialogos.queueFile(fotos[int((k + quint32(n)) % quint32(fotos.size()))]);
            w.fotos->butFotoCargar[std::size_t(n)]->click();
        }
        w.txt[Observaciones]->setText(QStringLiteral("Vuelta %1").arg(k));
        const int linea = w.actividades->lineas();
        w.actividades->setData(w.actividades->index(linea, ActividadModel::ColFecha),
                               QStringLiteral("01/03/2024"));
        w.actividades->setData(w.actividades->index(linea, ActividadModel::ColActividad),
                               QStringLiteral("Vuelta %1").arg(k));
        w.cmdOk->click();
        QStringList mensajes = dialogos.texts();
        mensajes.removeAll(QStringLiteral("Cargar fotografía")); // the file dialogs answered above
        dialogos.clear();
        if (!mensajes.isEmpty()) {
            decir(mensajes.join(u'\n'));
            return 3;
        }
        decir(QStringLiteral("hecho %1 %2").arg(k).arg(reloj.elapsed()));
        // The pictures of the record shown are decoded off this thread; let them land.
        QCoreApplication::processEvents();
    }
}
