#include "ExportacionPortales.h"

#include "platform/db/Database.h"
#include "platform/image/PicturePool.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/ErrorReport.h"
#include "shell/Ficheros.h"
#include "shell/Log.h"
#include "shell/Numeros.h"
#include "webexport/ExportacionWeb.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace orb {

namespace {

constexpr int RefrescoMs = 40;
constexpr int MedidaMinima = 16;
constexpr int MedidaMaxima = 8192;
const QString FormatoFecha = QStringLiteral("yyyy-MM-dd HH:mm:ss");

struct Cancelado {};

// The writer's many small pieces gathered and handed to the file a megabyte
// at a time: a buffered QFile spends more on each piece than on the bytes.
class SalidaEnBloques : public QIODevice {
public:
    explicit SalidaEnBloques(QFile& fichero) : fichero_(fichero) {
        bloque_.reserve(Bloque + Bloque / 4);
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    // What is left goes to the file; false when the file refused it.
    bool vaciar() {
        if (bloque_.isEmpty())
            return true;
        const bool ok = fichero_.write(bloque_) == bloque_.size();
        bloque_.resize(0);
        return ok;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        bloque_.append(data, len);
        if (bloque_.size() >= Bloque && !vaciar())
            return -1;
        return len;
    }

private:
    static constexpr qsizetype Bloque = 1 << 20;
    QFile& fichero_;
    QByteArray bloque_;
};

db::Value ajuste(AppContext& ctx, const char* variable) {
    return LeerConfig(ctx.db(), QStringLiteral("PORTALES"), QString::fromLatin1(variable));
}

QString nombreFeed() {
    return QStringLiteral("kyero.xml");
}

// The temporary feeds start with this; a killed run's is removed by the next one.
QString prefijoTemporal() {
    return QStringLiteral(".kyero.xml.");
}

} // namespace

AjustesPortales AjustesPortales::leer(AppContext& ctx) {
    AjustesPortales a;
    a.urlFotos = ajuste(ctx, "URLFOTOS").toString().trimmed();
    a.rechazoMaximo = int(ValorNumerico(ajuste(ctx, "RECHAZOMAXIMO")));
    a.foto =
        QSize(int(ValorNumerico(ajuste(ctx, "FOTOANCHURA"))), int(ValorNumerico(ajuste(ctx, "FOTOALTURA"))));
    return a;
}

QString CarpetaPortales(const AppContext& ctx) {
    return ctx.RutaWeb + QStringLiteral("portales/");
}

QString FicheroFeed(const AppContext& ctx) {
    return CarpetaPortales(ctx) + nombreFeed();
}

ExportacionPortales::ExportacionPortales(AppContext& ctx, const AjustesPortales& ajustes, QObject* parent)
    : QObject(parent), ctx_(ctx), ajustes_(ajustes) {}

ExportacionPortales::~ExportacionPortales() = default;

void ExportacionPortales::cancelar() {
    cancelado_ = true;
    if (fotos_)
        fotos_->cancel();
    if (subida_)
        subida_->cancelar();
}

void ExportacionPortales::Log(const QString& linea) {
    if (alLog)
        alLog(linea);
    dejarPintar();
}

void ExportacionPortales::dejarPintar() {
    if (!ultimoRefresco_.isValid() || ultimoRefresco_.elapsed() >= RefrescoMs) {
        QCoreApplication::processEvents();
        ultimoRefresco_.start();
    }
}

void ExportacionPortales::avisarProgreso(bool ahora) {
    // A window shows what a person can read: not 10,000 updates in a second.
    if (alProgreso && (ahora || !ultimoProgreso_.isValid() || ultimoProgreso_.elapsed() >= RefrescoMs)) {
        alProgreso(progreso_);
        ultimoProgreso_.start();
    }
    dejarPintar();
}

bool ExportacionPortales::comprobarAjustes() {
    const QString donde = tr("Herramientas > Configuración > Exportación Web > Portales");
    if (ajustes_.foto.width() < MedidaMinima || ajustes_.foto.height() < MedidaMinima ||
        ajustes_.foto.width() > MedidaMaxima || ajustes_.foto.height() > MedidaMaxima) {
        Log(tr("El tamaño de las fotos para portales no es válido: corríjalo en %1 (Anchura y Altura "
               "foto portales). No se ha publicado nada.")
                .arg(donde));
        return false;
    }
    if (ajustes_.rechazoMaximo < 0 || ajustes_.rechazoMaximo > 100) {
        Log(tr("El máximo de propiedades rechazadas no es un porcentaje entre 0 y 100: corríjalo en "
               "%1. No se ha publicado nada.")
                .arg(donde));
        return false;
    }
    if (!ajustes_.urlFotos.isEmpty()) {
        const QUrl url(ajustes_.urlFotos, QUrl::StrictMode);
        if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty()) {
            Log(tr("Dirección de las fotos en la web: «%1» no es una dirección http:// o https:// "
                   "completa; corríjala en %2. No se ha publicado nada.")
                    .arg(ajustes_.urlFotos, donde));
            return false;
        }
    } else {
        Log(tr("Falta la Dirección de las fotos en la web (%1): las propiedades se publican sin "
               "fotos.")
                .arg(donde));
    }
    return true;
}

