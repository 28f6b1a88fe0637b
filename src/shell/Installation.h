#pragma once

#include "AppContext.h"

#include <QString>

namespace orb {

// Orbalia.ini of an installation folder, section [Instalacion], one key per fact.
inline constexpr const char* IniFileName = "Orbalia.ini";

// Reads the facts; a missing file or key keeps the fact's default.
InstallationFacts LeerDatosInstalacion(const QString& folder);
// Writes every fact (used by the installer, never by the program); false when
// the file could not be written.
bool GuardarDatosInstalacion(const QString& folder, const InstallationFacts& facts);

// The installation folder: $ORBALIA_HOME when set, otherwise the folder of the executable.
QString CarpetaInstalacion();

} // namespace orb
