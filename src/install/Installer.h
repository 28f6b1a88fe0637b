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
};

// The facts of the demo agency: "Inmobiliaria Costa del Sol", principal
// office "01", web code "CSOL", network "12", one dossier model.
InstallationFacts demoFacts();

// Name of the sample exchange script the installer writes ("rsync_" + user + ".sh").
inline constexpr const char* SampleExchangeUser = "ejemplo";

// Lays out a complete installation folder: Orbalia.ini, Orbalia.db at the
// current schema version, ExportSchema.db, logos, empty Fotos/, Web/thumbs/,
// Exchange/, a sample rsync script. Throws std::runtime_error with a Spanish
// message on failure. Existing files are replaced.
void createInstallation(const QString& dir, const InstallOptions& options);

} // namespace orb::install
