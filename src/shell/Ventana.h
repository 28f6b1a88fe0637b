#pragma once

namespace orb {

// Kinds of window the main window's commands open. Record and search windows
// exist once per side; the others once per program.
enum class Ventana {
    Propiedades,
    Clientes,
    Propietarios,
    BusPropiedades,
    BusClientes,
    BusPropietarios,
    Tipos,
    Localidades,
    Areas,
    Configuracion,
    ExportacionWeb,
    ExportacionOficina,
    ImportacionOficina,
    ExportacionPortales,
    Agentes,
};
inline constexpr int NumVentanas = 15;

} // namespace orb
