#include "AvisosCambios.h"

#include "Log.h"
#include "SchemaAvisos.h"

#include "platform/db/Database.h"
#include "platform/db/ServerEngine.h"
#include "platform/pg/Connection.h"

#include <QFuture>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace orb {

namespace {

constexpr int EsperaMaxima = 60 * 1000;

struct Apertura {
    std::shared_ptr<pg::Connection> conexion;
    QString error;
};

// On a worker thread: signing in may wait for the connect timeout, and the
// windows must not.
Apertura abrirEscucha(const pg::ConnectOptions& opciones) {
    try {
        std::shared_ptr<pg::Connection> c = pg::Connection::connect(opciones);
        c->listen(QLatin1String(schema::CanalAvisos));
        return {std::move(c), {}};
    } catch (const pg::PgError& e) {
        return {nullptr, e.describe()};
    } catch (const std::exception& e) {
        return {nullptr, QString::fromUtf8(e.what())};
    }
}

} // namespace

struct AvisosCambios::Escucha {
    pg::ConnectOptions opciones;
    std::shared_ptr<pg::Connection> conexion;
    QSocketNotifier* notificador = nullptr;
    QTimer reintento;
    bool fallando = false; // a failure was logged: the next ones go quietly
};

AvisosCambios::AvisosCambios(QObject* parent) : QObject(parent) {}

AvisosCambios::~AvisosCambios() {
    detener();
}

void AvisosCambios::setEsperaReintento(int milisegundos) {
    esperaInicial_ = espera_ = milisegundos;
}

bool AvisosCambios::escuchando() const {
    return escucha_ && escucha_->conexion && escucha_->notificador;
}

void AvisosCambios::iniciar(const std::shared_ptr<db::Database>& base) {
    detener();
    base_ = base;
    if (!base)
        return;
    enServidor_ = base->onServer();
    if (!enServidor_) {
        try {
            versionDatos_ = base->scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
        } catch (const db::DbError& e) {
            EscribirLog(tr("No se puede leer la versión de los datos: %1").arg(e.what()));
        }
        return;
    }
    pg::Connection& propia = base->server()->connection();
    pidPropio_ = propia.backendPid();
    escucha_ = std::make_unique<Escucha>();
    escucha_->opciones = propia.options();
    escucha_->opciones.applicationName = QStringLiteral("Orbalia avisos");
    escucha_->opciones.connectTimeoutSeconds = 5;
    escucha_->opciones.keepaliveSeconds = 60;
    escucha_->reintento.setSingleShot(true);
    connect(&escucha_->reintento, &QTimer::timeout, this, &AvisosCambios::conectar);
    espera_ = esperaInicial_;
    conectar();
}

void AvisosCambios::detener() {
    ++generacion_;
    if (escucha_ && escucha_->notificador) {
        // It may be the one whose signal is being delivered.
        escucha_->notificador->setEnabled(false);
        escucha_->notificador->deleteLater();
    }
    escucha_.reset();
    base_.reset();
    enServidor_ = false;
    yaEscucho_ = false;
    versionDatos_ = -1;
}

void AvisosCambios::conectar() {
    if (!escucha_)
        return;
    const int generacion = generacion_;
    QtConcurrent::run(abrirEscucha, escucha_->opciones).then(this, [this, generacion](const Apertura& a) {
        if (generacion == generacion_)
            conectado(a.conexion, a.error);
    });
}

void AvisosCambios::conectado(std::shared_ptr<pg::Connection> conexion, const QString& error) {
    if (!escucha_)
        return;
    if (!conexion) {
        if (!escucha_->fallando)
            EscribirLog(tr("No se puede abrir la conexión que recibe los avisos de otros puestos "
                           "(%1); se seguirá intentando.")
                            .arg(error));
        escucha_->fallando = true;
        escucha_->reintento.start(espera_);
        espera_ = std::min(espera_ * 2, EsperaMaxima);
        return;
    }
    escucha_->conexion = std::move(conexion);
    escucha_->notificador =
        new QSocketNotifier(qintptr(escucha_->conexion->socket()), QSocketNotifier::Read, this);
    connect(escucha_->notificador, &QSocketNotifier::activated, this, &AvisosCambios::leer);
    espera_ = esperaInicial_;
    if (escucha_->fallando)
        EscribirLog(tr("Se reciben de nuevo los avisos de otros puestos."));
    escucha_->fallando = false;
    Q_EMIT escuchaCambiada(true);
    // Notices that came with the answer to LISTEN are already read.
    leer();
    // While nobody listened other seats may have changed anything.
    if (yaEscucho_)
        todasCambiadas();
    yaEscucho_ = true;
}

void AvisosCambios::leer() {
    if (!escuchando())
        return;
    QList<pg::Notification> llegados;
    try {
        llegados = escucha_->conexion->takeNotifications();
    } catch (const pg::PgError& e) {
        perdida(e.describe());
        return;
    }
    const int generacion = generacion_;
    for (const pg::Notification& n : std::as_const(llegados)) {
        // This seat's own writes: its windows told each other already.
        if (n.senderPid == pidPropio_ || n.channel != QLatin1String(schema::CanalAvisos))
            continue;
        avisar(n.payload);
        if (generacion != generacion_) // a listener stopped the service
            return;
    }
}

void AvisosCambios::perdida(const QString& causa) {
    // Inside the notifier's own signal: it goes once the signal returns.
    escucha_->notificador->setEnabled(false);
    escucha_->notificador->deleteLater();
    escucha_->notificador = nullptr;
    escucha_->conexion.reset();
    EscribirLog(tr("Se ha perdido la conexión que recibe los avisos de otros puestos (%1); se "
                   "volverá a abrir.")
                    .arg(causa));
    escucha_->fallando = true;
    Q_EMIT escuchaCambiada(false);
    escucha_->reintento.start(espera_);
    espera_ = std::min(espera_ * 2, EsperaMaxima);
}

void AvisosCambios::avisar(const QString& carga) {
    const QJsonObject o = QJsonDocument::fromJson(carga.toUtf8()).object();
    const QString tabla = o.value(QLatin1String("tabla")).toString();
    if (tabla.isEmpty()) {
        EscribirLog(tr("Aviso de otro puesto sin tabla: %1").arg(carga.left(200)));
        return;
    }
    const QJsonValue filas = o.value(QLatin1String("filas"));
    if (!filas.isArray()) {
        Q_EMIT cambio(tabla, 0, {});
        return;
    }
    for (const QJsonValue& f : filas.toArray()) {
        const QJsonArray par = f.toArray();
        Q_EMIT cambio(tabla, qint64(par.at(0).toDouble()), par.at(1).toString());
    }
}

void AvisosCambios::todasCambiadas() {
    for (const QString& t : schema::tablasConAvisos())
        Q_EMIT cambio(t, 0, {});
}

void AvisosCambios::comprobar() {
    if (enServidor_)
        return;
    const std::shared_ptr<db::Database> base = base_.lock();
    if (!base)
        return;
    try {
        const qint64 v = base->scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
        const bool cambiada = versionDatos_ >= 0 && v != versionDatos_;
        versionDatos_ = v;
        if (cambiada)
            todasCambiadas();
    } catch (const db::DbError& e) {
        EscribirLog(tr("No se puede leer la versión de los datos: %1").arg(e.what()));
    }
}

} // namespace orb
