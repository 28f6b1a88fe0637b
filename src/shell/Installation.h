#pragma once

#include "AppContext.h"

#include <QString>

namespace orb {

// Orbalia.ini of an installation folder, section [Instalacion], one key per fact.
inline constexpr const char* IniFileName = "Orbalia.ini";

// Reads the facts; a missing file or key keeps the fact's default.
InstallationFacts LeerDatosInstalacion(const QString& folder);
// Why the program cannot start with the facts of folder: a missing or
// unreadable Orbalia.ini, or an unusable CodigoOficina. The text names the file
// and the key to fix; empty when the facts can be used.
QString ProblemaInstalacion(const QString& folder, const InstallationFacts& facts);
// Why codigo cannot be an office code (empty, or wider than the Agencia field); empty when it can.
QString ProblemaCodigoOficina(const QString& codigo);

// Writes every fact (used by the installer, never by the program); false when
// the file could not be written.
bool GuardarDatosInstalacion(const QString& folder, const InstallationFacts& facts);

// The installation folder: $ORBALIA_HOME when set, otherwise the folder of the executable.
QString CarpetaInstalacion();

} // namespace orb
