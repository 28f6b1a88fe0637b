#pragma once

namespace orb {

class WindowRegistry;

// Plugs the property, owner and client searches into the Herramientas commands.
void RegistrarBusquedas(WindowRegistry& registro);

} // namespace orb
