#pragma once

#include "AppContext.h"

#include <QString>
#include <QStringList>

namespace orb {

// Orbalia.ini of an installation folder, section [Instalacion], one key per fact.
inline constexpr const char* IniFileName = "Orbalia.ini";
// The program's second-copy lock in the installation folder; a restore of the
// file takes it too, so the program cannot start meanwhile.
inline constexpr const char* FicheroBloqueo = "Orbalia.lock";

// Reads the facts; a missing file or key keeps the fact's default.
InstallationFacts LeerDatosInstalacion(const QString& folder);
// Why the program cannot start with the facts of folder: a missing or
// unreadable Orbalia.ini, or an unusable CodigoOficina or RedAgencias. The text
// names the file and the key to fix; empty when the facts can be used.
QString ProblemaInstalacion(const QString& folder, const InstallationFacts& facts);
// Why codigo cannot be an office code: empty, wider than the Agencia field, or
// holding anything but letters and digits (an office code names a folder of
// Exchange/ and a path on the exchange server); empty when it can.
QString ProblemaCodigoOficina(const QString& codigo);

// The office codes of RedAgencias, the principal's first. A list with commas,
// semicolons or blanks is split there ("01,02"); without them every character
// is one code, unless this office's own code is longer than one character:
// then the whole text is one code ("02").
QStringList CodigosRed(const QString& redAgencias, const QString& codigoOficina);
// Why RedAgencias cannot be used: a code of it that ProblemaCodigoOficina
// refuses. The text names the code and the key; empty when the list can be
// used (an empty list too: this office exchanges with no other).
QString ProblemaRedAgencias(const QString& redAgencias, const QString& codigoOficina);

// The first fact a person typed that cannot be installed, for the assistant and
// the settings page: clave is its key in Orbalia.ini (NombreAgencia,
// CodigoOficina, RedAgencias), texto why; both empty when the facts can be used.
// The same rules as start-up, plus a name for the agency (the window's title).
struct ProblemaDato {
    QString clave;
    QString texto;
};
ProblemaDato ComprobarDatosInstalacion(const InstallationFacts& facts);

// Writes every fact (the installer, and the settings page whose changes the
// program reads at its next start); false when the file could not be written.
bool GuardarDatosInstalacion(const QString& folder, const InstallationFacts& facts);

// The installation folder: $ORBALIA_HOME when set; otherwise the folder of the
// executable when it holds an installation (Orbalia.ini); otherwise this seat's
// own folder, CarpetaDelPuesto(). Ends in "/".
QString CarpetaInstalacion();
// This seat's own installation folder: "Orbalia" in the user's data folder
// ($XDG_DATA_HOME, by default ~/.local/share). Ends in "/".
QString CarpetaDelPuesto();
// True when folder holds neither Orbalia.ini nor Orbalia.db: nothing there to
// keep, so a new installation may be laid out in it.
bool CarpetaSinInstalacion(const QString& folder);

} // namespace orb
