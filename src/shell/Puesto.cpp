#include "Puesto.h"

namespace orb {

std::unique_ptr<QSettings> AjustesPuesto() {
    // An INI file in the user's configuration folder; tests point it elsewhere
    // with QSettings::setPath.
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orbalia"),
                                       QStringLiteral("Puesto"));
}

} // namespace orb
