#pragma once

#include "shell/AppContext.h"

#include <QString>

namespace orb::install {

struct InstallOptions {
    InstallationFacts facts;    // written to Orbalia.ini [Instalacion]
    int demoProperties = 0;     // > 0: demo catalogues, owners, clients, properties with photographs
    bool demoPhotos = true;     // false: demo properties without photographs (large benchmark sets)
    bool createDatabase = true; // false: leave Orbalia.db out (tests of a missing database)
    quint32 seed = 20261206;    // demo data are the same for the same seed
    // Pictures for Logo800.jpg and DossierLogo.jpg (any format Qt reads, stored
    // as JPEG); empty paints the plain default with the agency's name.
    QString backgroundLogo;
    QString dossierLogo;
    // Office exchange account: the script rsync_<user>.sh and, in Orbalia.db,
    // the settings SINC/FTPUSUARIO and FTPSERVIDOR. Without a password the
    // script refuses to run until rsync_<user>.secret is written. Empty: no
    // account (the settings dialog gives it later).
    QString exchangeUser = QString::fromLatin1("ejemplo");
    QString exchangeServer;
    int exchangePort = 873; // ORBALIA_RSYNC_PORT overrides it when the script runs
    QString exchangePassword;
};

// The facts of the demo agency: "Inmobiliaria Costa del Sol", principal
// office "01", web code "CSOL", network "01,02", one dossier model.
InstallationFacts demoFacts();

// Exchange user of the demo installation.
inline constexpr const char* SampleExchangeUser = "ejemplo";

// The exchange script for user: rsync with the source and destination it is
// given, to the daemon's port, the password read from rsync_<user>.secret
// beside it (never on a command line).
QString exchangeScript(const QString& user, int port);

// Lays out a complete installation folder: Orbalia.ini, Orbalia.db at the
// current schema version, ExportSchema.db, logos, empty Fotos/, Web/thumbs/,
// Exchange/, the exchange script rsync_<user>.sh (and its password file). Throws std::runtime_error with a
// message for the user on failure, before anything is written when an office code
// (CodigoOficina, RedAgencias) is one the program refuses. Existing files are replaced.
void createInstallation(const QString& dir, const InstallOptions& options);
// The same for a folder that does not exist yet (or is empty), laid out beside
// it under a hidden name and renamed when complete: a failure leaves no half
// installation. Refuses a folder that holds anything.
void createNewInstallation(const QString& dir, const InstallOptions& options);

} // namespace orb::install