void ExportacionPortales::pedirFotos(FilaPortal& f, image::PicturePool& fotos) {
    // The later of the row's time and its photographs' file times. The form
    // "YYYY-MM-DD HH:MM:SS" orders as text, so nothing is parsed for the many
    // properties without a photograph.
    QString ultima = f.datos.fecha;
    bool fechaVista = false;
    QString base = ajustes_.urlFotos;
    if (!base.endsWith(u'/'))
        base += u'/';
    for (int n = 1; n <= f.fotos.size(); ++n) {
        const QString& fichero = f.fotos[n - 1];
        if (fichero.isEmpty() || f.datos.id.isEmpty())
            continue;
        const QFileInfo origen(ctx_.RutaFotos + fichero);
        if (!origen.isFile())
            continue;
        if (!fechaVista) {
            fechaVista = true;
            if (!QDateTime::fromString(ultima, FormatoFecha).isValid())
                ultima.clear();
        }
        // A photograph replaced outside the program changes the date too.
        const QString cambio = origen.lastModified().toUTC().toString(FormatoFecha);
        if (cambio > ultima)
            ultima = cambio;
        if (ajustes_.urlFotos.isEmpty())
            continue;
        const QString nombre = f.datos.id + u'-' + QString::number(n) + QStringLiteral(".jpg");
        const QString destino = CarpetaPortales(ctx_) + nombre;
        fotosPublicadas_ << nombre;
        const QFileInfo hecha(destino);
        FotoPedida pedida{-1, base + QStringLiteral("portales/") + nombre, fichero, destino};
        // Made by an earlier run from this same photograph: kept.
        if (hecha.isFile() && hecha.lastModified() >= origen.lastModified()) {
            f.datos.imagenes << pedida.url;
            continue;
        }
        pedida.fila = fotos.submit({origen.filePath(), destino, {}});
        f.datos.imagenes << pedida.url;
        fotosPedidas_ << pedida;
        progreso_.fotosTotal = fotos.submitted();
    }
    if (!ultima.isEmpty())
        f.datos.fecha = ultima;
}

