#pragma once

namespace orb {

class WindowRegistry;

// Plugs the record windows and the web export into the main window's commands.
void RegistrarFichas(WindowRegistry& registro);

} // namespace orb
