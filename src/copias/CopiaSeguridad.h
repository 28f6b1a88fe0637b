#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>

namespace orb::copias {

// Backups of an installation's agency database into its folder Copias/: the
// file through SQLite's online backup API, the server's database with
// pg_dump. The newest [Copias] Conservar of them are kept.

inline constexpr const char* CarpetaCopias = "Copias";
inline constexpr int ConservarPorOmision = 10;
inline constexpr int ConservarMaximo = 1000;

// Exit codes of orbalia-backup besides 0.
inline constexpr int SalidaFallo = 1;     // the backup or the restore failed
inline constexpr int SalidaNoEmpieza = 2; // a folder or setting that cannot be used

// Why a backup or a restore did not happen, worded for the user. Nothing was
// left under a backup's name, and a restore changed nothing.
class FalloCopia : public std::runtime_error {
public:
    explicit FalloCopia(const QString& texto, int salida = SalidaFallo)
        : std::runtime_error(texto.toStdString()), texto_(texto), salida_(salida) {}
    const QString& texto() const { return texto_; }
    int salida() const { return salida_; }

private:
    QString texto_;
    int salida_;
};

// How many backups are kept: [Copias] Conservar of the folder's Orbalia.ini,
// ConservarPorOmision when missing or empty. Throws FalloCopia (SalidaNoEmpieza)
// naming the key when it is not a number from 1 to ConservarMaximo.
int LeerConservar(const QString& carpeta);

// The names the command gives its backups and no other file has:
// Orbalia-AAAAMMDD-HHMMSS.db (the file) or .dump (the server), with -2, -3 …
// before the extension for later backups made in the same second.
struct NombreCopia {
    QDateTime cuando; // local time, to the second
    int orden = 1;
    bool servidor = false;
};
std::optional<NombreCopia> LeerNombreCopia(const QString& nombre);
QString NombreDeCopia(const NombreCopia& n);

// Deletes the backups in carpetaCopias past the newest `conservar`, newest
// by the time and order in their names; `hecha` (a file name) is always kept,
// whatever the clock said when it was made. Files of any other name are left
// alone. Returns the names deleted; those that could not be, in noBorradas.
QStringList Rotar(const QString& carpetaCopias, int conservar, const QString& hecha,
                  QStringList* noBorradas = nullptr);

// A line for the user while the work goes on (waiting for another backup).
using Aviso = std::function<void(const QString&)>;

struct Copia {
    QString archivo; // the new backup's full path
    qint64 bytes = 0;
    bool servidor = false;
    QString origen; // the file's path, or "usuario@servidor:puerto/base"
    int conservar = 0;
    QStringList borradas, noBorradas; // older backups deleted, or that could not be
};

// One backup of the agency database of the installation in carpeta (its
// [Servidor] when it has one, else Orbalia.db), written under a temporary
// name and renamed when complete, then the rotation. Throws FalloCopia.
Copia HacerCopia(const QString& carpeta, const QDateTime& ahora = QDateTime::currentDateTime(),
                 const Aviso& aviso = {});

struct Restauracion {
    QString copia;    // the backup restored
    QString destino;  // Orbalia.db's path, or the server's description
    QString anterior; // the file: a backup of the database it replaced (empty if none)
    int version = 0;  // the restored database's schema version
};

// Puts a backup back: on a server seat, into the seat's database, which must
// be empty (the server's administrator drops it and creates it again); on
// the file, into Orbalia.db while the program is closed, after a backup of
// what was there. archivo is a path, or a name in Copias/. Throws FalloCopia.
Restauracion Restaurar(const QString& carpeta, const QString& archivo, const Aviso& aviso = {});

} // namespace orb::copias
