#pragma once

#include "ColumnasWeb.h"
#include "FallosWeb.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace mysql {
class BulkRows;
class Connection;
class MysqlError;
class Statement;
using Params = QVariantList;
} // namespace mysql

namespace proc {
class ProcessRunner;
}

namespace image {
class PicturePool;
struct PictureResult;
} // namespace image

namespace orb {

struct AppContext;
class LectorFilasWeb;

// Group WEB of the settings, read when the export window opens. A missing
// setting reads as its default and is not written: a run never writes the
// agency database, so a full disk or a read-only file cannot stop it there.
struct AjustesWeb {
    QSize foto;
    QSize thumb;
    QString servidor; // host, or host:port for a database server on another port
    QString baseDatos;
    QString usuario;
    QString password;
    int puertoSubida = 0; // the web picture server's rsync daemon (WEB / PUERTORSYNC)

    static AjustesWeb leer(AppContext& ctx);
    QString hostServidor() const;     // servidor without ":port"
    unsigned puertoBaseDatos() const; // the ":port" of servidor, 3306 without one
};

struct ProgresoWeb {
    int propiedadesHechas = 0;
    int propiedadesTotal = 0;
    int fotosHechas = 0;
    int fotosTotal = 0;
};

// One run of the web export: this agency's rows on the web database replaced
// by the web-marked properties (sales, then rentals), their pictures made in
// the web folder, and the folder mirrored to the web server. A picture that
// cannot be made (broken photograph, full disk) keeps the previous one in the
// web folder, so the mirror never takes a published picture off the site;
// only the pictures of properties or slots no longer published are removed. Both passes are
// one transaction on the web server, so its visitors see the old listing or
// the new one, never part of it. Runs on the caller's thread and lets window
// events run as it goes (throttled), so a window stays alive and can cancel.
class ExportacionWeb : public QObject {
    Q_OBJECT
public:
    ExportacionWeb(AppContext& ctx, const AjustesWeb& ajustes, QObject* parent = nullptr);
    ~ExportacionWeb() override;

    std::function<void(const QString&)> alLog;
    std::function<void(const ProgresoWeb&)> alProgreso;

    // The database run and the pictures; true when it reached its end.
    bool Exportar();
    // Mirrors the web folder to the server; true when rsync ended well.
    bool Subir();
    // Exportar, then Subir only when it succeeded.
    bool ejecutar(bool subir = true);

    bool enCurso() const { return enCurso_; }
    bool cancelado() const { return cancelado_; }
    const ProgresoWeb& progreso() const { return progreso_; }

public Q_SLOTS:
    // Stops between two properties (nothing changes on the server), stops the
    // pictures not yet made and the upload.
    void cancelar();

private:
    void Log(const QString& linea);
    void dejarPintar(bool forzar = false);
    void avisarProgreso();
    void prepararCarpetaWeb();
    void pasada(mysql::Connection& web, Pasada p, LectorFilasWeb& filas, image::PicturePool& fotos);
    void enviarLote(mysql::Connection& web, mysql::Statement& insertar, const mysql::BulkRows& lote,
                    const QStringList& codigos);
    void ProcesarFoto(const QString& fichero, const QString& ident, const QString& cod, int slot,
                      image::PicturePool& fotos);
    void informarFotos(const QList<image::PictureResult>& resultados);
    void quitarFotosRetiradas();
    QString comprobarTablas(mysql::Connection& web);

    AppContext& ctx_;
    AjustesWeb ajustes_;
    ProgresoWeb progreso_;
    bool enCurso_ = false;
    bool cancelado_ = false;
    QElapsedTimer ultimoRefresco_;
    proc::ProcessRunner* runner_ = nullptr;
    image::PicturePool* fotos_ = nullptr;
    struct FotoEnviada {
        QString fichero; // as stored in FotoN
        QString cod;     // the property's code
        QString destino; // the picture's name in the web folder and in thumbs/
    };
    QList<FotoEnviada> fotosEnviadas_; // by job index
    QSet<QString> fotosPublicadas_;    // names this run keeps in the web folder
    LugarFalloWeb lugar_;              // where the web server's last error happened
};

} // namespace orb
