#pragma once

#include "FilasPortales.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSize>
#include <QString>
#include <functional>

namespace image {
class PicturePool;
}

namespace orb {

struct AppContext;
class ExportacionWeb;

// Group PORTALES of the settings, read without writing.
struct AjustesPortales {
    QString urlFotos;       // where the portals fetch Web/ from; empty: no images
    int rechazoMaximo = 20; // % of refused properties above which nothing is published
    QSize foto;             // the portal pictures, never enlarged

    static AjustesPortales leer(AppContext& ctx);
};

struct ProgresoPortales {
    int propiedadesHechas = 0;
    int propiedadesTotal = 0;
    int publicadas = 0;
    int rechazadas = 0;
    int fotosHechas = 0;
    int fotosTotal = 0;
};

// The feed's place inside the web folder, and the portal pictures beside it.
QString CarpetaPortales(const AppContext& ctx); // Web/portales/
QString FicheroFeed(const AppContext& ctx);     // Web/portales/kyero.xml

// One run of the portal feed: the properties checked one by one (a refused
// one is a log line naming it and the field), their portal pictures made,
// the feed written under a temporary name, read back and only then renamed
// over the previous one. Too many refused, a cancel or any failure leaves the
// previous feed as it was. Runs on the caller's thread and lets window events
// run as it goes.
class ExportacionPortales : public QObject {
    Q_OBJECT
public:
    ExportacionPortales(AppContext& ctx, const AjustesPortales& ajustes, QObject* parent = nullptr);
    ~ExportacionPortales() override;

    std::function<void(const QString&)> alLog;
    std::function<void(const ProgresoPortales&)> alProgreso;

    // The feed and its pictures; true when the new feed is in place.
    bool Exportar();
    // The web folder, feed included, mirrored by the web export's upload.
    bool Subir();
    bool ejecutar(bool subir = true);

    bool enCurso() const { return enCurso_; }
    const ProgresoPortales& progreso() const { return progreso_; }

public Q_SLOTS:
    void cancelar();

private:
    void Log(const QString& linea);
    void dejarPintar();
    // Reported at most every refresh interval, or now (the last of a phase).
    void avisarProgreso(bool ahora = false);
    bool comprobarAjustes();
    void pedirFotos(FilaPortal& f, image::PicturePool& fotos);
    bool escribirFeed(const QList<const PropiedadPortal*>& publicadas);
    void quitarFotosRetiradas();

    AppContext& ctx_;
    AjustesPortales ajustes_;
    ProgresoPortales progreso_;
    bool enCurso_ = false;
    bool cancelado_ = false;
    QElapsedTimer ultimoRefresco_;
    QElapsedTimer ultimoProgreso_;
    image::PicturePool* fotos_ = nullptr;
    ExportacionWeb* subida_ = nullptr;
    struct FotoPedida {
        qsizetype fila;
        QString url;
        QString fichero; // as stored in FotoN
        QString destino; // the picture's path
    };
    QList<FotoPedida> fotosPedidas_; // by job index, or -1 job for a picture already made
    QStringList fotosPublicadas_;    // names this run keeps in Web/portales/
};

} // namespace orb
