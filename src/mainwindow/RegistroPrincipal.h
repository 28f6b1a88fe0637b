#pragma once

namespace orb {

class WindowRegistry;

// Plugs the windows the main window itself owns (the settings dialog) into
// its commands.
void RegistrarVentanasPrincipales(WindowRegistry& registro);

} // namespace orb