bool ExportacionPortales::escribirFeed(const QList<const PropiedadPortal*>& publicadas) {
    const QString carpeta = CarpetaPortales(ctx_);
    const QString temporal = carpeta + prefijoTemporal() +
                             QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".tmp");
    const QString generado = QDateTime::currentDateTimeUtc().toString(FormatoFecha);
    QFile fichero(temporal);
    const auto fallo = [&](const QString& causa) {
        fichero.close();
        QFile::remove(temporal);
        Log(tr("No se ha podido escribir el fichero para portales %1: %2. Se mantiene el fichero "
               "anterior.")
                .arg(QDir::toNativeSeparators(FicheroFeed(ctx_)), causa));
        return false;
    };
    if (!fichero.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fallo(fichero.errorString());
    {
        SalidaEnBloques salida(fichero);
        EscritorKyero escritor(&salida, generado);
        for (const PropiedadPortal* p : publicadas) {
            dejarPintar();
            if (cancelado_) {
                fichero.close();
                QFile::remove(temporal);
                throw Cancelado{};
            }
            escritor.escribir(*p);
        }
        if (!escritor.terminar() || !salida.vaciar())
            return fallo(fichero.error() == QFileDevice::NoError ? tr("error de escritura")
                                                                 : fichero.errorString());
    }
    // On the disk before it replaces the previous feed.
    if (::fsync(fichero.handle()) != 0)
        return fallo(tr("no se ha podido guardar en el disco"));
    fichero.close();

    // Read back: a feed that does not parse, or holds fewer properties than
    // were written, would delete listings on every portal.
    if (!fichero.open(QIODevice::ReadOnly))
        return fallo(fichero.errorString());
    const LecturaKyero leida = ComprobarKyero(&fichero);
    fichero.close();
    if (!leida.error.isEmpty())
        return fallo(tr("al leerlo de nuevo, %1").arg(leida.error));
    if (leida.propiedades != publicadas.size())
        return fallo(tr("al leerlo de nuevo tiene %1 propiedades en lugar de %2")
                         .arg(QString::number(leida.propiedades), QString::number(publicadas.size())));
    if (cancelado_) {
        QFile::remove(temporal);
        throw Cancelado{};
    }
    // rename() replaces the old feed in one step: a reader sees one or the other.
    if (std::rename(QFile::encodeName(temporal).constData(),
                    QFile::encodeName(FicheroFeed(ctx_)).constData()) != 0)
        return fallo(QString::fromLocal8Bit(std::strerror(errno)));
    return true;
}

