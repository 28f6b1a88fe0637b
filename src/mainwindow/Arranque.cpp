#include "Arranque.h"

#include "frmAsistente.h"
#include "frmMain.h"
#include "records/FotosPropiedad.h"
#include "shell/Agentes.h"
#include "shell/ConfigStore.h"
#include "shell/DatabaseSession.h"
#include "shell/ErrorReport.h"
#include "shell/Ficheros.h"
#include "shell/Installation.h"
#include "shell/Mensajes.h"
#include "shell/Numeros.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <array>

namespace orb {

namespace {

QString conBarra(const QString& carpeta) {
    QString c = QDir(carpeta).absolutePath();
    if (!c.endsWith(u'/'))
        c += u'/';
    return c;
}

// Creates a missing folder; an existing one is kept as it is.
bool prepararCarpeta(AppContext& ctx, frmMain& w, QString ruta) {
    if (ExisteCarpeta(ruta))
        return true;
    if (QDir().mkpath(ruta))
        return true;
    MensajeError(*ctx.dialogs,
                 QCoreApplication::translate("Arranque", "No se ha podido crear la carpeta [%1]").arg(ruta),
                 &w);
    return false;
}

} // namespace

// The menu items' titles are frmMain's own; start-up gives the buttons their spoken names.
void PonerTitulosComandos(frmMain& w) {
    static const std::array<std::pair<const char*, const char*>, 10> botones = {
        {{"propiedades", QT_TRANSLATE_NOOP("Arranque", "Propiedades en Venta")},
         {"clientes", QT_TRANSLATE_NOOP("Arranque", "Clientes de Ventas")},
         {"propietarios", QT_TRANSLATE_NOOP("Arranque", "Propietarios de Ventas")},
         {"busqueda", QT_TRANSLATE_NOOP("Arranque", "Búsqueda de Ventas")},
         {"busquedaclientes", QT_TRANSLATE_NOOP("Arranque", "Búsqueda de Clientes de Ventas")},
         {"propiedadesalquiler", QT_TRANSLATE_NOOP("Arranque", "Propiedades en Alquiler")},
         {"clientesalquiler", QT_TRANSLATE_NOOP("Arranque", "Clientes de Alquileres")},
         {"propietariosalquiler", QT_TRANSLATE_NOOP("Arranque", "Propietarios de Alquileres")},
         {"busquedaalquiler", QT_TRANSLATE_NOOP("Arranque", "Búsqueda de Alquileres")},
         {"busquedaclientesalquiler", QT_TRANSLATE_NOOP("Arranque", "Busqueda de Clientes de Alquileres")}}};

    for (const auto& [key, texto] : botones)
        w.ponerTooltipBoton(QString::fromLatin1(key), QCoreApplication::translate("Arranque", texto));

    // Both sides, web export and office exchange are always offered.
    for (QMenu* m : {w.mnuMain(0), w.mnuMain(1), w.mnuMain(2), w.mnuMain(3)})
        for (QAction* a : m->actions())
            a->setVisible(true);
    for (const QString& key : frmMain::tbKeys())
        w.tbBoton(key)->setVisible(true);
}

Arranque::Arranque(StartupHooks hooks) : hooks_(std::move(hooks)) {
    if (!hooks_.iniciarSinEsperar)
        hooks_.iniciarSinEsperar = [](const QString& programa, const QStringList& argumentos,
                                      const QString& carpeta) {
            return QProcess::startDetached(programa, argumentos, carpeta);
        };
    if (!hooks_.primeraInstalacion)
        hooks_.primeraInstalacion = [](AppContext& ctx, QWidget* parent, const QString& carpeta,
                                       const QString& instalador) {
            frmAsistente asistente(*ctx.dialogs, carpeta, instalador, parent);
            return asistente.exec() == QDialog::Accepted;
        };
}

QString Arranque::programa(const char* nombre) const {
    const QString carpeta =
        hooks_.carpetaPrograma.isEmpty() ? QCoreApplication::applicationDirPath() : hooks_.carpetaPrograma;
    return QDir(carpeta).filePath(QLatin1String(nombre));
}

Arranque::~Arranque() = default;

bool Arranque::tieneBloqueo() const {
    return bloqueo_ && bloqueo_->isLocked();
}

bool Arranque::segundaCopiaRechazada(AppContext& ctx, frmMain& w, const QString& carpeta) {
    auto bloqueo = std::make_unique<QLockFile>(carpeta + QLatin1String(FicheroBloqueo));
    // Only a dead owner makes a lock stale, never its age: a copy may run for days.
    bloqueo->setStaleLockTime(0);
    if (bloqueo->tryLock(0)) {
        bloqueo_ = std::move(bloqueo);
        return false;
    }
    if (bloqueo->error() != QLockFile::LockFailedError)
        return false; // a folder we cannot write to says nothing about other copies

    ui::DialogService::Box box;
    box.text = QCoreApplication::translate(
        "Arranque", "Ya se está ejecutando una copia del programa y no es recomendable "
                    "que se ejecute una nueva copia.\n¿Seguro que quiere ejecutar una "
                    "nueva copia del programa?");
    box.title = QStringLiteral("Orbalia");
    box.buttons = ui::DialogService::Buttons::YesNo;
    box.icon = ui::DialogService::Icon::Critical;
    box.defaultButton = ui::DialogService::Answer::No;
    return ctx.dialogs->message(&w, box) != ui::DialogService::Answer::Yes;
}

void Arranque::iniciarActualizador(const AppContext& ctx) {
    const QString actualizador = programa(ProgramaActualizador);
    QStringList argumentos;
    if (ctx.VersionBD == 5)
        argumentos << ctx.facts.CodigoOficina + QStringLiteral("00000");
    // A missing upgrader is not reported.
    hooks_.iniciarSinEsperar(actualizador, argumentos, ctx.RutaAplicacion);
}

bool Arranque::ejecutar(AppContext& ctx, frmMain& w) {
    Q_ASSERT(ctx.dialogs);
    const QString carpeta = conBarra(CarpetaInstalacion());

    // A seat's own folder with nothing in it yet is a first start; a folder
    // named by ORBALIA_HOME, or one holding a database, is never laid out anew.
    if (qEnvironmentVariableIsEmpty("ORBALIA_HOME") && carpeta == CarpetaDelPuesto() &&
        CarpetaSinInstalacion(carpeta) &&
        !hooks_.primeraInstalacion(ctx, &w, carpeta, programa(ProgramaInstalador)))
        return false;

    if (segundaCopiaRechazada(ctx, w, carpeta))
        return false;

    // Without its facts the program would run as no office at all: every code
    // it made would lack the office, and every record of the office would be
    // refused as someone else's.
    ctx.facts = LeerDatosInstalacion(carpeta);
    if (const QString problema = ProblemaInstalacion(carpeta, ctx.facts); !problema.isEmpty()) {
        MensajeError(*ctx.dialogs, problema, &w);
        return false;
    }
    ctx.PonerCarpeta(carpeta);

    PonerTitulosComandos(w);

    for (const QString& ruta : {ctx.RutaFotos, ctx.RutaWeb, ctx.RutaExchange})
        if (!prepararCarpeta(ctx, w, ruta))
            return false;

    w.setWindowTitle(QStringLiteral("Orbalia 4.0 - ") + ctx.facts.NombreAgencia);
    QDir::setCurrent(ctx.RutaAplicacion);
    w.colocarAlArrancar();
    w.ponerOficina(ctx.facts.CodigoOficina, ctx.facts.OficinaPrincipal);

    ctx.Comodin = QStringLiteral("*");

    // A missing or unreadable logo leaves the background plain.
    QPixmap logo;
    if (logo.load(ctx.RutaAplicacion + QStringLiteral("Logo800.jpg")))
        w.setFondo(logo);

    if (!AbrirBaseDatos(ctx))
        return false;
    ctx.VersionBD = LeerVersionBD(ctx);
    if (ctx.db().onServer() && ctx.VersionBD != VersionRequerida) {
        // Every seat of the server uses its schema: one seat cannot upgrade it
        // under the others, nor use one made by a newer program.
        const QString donde = ctx.db().path();
        ctx.BaseDatosAgencia.reset();
        MensajeError(
            *ctx.dialogs,
            ctx.VersionBD < VersionRequerida
                ? QCoreApplication::translate(
                      "Arranque", "La base de datos del servidor [%1] está en la versión %2 cuando es "
                                  "necesario que esté en la versión %3.\nPida al administrador que la "
                                  "actualice antes de usar este programa en este puesto (orbalia-install "
                                  "CARPETA --servidor … --actualizar).")
                      .arg(donde, QString::number(ctx.VersionBD), QString::number(VersionRequerida))
                : QCoreApplication::translate(
                      "Arranque", "La base de datos del servidor [%1] está en la versión %2, más nueva "
                                  "que la de este programa (versión %3).\nInstale en este puesto la "
                                  "versión del programa que usan los demás puestos.")
                      .arg(donde, QString::number(ctx.VersionBD), QString::number(VersionRequerida)),
            &w);
        return false;
    }
    if (ctx.VersionBD < VersionRequerida) {
        ctx.BaseDatosAgencia.reset();
        ui::DialogService::Box box;
        box.text = QCoreApplication::translate("Arranque",
                                               "La base de datos encontrada está en la versión %1 cuando es "
                                               "necesario que esté en la versión %2.\n\nA continuación se "
                                               "procederá a su actualización.")
                       .arg(ctx.VersionBD)
                       .arg(VersionRequerida);
        box.title = QCoreApplication::translate("Arranque", "Actualización de base de datos");
        box.buttons = ui::DialogService::Buttons::Ok;
        box.icon = ui::DialogService::Icon::Information;
        box.defaultButton = ui::DialogService::Answer::Ok;
        ctx.dialogs->message(&w, box);
        iniciarActualizador(ctx);
        return false;
    }

    // Who works at the seat; on a server the agent's office is the seat's.
    IdentificarAgente(ctx, &w);
    w.ponerOficina(ctx.facts.CodigoOficina, ctx.facts.OficinaPrincipal);

    // What a confirm killed half-way left in the photo folder; never a reason
    // not to start.
    try {
        FotosPropiedad::limpiarRestos(ctx.db(), ctx.RutaFotos, FotosPropiedad::inicioProceso());
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("Arranque", "limpiar la carpeta de fotos"), e);
    }

    try {
        ctx.AddAgainConfig =
            ValorNumerico(LeerConfig(ctx.db(), QStringLiteral("GENERAL"), QStringLiteral("ADDAGAIN"))) != 0;
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx.dialogs, &w,
                               QCoreApplication::translate("Arranque", "leer la configuración"),
                               QCoreApplication::translate("Arranque", "Error al leer la configuración."), e,
                               {}, ctx.RutaBaseDatos);
        return false;
    }
    // Other seats' changes reach the open windows from now on.
    ctx.avisos.iniciar(ctx.BaseDatosAgencia);
    return true;
}

} // namespace orb
