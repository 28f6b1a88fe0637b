#pragma once

// What the backup and the restore share: the installation checked, one run at
// a time in its Copias/, partial files, the file's online copy and the seat's
// server connection.

#include "CopiaSeguridad.h"
#include "platform/pg/Connection.h"
#include "shell/AppContext.h"
#include "shell/ConexionServidor.h"

#include <QLockFile>
#include <QTemporaryFile>
#include <memory>

namespace orb::copias::detail {

// The installation folder, absolute and ending in "/"; throws FalloCopia
// (SalidaNoEmpieza) when it is missing, holds no installation or its
// [Servidor] cannot be used.
QString CarpetaInstalacionValida(const QString& carpeta);

// Holds Copias/.copias.lock for the run: a second backup or restore of the
// same installation waits for this one. Created, the folder holds no partial
// file of a run that died.
class Turno {
public:
    Turno(const QString& carpetaCopias, const Aviso& aviso);
    const QString& carpeta() const { return carpeta_; }

private:
    QString carpeta_;
    std::unique_ptr<QLockFile> cerrojo_;
};

// An empty file under a hidden name in Copias/, removed unless published.
class Parcial {
public:
    explicit Parcial(const QString& carpetaCopias);
    QString ruta() const { return archivo_.fileName(); }
    // Renames it to the first free backup name for `cuando`; the new path.
    QString publicar(const QDateTime& cuando, bool servidor);

private:
    QTemporaryFile archivo_;
};

// The file's online backup into the partial file: the committed state, WAL
// included, while other seats keep working. The copy is self-contained (no
// -wal beside it). Throws FalloCopia naming the database.
void CopiarArchivo(const QString& baseDatos, const Parcial& destino);
// The file's backup into Copias/, unrotated: its full path.
QString CopiaDelArchivo(const QString& baseDatos, const Turno& turno, const QDateTime& ahora);

// The seat's server signed in as the program does (its plain words for a
// wrong password, an unreachable server, a missing database), or FalloCopia.
struct Servidor {
    AppContext ctx;
    ConexionServidor conexion;
    pg::ConnectOptions opciones() const;
    pg::Connection& pg();
};
std::unique_ptr<Servidor> ConectarServidor(const QString& carpeta);

// The user's text for a client program that failed: what it wrote, below
// the line that says what was being done.
QString FalloCliente(const QString& programa, const QString& que, int codigo, const QString& errores);

} // namespace orb::copias::detail