void ExportacionPortales::quitarFotosRetiradas() {
    const QString carpeta = CarpetaPortales(ctx_);
    const QSet<QString> publicadas(fotosPublicadas_.begin(), fotosPublicadas_.end());
    for (const QString& nombre : QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (nombre != nombreFeed() && !publicadas.contains(nombre))
            QFile::remove(carpeta + nombre);
}

bool ExportacionPortales::Exportar() {
    if (enCurso_)
        return false;
    enCurso_ = true;
    cancelado_ = false;
    progreso_ = {};
    fotosPedidas_.clear();
    fotosPublicadas_.clear();
    ultimoRefresco_.invalidate();
    ultimoProgreso_.invalidate();
    struct Fin {
        ExportacionPortales* e;
        ~Fin() {
            e->enCurso_ = false;
            e->fotos_ = nullptr;
        }
    } fin{this};

    Log(tr("Iniciando exportación a portales ..."));
    if (!comprobarAjustes())
        return false;
    if (!CarpetaDentroDe(ctx_.RutaWeb, ctx_.RutaAplicacion)) {
        Log(tr("La carpeta %1 no está dentro de la instalación; no se ha publicado nada.")
                .arg(QDir::toNativeSeparators(ctx_.RutaWeb)));
        return false;
    }
    const QString carpeta = CarpetaPortales(ctx_);
    if (!QDir().mkpath(carpeta)) {
        Log(tr("No se puede crear la carpeta %1; no se ha publicado nada.")
                .arg(QDir::toNativeSeparators(carpeta)));
        return false;
    }
    // What a killed run left.
    for (const QString& resto :
         QDir(carpeta).entryList({prefijoTemporal() + u'*'}, QDir::Files | QDir::Hidden))
        QFile::remove(carpeta + resto);

    try {
        QList<FilaPortal> filas =
            LeerFilasPortales(ctx_.db(), ctx_.facts.CodigoOficina, ctx_.facts.CodigoAgenciaWeb);
        progreso_.propiedadesTotal = int(filas.size());
        avisarProgreso(true);
        if (filas.isEmpty()) {
            // An empty feed would delete the agency's every listing on the portals.
            Log(tr("No hay ninguna propiedad marcada para el web y los portales; se mantiene el "
                   "fichero anterior."));
            return false;
        }

        image::PicturePool fotos({ajustes_.foto, ajustes_.foto});
        fotos_ = &fotos;
        connect(&fotos, &image::PicturePool::progress, this, [this](int hechas, int total) {
            progreso_.fotosHechas = hechas;
            progreso_.fotosTotal = total;
            avisarProgreso(hechas == total);
        });

        QList<bool> valida(filas.size(), false);
        for (qsizetype i = 0; i < filas.size(); ++i) {
            if (cancelado_)
                throw Cancelado{};
            FilaPortal& f = filas[i];
            const QString problema = ProblemaPortal(f.datos);
            if (!problema.isEmpty()) {
                ++progreso_.rechazadas;
                Log(tr("- La propiedad %1 no se publica: %2")
                        .arg(f.datos.cod.isEmpty() ? tr("sin código") : f.datos.cod, problema));
            } else {
                valida[i] = true;
                ++progreso_.publicadas;
                pedirFotos(f, fotos);
            }
            ++progreso_.propiedadesHechas;
            avisarProgreso(progreso_.propiedadesHechas == progreso_.propiedadesTotal);
        }

        const int total = progreso_.propiedadesTotal;
        if (qint64(progreso_.rechazadas) * 100 > qint64(ajustes_.rechazoMaximo) * total) {
            Log(tr("Se rechazan %1 de %2 propiedades, más del %3 %: no se ha publicado nada y los "
                   "portales siguen leyendo el fichero anterior.")
                    .arg(QString::number(progreso_.rechazadas), QString::number(total),
                         QString::number(ajustes_.rechazoMaximo)));
            progreso_.publicadas = 0;
            avisarProgreso(true);
            return false;
        }
        if (progreso_.publicadas == 0) {
            Log(tr("Ninguna propiedad se puede publicar; se mantiene el fichero anterior."));
            return false;
        }

        const QList<image::PictureResult> resultados = fotos.waitForAll();
        if (cancelado_)
            throw Cancelado{};
        // A picture that could not be made and was never made before is not announced.
        QSet<QString> sinFoto;
        for (qsizetype j = 0; j < fotosPedidas_.size(); ++j) {
            const FotoPedida& p = fotosPedidas_[j];
            const image::PictureResult& r = resultados.value(p.fila);
            if (r.ok)
                continue;
            EscribirLog(tr("Portales, foto %1: %2 (%3)").arg(p.fichero, r.error, r.detail));
            const bool anterior = QFileInfo::exists(p.destino);
            Log(tr("- No se ha podido preparar la foto %1 para portales: %2. %3")
                    .arg(p.fichero, image::faultText(r.fault),
                         anterior ? tr("Se mantiene la anterior.")
                                  : tr("La propiedad se publica sin ella.")));
            if (!anterior)
                sinFoto.insert(p.url);
        }
        QList<const PropiedadPortal*> publicadas;
        publicadas.reserve(progreso_.publicadas);
        for (qsizetype i = 0; i < filas.size(); ++i)
            if (valida[i]) {
                if (!sinFoto.isEmpty())
                    filas[i].datos.imagenes.removeIf([&](const QString& u) { return sinFoto.contains(u); });
                publicadas << &filas[i].datos;
            }
        if (!escribirFeed(publicadas))
            return false;
        quitarFotosRetiradas();
        Log(tr("Exportación a portales finalizada: %1 publicadas, %2 rechazadas.")
                .arg(QString::number(progreso_.publicadas), QString::number(progreso_.rechazadas)));
        return true;
    } catch (const Cancelado&) {
        Log(tr("Exportación a portales cancelada: los portales siguen leyendo el fichero anterior."));
    } catch (const db::DbError& e) {
        RegistrarError(tr("leer las propiedades para portales"), e);
        Log(tr("No se han podido leer las propiedades: %1 Se mantiene el fichero anterior.")
                .arg(CausaError(e, {}, ctx_.RutaBaseDatos)));
    }
    progreso_.publicadas = 0;
    avisarProgreso(true);
    return false;
}

bool ExportacionPortales::Subir() {
    if (enCurso_)
        return false;
    const AjustesWeb web = AjustesWeb::leer(ctx_);
    // No web server, no upload: the feed stays in the web folder for whoever copies it.
    if (web.hostServidor().trimmed().isEmpty()) {
        Log(tr("No hay servidor web en Herramientas > Configuración > Exportación Web: el fichero "
               "para portales queda en %1 sin subir.")
                .arg(QDir::toNativeSeparators(FicheroFeed(ctx_))));
        return true;
    }
    enCurso_ = true;
    cancelado_ = false;
    ExportacionWeb subida(ctx_, web);
    subida.alLog = [this](const QString& l) { Log(l); };
    subida_ = &subida;
    const bool ok = subida.Subir();
    subida_ = nullptr;
    enCurso_ = false;
    return ok;
}

bool ExportacionPortales::ejecutar(bool subir) {
    if (!Exportar())
        return false;
    return !subir || Subir();
}

} // namespace orb
