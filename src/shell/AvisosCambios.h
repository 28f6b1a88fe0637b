#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace db {
class Database;
}
namespace pg {
class Connection;
}

namespace orb {

// Another seat's changes to the agency database, as they reach this seat.
// On a server: the triggers' notices (SchemaAvisos.h) on a connection of its
// own that only listens, its socket watched by the event loop, so a notice is
// read as soon as it arrives and nothing polls; notices sent by this seat's
// own connection are left out (its windows already know). A lost listening
// connection is written to the log and opened again in the background,
// waiting longer after each failure; once back, every table counts as changed,
// since notices may have been missed. On the file (two copies of the program
// on one PC): PRAGMA data_version of the seat's connection, read when a window
// is activated; a change counts as every table having changed.
class AvisosCambios : public QObject {
    Q_OBJECT
public:
    explicit AvisosCambios(QObject* parent = nullptr);
    ~AvisosCambios() override;

    // Starts for the seat's database (its connection is only borrowed): on a
    // server it starts listening, on the file it reads the first data_version.
    void iniciar(const std::shared_ptr<db::Database>& base);
    void detener();
    // On the file: tells what another connection committed since the last
    // check. On a server nothing: its notices come by themselves.
    void comprobar();

    // True while the listening connection is open and listening.
    bool escuchando() const;
    // The wait before listening again after the connection was lost or could
    // not open; it doubles after each failure, up to a minute.
    void setEsperaReintento(int milisegundos);

Q_SIGNALS:
    // A row of tabla changed at another seat (stored, added or deleted):
    // tabla as the server or the schema spells it (compare without case),
    // the row's rowid and Cod. rowid 0 and codigo empty: rows of that table
    // changed, which ones is not known.
    void cambio(const QString& tabla, qint64 rowid, const QString& codigo);
    // The listening connection opened (true) or was lost (false).
    void escuchaCambiada(bool escuchando);

private:
    void conectar();
    void conectado(std::shared_ptr<pg::Connection> conexion, const QString& error);
    void leer();
    void perdida(const QString& causa);
    void avisar(const QString& carga);
    void todasCambiadas();

    std::weak_ptr<db::Database> base_;
    bool enServidor_ = false;
    int pidPropio_ = 0;
    qint64 versionDatos_ = -1;
    struct Escucha;
    std::unique_ptr<Escucha> escucha_;
    int esperaInicial_ = 1000;
    int espera_ = 1000;
    bool yaEscucho_ = false; // listened before: notices may have been missed meanwhile
    int generacion_ = 0;     // a connect started before detener() is dropped when it ends
};

} // namespace orb
