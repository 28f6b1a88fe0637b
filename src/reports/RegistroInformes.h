#pragma once

namespace orb {

class WindowRegistry;

// Plugs the listing reports into the main window's Listados menu.
void RegistrarInformes(WindowRegistry& registro);

} // namespace orb
