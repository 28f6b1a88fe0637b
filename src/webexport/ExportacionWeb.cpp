#include "ExportacionWeb.h"

#include "LectorFilasWeb.h"
#include "platform/db/Database.h"
#include "platform/image/PicturePool.h"
#include "platform/mysql/BulkRows.h"
#include "platform/mysql/Connection.h"
#include "platform/process/ProcessRunner.h"
#include "platform/process/ShellSincrono.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/ErrorReport.h"
#include "shell/Ficheros.h"
#include "shell/Log.h"
#include "shell/Numeros.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orb {

namespace {

// Rows sent to the server at a time: each batch is a round trip, so batches
// are as large as the client's own limit for one array-bound execution, and
// closed early so one packet stays well under max_allowed_packet (16 MB).
constexpr int LoteFilas = 2000;
constexpr qsizetype LoteBytes = 4 * 1024 * 1024;
// How often a run lets window events run (log, progress, the cancel button).
constexpr int RefrescoMs = 40;

struct Cancelado {};

// A missing setting reads as its default; nothing is written (a full disk
// must not stop the run before it can report).
db::Value leerAjuste(AppContext& ctx, const char* variable) {
    return LeerConfig(ctx.db(), QStringLiteral("WEB"), QString::fromLatin1(variable));
}

int leerEntero(AppContext& ctx, const char* variable) {
    return int(ValorNumerico(leerAjuste(ctx, variable)));
}

QString leerTexto(AppContext& ctx, const char* variable) {
    return leerAjuste(ctx, variable).toString().trimmed();
}

// Every file of a folder, hidden ones (a killed run's ".name.tmp") included.
QStringList ficherosDe(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// host:port with a single colon (an IPv6 address has several and no port here).
bool separarPuerto(const QString& servidor, QString* host, unsigned* puerto) {
    if (servidor.count(u':') != 1)
        return false;
    const qsizetype i = servidor.indexOf(u':');
    bool ok = false;
    const unsigned p = servidor.mid(i + 1).toUInt(&ok);
    if (!ok || p == 0 || p > 65535)
        return false;
    *host = servidor.left(i);
    *puerto = p;
    return true;
}

} // namespace

AjustesWeb AjustesWeb::leer(AppContext& ctx) {
    AjustesWeb a;
    a.foto = QSize(leerEntero(ctx, "FOTOANCHURA"), leerEntero(ctx, "FOTOALTURA"));
    a.thumb = QSize(leerEntero(ctx, "THUMBANCHURA"), leerEntero(ctx, "THUMBALTURA"));
    a.servidor = leerTexto(ctx, "SERVIDOR");
    a.baseDatos = leerTexto(ctx, "BASEDATOS");
    a.usuario = leerTexto(ctx, "USUARIO");
    // A password may begin or end with blanks: kept as stored.
    a.password = leerAjuste(ctx, "PASSWORD").toString();
    a.puertoSubida = leerEntero(ctx, "PUERTORSYNC");
    return a;
}

QString AjustesWeb::hostServidor() const {
    QString host;
    unsigned puerto = 0;
    return separarPuerto(servidor, &host, &puerto) ? host : servidor;
}

unsigned AjustesWeb::puertoBaseDatos() const {
    QString host;
    unsigned puerto = 0;
    return separarPuerto(servidor, &host, &puerto) ? puerto : 3306;
}

ExportacionWeb::ExportacionWeb(AppContext& ctx, const AjustesWeb& ajustes, QObject* parent)
    : QObject(parent), ctx_(ctx), ajustes_(ajustes) {}

ExportacionWeb::~ExportacionWeb() = default;

void ExportacionWeb::cancelar() {
    cancelado_ = true;
    if (fotos_)
        fotos_->cancel();
    if (runner_)
        runner_->cancel();
}

void ExportacionWeb::Log(const QString& linea) {
    if (alLog)
        alLog(linea);
    dejarPintar();
}

void ExportacionWeb::dejarPintar(bool forzar) {
    if (forzar || !ultimoRefresco_.isValid() || ultimoRefresco_.elapsed() >= RefrescoMs) {
        QCoreApplication::processEvents();
        ultimoRefresco_.start();
    }
}

void ExportacionWeb::avisarProgreso() {
    if (alProgreso)
        alProgreso(progreso_);
}

void ExportacionWeb::prepararCarpetaWeb() {
    // Not emptied here: each new picture replaces its old one, and what this
    // run does not publish is removed once every picture has been made.
    QDir().mkpath(ctx_.RutaWeb + QStringLiteral("thumbs/"));
}

void ExportacionWeb::quitarFotosRetiradas() {
    for (const QString& carpeta : {ctx_.RutaWeb, ctx_.RutaWeb + QStringLiteral("thumbs/")})
        for (const QString& nombre : ficherosDe(carpeta))
            if (!fotosPublicadas_.contains(nombre))
                QFile::remove(carpeta + nombre);
}

void ExportacionWeb::informarFotos(const QList<image::PictureResult>& resultados) {
    for (qsizetype i = 0; i < resultados.size() && i < fotosEnviadas_.size(); ++i) {
        const image::PictureResult& r = resultados[i];
        if (r.ok || r.cancelled)
            continue;
        const FotoEnviada& f = fotosEnviadas_[i];
        EscribirLog(tr("Exportación web, foto %1 de la propiedad %2: %3 (%4)")
                        .arg(f.fichero, f.cod, r.error, r.detail));
        const bool anterior = QFileInfo::exists(ctx_.RutaWeb + f.destino);
        Log(tr("- No se ha podido procesar la foto %1 de la propiedad %2: %3. %4")
                .arg(f.fichero, f.cod, image::faultText(r.fault),
                     anterior ? tr("Se mantiene la foto publicada antes.")
                              : tr("La propiedad se publica sin ella.")));
    }
}

QString ExportacionWeb::comprobarTablas(mysql::Connection& web) {
    const QList<mysql::Row> filas =
        web.query(QStringLiteral("SELECT TABLE_NAME, ENGINE FROM information_schema.TABLES "
                                 "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME IN (?, ?)"),
                  {TablaWeb(Pasada::Venta), TablaWeb(Pasada::Alquiler)});
    for (Pasada p : {Pasada::Venta, Pasada::Alquiler}) {
        const QString tabla = TablaWeb(p);
        const mysql::Row* fila = nullptr;
        for (const mysql::Row& f : filas)
            if (f.value(0).toString().compare(tabla, Qt::CaseInsensitive) == 0)
                fila = &f;
        if (!fila)
            return tr("Falta la tabla %1 en la base de datos del web «%2»; no se ha cambiado nada.")
                .arg(tabla, ajustes_.baseDatos);
        // Deleting and inserting on a table without transactions would leave
        // the site half published after any failure: refused before deleting.
        const QString motor = fila->value(1).toString();
        if (motor.compare(QStringLiteral("InnoDB"), Qt::CaseInsensitive) != 0)
            return tr("La tabla %1 del web usa el motor %2, que no admite transacciones; no se ha "
                      "cambiado nada. Conviértala con ALTER TABLE %1 ENGINE=InnoDB y vuelva a "
                      "exportar.")
                .arg(tabla, motor.isEmpty() ? tr("desconocido") : motor);
    }
    return {};
}

void ExportacionWeb::ProcesarFoto(const QString& fichero, const QString& ident, const QString& cod, int slot,
                                  image::PicturePool& fotos) {
    if (fichero.isEmpty() || ident.isEmpty())
        return;
    const QString origen = ctx_.RutaFotos + fichero;
    if (!QFileInfo(origen).isFile())
        return;
    const QString destino = ident + u'-' + QString::number(slot) + QStringLiteral(".jpg");
    Log(tr("- Procesando foto %1").arg(fichero));
    // Kept even when the new picture cannot be made: the old one stays published.
    fotosPublicadas_.insert(destino);
    fotosEnviadas_.append({fichero, cod, destino});
    fotos.submit({origen, ctx_.RutaWeb + destino, ctx_.RutaWeb + QStringLiteral("thumbs/") + destino});
    progreso_.fotosTotal = fotos.submitted();
}

void ExportacionWeb::pasada(mysql::Connection& web, Pasada p, LectorFilasWeb& filas,
                            image::PicturePool& fotos) {
    const QString tabla = TablaWeb(p);
    lugar_ = {p, {}};
    Log(p == Pasada::Venta ? tr("Borrando antiguas propiedades en venta...")
                           : tr("Borrando antiguas propiedades en alquiler..."));
    web.execute(QStringLiteral("DELETE FROM %1 WHERE agency = ?").arg(tabla), {ctx_.facts.CodigoAgenciaWeb});
    Log(tr("Propiedades borradas."));

    const QStringList columnas = ColumnasWeb(p);
    QStringList marcas;
    marcas.fill(QStringLiteral("?"), columnas.size());
    auto insertar = web.prepare(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(tabla, columnas.join(u','), marcas.join(u',')));

    mysql::BulkRows lote(int(columnas.size()));
    QStringList codigos; // of the rows in lote, to name the one the server refuses
    int contador = 0;
    const QString exportando = tr("Exportando propiedad %1");
    while (filas.siguiente()) {
        if (cancelado_)
            throw Cancelado{};
        const QString& cod = filas.cod();
        Log(exportando.arg(cod));
        filas.anadirA(lote);
        codigos << cod;
        const QStringList fichero = filas.fotos();
        for (int n = 1; n <= fichero.size(); ++n)
            ProcesarFoto(fichero[n - 1], filas.ident(), cod, n, fotos);
        ++contador;
        ++progreso_.propiedadesHechas;
        avisarProgreso();
        if (lote.rowCount() >= LoteFilas || lote.bytes() >= LoteBytes) {
            enviarLote(web, *insertar, lote, codigos);
            lote.clear();
            codigos.clear();
        }
    }
    if (cancelado_)
        throw Cancelado{};
    if (lote.rowCount() > 0)
        enviarLote(web, *insertar, lote, codigos);
    if (contador > 0)
        Log(tr("Se han exportado %n propiedades.", nullptr, contador));
}

void ExportacionWeb::enviarLote(mysql::Connection& web, mysql::Statement& insertar,
                                const mysql::BulkRows& lote, const QStringList& codigos) {
    try {
        insertar.executeBulk(lote);
    } catch (const mysql::MysqlError& e) {
        if (!EsFalloDeValor(e))
            throw;
        // The server does not say which row of a batch it refused: the rows
        // are tried one by one, inside a savepoint that leaves no trace, until
        // one fails the same way. Only on this failing path.
        if (lote.rowCount() == 1) {
            lugar_.propiedad = codigos.value(0);
            throw;
        }
        try {
            web.execute(QStringLiteral("SAVEPOINT buscar_fila"));
            for (int i = 0; i < lote.rowCount() && lugar_.propiedad.isEmpty(); ++i) {
                try {
                    insertar.execute(lote.row(i));
                } catch (const mysql::MysqlError& fila) {
                    if (fila.number() == e.number())
                        lugar_.propiedad = codigos.value(i);
                }
            }
            web.execute(QStringLiteral("ROLLBACK TO SAVEPOINT buscar_fila"));
        } catch (const mysql::MysqlError&) {
            // The run fails with the first error whatever this search found.
        }
        throw;
    }
}

bool ExportacionWeb::Exportar() {
    if (enCurso_)
        return false;
    enCurso_ = true;
    cancelado_ = false;
    progreso_ = {};
    fotosEnviadas_.clear();
    fotosPublicadas_.clear();
    lugar_ = {};
    ultimoRefresco_.invalidate();
    struct Fin {
        ExportacionWeb* e;
        ~Fin() {
            e->enCurso_ = false;
            e->fotos_ = nullptr;
        }
    } fin{this};

    Log(tr("Iniciando exportación ..."));
    if (ajustes_.servidor.isEmpty() || ajustes_.baseDatos.isEmpty()) {
        Log(tr("Falta el servidor web o su base de datos: póngalos en Herramientas > Configuración > "
               "Exportación Web > Servidor y BBDD (WEB / SERVIDOR, WEB / BASEDATOS)."));
        return false;
    }
    if (ajustes_.foto.isEmpty() || ajustes_.thumb.isEmpty()) {
        Log(tr("Los tamaños de las fotos del web no son válidos: corríjalos en Herramientas > "
               "Configuración > Exportación Web > Generación de Fotos (WEB / FOTOANCHURA, "
               "FOTOALTURA, THUMBANCHURA, THUMBALTURA)."));
        return false;
    }

    // Web/ loses what this run does not publish and is mirrored onto the server with deletion.
    if (!CarpetaDentroDe(ctx_.RutaWeb, ctx_.RutaAplicacion)) {
        Log(tr("La carpeta %1 no está dentro de la instalación; no se ha borrado nada.")
                .arg(QDir::toNativeSeparators(ctx_.RutaWeb)));
        return false;
    }
    enum class Etapa { Preparando, Enviando, Confirmando, Hecho } etapa = Etapa::Preparando;
    try {
        prepararCarpetaWeb();
        const QString oficina = ctx_.facts.CodigoOficina;
        const QString agencia = ctx_.facts.CodigoAgenciaWeb;
        // Read as they are sent, each value straight from the statement into the batch.
        LectorFilasWeb ventas(ctx_.db(), Pasada::Venta, oficina, agencia);
        LectorFilasWeb alquileres(ctx_.db(), Pasada::Alquiler, oficina, agencia);
        progreso_.propiedadesTotal = ventas.total() + alquileres.total();
        avisarProgreso();

        image::PicturePool fotos({ajustes_.foto, ajustes_.thumb});
        fotos_ = &fotos;
        connect(&fotos, &image::PicturePool::progress, this, [this](int hechas, int total) {
            progreso_.fotosHechas = hechas;
            progreso_.fotosTotal = total;
            avisarProgreso();
        });

        mysql::ConnectOptions opciones;
        opciones.host = ajustes_.hostServidor();
        opciones.port = ajustes_.puertoBaseDatos();
        opciones.database = ajustes_.baseDatos;
        opciones.user = ajustes_.usuario;
        opciones.password = ajustes_.password;
        auto web = mysql::Connection::connect(opciones);
        const QString rechazo = comprobarTablas(*web);
        if (!rechazo.isEmpty()) {
            Log(rechazo);
            return false;
        }

        etapa = Etapa::Enviando;
        {
            // Both passes in one transaction: the site's visitors see the old
            // listing until the commit, then the whole new one.
            mysql::Transaction tx(*web);
            pasada(*web, Pasada::Venta, ventas, fotos);
            pasada(*web, Pasada::Alquiler, alquileres, fotos);
            etapa = Etapa::Confirmando;
            tx.commit();
        }
        etapa = Etapa::Hecho;
        web.reset();

        // The pictures were made while the rows went out; wait for the rest.
        informarFotos(fotos.waitForAll());
        if (cancelado_) {
            Log(tr("Exportación cancelada: los datos del web ya estaban actualizados; no se suben "
                   "las fotos."));
            return false;
        }
        quitarFotosRetiradas();
        Log(tr("Exportación finalizada."));
        return true;
    } catch (const Cancelado&) {
        Log(tr("Exportación cancelada: el web no ha cambiado."));
    } catch (const mysql::MysqlError& e) {
        RegistrarFalloWeb(e, ajustes_);
        Log(DescribirFalloWeb(e, ajustes_, lugar_));
        if (etapa == Etapa::Enviando)
            Log(tr("La exportación no se ha completado: el web conserva el listado anterior."));
        else if (etapa == Etapa::Confirmando)
            Log(tr("No se sabe si el servidor web ha guardado el listado nuevo: vuelva a exportar."));
    } catch (const db::DbError& e) {
        RegistrarError(tr("leer las propiedades para el web"), e);
        Log(tr("No se han podido leer las propiedades: %1").arg(CausaError(e, {}, ctx_.RutaBaseDatos)));
    }
    return false;
}

bool ExportacionWeb::Subir() {
    if (enCurso_)
        return false;
    enCurso_ = true;
    cancelado_ = false;
    struct Fin {
        ExportacionWeb* e;
        ~Fin() {
            e->enCurso_ = false;
            e->runner_ = nullptr;
        }
    } fin{this};

    QString origen = ctx_.RutaWeb;
    if (!origen.endsWith(u'/'))
        origen += u'/'; // the folder's content, not the folder itself
    const QString destino = ajustes_.hostServidor() + QStringLiteral("::xweb") + ctx_.facts.CodigoAgenciaWeb;
    const QString programa = QStringLiteral("rsync");
    const QStringList argumentos{QStringLiteral("--port=%1").arg(ajustes_.puertoSubida),
                                 QStringLiteral("-r"),
                                 QStringLiteral("--size-only"),
                                 QStringLiteral("--verbose"),
                                 QStringLiteral("--delete"),
                                 QStringLiteral("--progress"),
                                 QStringLiteral("--stats"),
                                 origen,
                                 destino};
    Log(tr("Iniciando subida ..."));
    QStringList linea = argumentos;
    linea[linea.size() - 2] = u'"' + origen + u'"';
    Log(programa + u' ' + linea.join(u' '));

    proc::ProcessRunner runner;
    runner.setWorkingDirectory(ctx_.RutaAplicacion);
    runner_ = &runner;
    const int codigo =
        proc::ShellSincrono(runner, programa, argumentos, [this](const QString& l) { Log(l); });
    if (codigo != 0) {
        if (runner.cancelled())
            Log(tr("Subida cancelada."));
        else if (codigo == proc::ProcessRunner::NotStarted)
            Log(tr("No se ha podido ejecutar rsync: %1").arg(runner.failure()));
        else
            Log(tr("La subida ha fallado: rsync ha terminado con el código %1.").arg(codigo));
        return false;
    }
    Log(tr("Subida finalizada."));
    return true;
}

bool ExportacionWeb::ejecutar(bool subir) {
    if (!Exportar())
        return false;
    return !subir || Subir();
}

} // namespace orb
