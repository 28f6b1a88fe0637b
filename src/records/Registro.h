#pragma once

namespace orb {

class WindowRegistry;

// Plugs the record windows and the settings dialog into the main window's commands.
void RegistrarFichas(WindowRegistry& registro);

} // namespace orb
